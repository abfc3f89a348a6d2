#include "core/reader_text.h"

#include <gtest/gtest.h>

namespace quill::core {
namespace {

TEST(ReaderText, TagsGoReferencesAreReadAndOnlyInlineTagsKeepAWordWhole) {
  EXPECT_EQ(ReaderText("<b>wo</b>rd and <A HREF=\"x\">li</A>nk"), "word and link");
  EXPECT_EQ(ReaderText("<p>one</p><p>two</p>"), " one  two ");
  EXPECT_EQ(ReaderText("one<br />two<img src=\"a.png\">three"), "one two three");
  EXPECT_EQ(ReaderText("cr&egrave;me, &#233;t&#xE9; &amp; &#128;5"),
            "cr\u00e8me, \u00e9t\u00e9 & \u20ac5");
  // What a browser shows as it stands: an unknown name, a number naming nothing, a '&'
  // that starts no reference, and a '<' with no '>' after it.
  EXPECT_EQ(ReaderText("&bogus; &#0; &#xD800; AT&T a < b"), "&bogus; &#0; &#xD800; AT&T a < b");
  EXPECT_EQ(ReaderText("a <b>x</b> < c"), "a x < c");
  // Line breaks, tabs and bytes that are not UTF-8 are spaces.
  EXPECT_EQ(ReaderText("one\r\ntwo\tthree\xff\xc3"), "one  two three  ");
}

TEST(ReaderText, InlineTagsAreTheElementsOfRunningText) {
  for (const char* tag : {"b", "/b", "I", "strong", "a href=\"x\"", "span class=x", "/font"}) {
    EXPECT_TRUE(IsInlineTag(tag)) << tag;
  }
  for (const char* tag : {"", "/", "br", "br/", "p", "h1", "blockquote", "bx", "li", "!--"}) {
    EXPECT_FALSE(IsInlineTag(tag)) << tag;
  }
}

}  // namespace
}  // namespace quill::core

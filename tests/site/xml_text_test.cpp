#include "site/xml_text.h"

#include <gtest/gtest.h>

namespace quill::site {
namespace {

TEST(ReferenceLength, OnlyWellFormedReferencesCount) {
  EXPECT_EQ(ReferenceLength("&amp; x", 0), 5u);
  EXPECT_EQ(ReferenceLength("a&#233;", 1), 6u);
  EXPECT_EQ(ReferenceLength("&#xE9;", 0), 6u);
  EXPECT_EQ(ReferenceLength("&bogus;", 0), 7u);
  for (const char* broken : {"&", "& b;", "&amp", "&#;", "&#x;", "&#12a;", "&1a;", "&a b;"}) {
    EXPECT_EQ(ReferenceLength(broken, 0), 0u) << broken;
  }
}

TEST(XmlText, ReferencesAreKeptMadeNumericOrEscaped) {
  EXPECT_EQ(XmlText("&amp; &lt; &gt; &quot; &apos;"), "&amp; &lt; &gt; &quot; &apos;");
  EXPECT_EQ(XmlText("&nbsp;&eacute;&Eacute;&euro;&thetasym;"), "&#160;&#233;&#201;&#8364;&#977;");
  EXPECT_EQ(XmlText("&#65;&#x41;&#128;&#x9F;"), "&#65;&#65;&#8364;&#376;");
  // What names nothing XML holds, or nothing at all, shows as typed.
  EXPECT_EQ(XmlText("&bogus; &EACUTE; &#0; &#7; &#xD800; &#129; &#99999999999;"),
            "&amp;bogus; &amp;EACUTE; &amp;#0; &amp;#7; &amp;#xD800; &amp;#129; "
            "&amp;#99999999999;");
  EXPECT_EQ(XmlText("a & b &amp c &# &"), "a &amp; b &amp;amp c &amp;# &amp;");
  EXPECT_EQ(XmlText("<i>x</i> ]]>"), "&lt;i&gt;x&lt;/i&gt; ]]&gt;");
}

TEST(XmlText, PlainAsciiOnOneLineWithoutControls) {
  EXPECT_EQ(XmlText("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"), "caf&#233; &#8364; &#128512;");
  EXPECT_EQ(XmlText("caf\xE9 \x80 \x81"), "caf&#233; &#8364; ");  // single-byte text already
  EXPECT_EQ(
      XmlText(std::string("a\tb\r\nc\nd\re") + '\0' + "\x07\x0B\x0C\x1B\x7F\xC2\x85\xEF\xBF\xBF"),
      "a\tb c d e");
}

TEST(AttributeText, QuotesAreEscapedAndLineBreaksFolded) {
  EXPECT_EQ(AttributeText("Ann's \"Log\"\r\n<i>x</i> &amp;"),
            "Ann's &quot;Log&quot; <i>x</i> &amp;");
}

}  // namespace
}  // namespace quill::site

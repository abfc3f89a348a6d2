#include "ui/editor/markup.h"

#include <gtest/gtest.h>

namespace quill::ui {
namespace {

TEST(MarkupTest, Links) {
  struct Case {
    const char* protocol;
    const char* address;
    const char* display;
    bool new_window;
    const char* markup;
  };
  const Case cases[] = {
      {"http://", "example.com", "", false,
       "<a href=\"http://example.com\">http://example.com</a>"},
      {"http://", "example.com", "Home", true,
       "<a href=\"http://example.com\" target=\"_blank\">Home</a>"},
      {"ftp://", "files.example.com", "here", false,
       "<a href=\"ftp://files.example.com\">here</a>"},
      // Mail shows the bare address and never opens a window.
      {"mailto:", "ann@example.com", "", true,
       "<a href=\"mailto:ann@example.com\">ann@example.com</a>"},
      {"mailto:", "ann@example.com", "Ann", false, "<a href=\"mailto:ann@example.com\">Ann</a>"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LinkMarkup(c.protocol, c.address, c.display, c.new_window), c.markup) << c.address;
  }
}

TEST(MarkupTest, FontAndAlignmentTags) {
  struct Case {
    Wrapping wrapping;
    const char* open;
    const char* close;
  };
  const Case cases[] = {
      {FontWrapping("", "", "", false), "", ""},
      {FontWrapping("Verdana", "", "", false), "<font face=\"Verdana\">", "</font>"},
      {FontWrapping("", "3", "#FF0000", false), "<font size=\"3\" color=\"#FF0000\">", "</font>"},
      {FontWrapping("Georgia, Times", "7", "#00FF00", false),
       "<font face=\"Georgia, Times\" size=\"7\" color=\"#00FF00\">", "</font>"},
      {AlignmentWrapping("left", false), "", ""},
      {AlignmentWrapping("center", false), "<center>", "</center>"},
      {AlignmentWrapping("right", false), "<div align=\"right\">", "</div>"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.wrapping.open, c.open);
    EXPECT_EQ(c.wrapping.close, c.close);
  }
}

TEST(MarkupTest, Html5FontsAndAlignmentAreStyles) {
  struct Case {
    Wrapping wrapping;
    const char* open;
    const char* close;
  };
  const Case cases[] = {
      {FontWrapping("", "", "", true), "", ""},
      {FontWrapping("Arial, Helvetica, Sans Serif", "", "", true),
       "<span style=\"font-family: Arial, Helvetica, sans-serif\">", "</span>"},
      {FontWrapping("", "1", "", true), "<span style=\"font-size: x-small\">", "</span>"},
      {FontWrapping("Georgia, Times New Roman, Times, Serif", "3", "#00FF00", true),
       "<span style=\"font-family: Georgia, Times New Roman, Times, serif; font-size: medium; "
       "color: #00FF00\">",
       "</span>"},
      {AlignmentWrapping("left", true), "", ""},
      {AlignmentWrapping("right", true), "<div style=\"text-align: right\">", "</div>"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.wrapping.open, c.open);
    EXPECT_EQ(c.wrapping.close, c.close);
  }
}

}  // namespace
}  // namespace quill::ui

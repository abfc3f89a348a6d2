#include "core/text.h"

#include <gtest/gtest.h>

namespace quill::core {
namespace {

TEST(LineBreaks, CrLfABareLfOrABareCrEachBreakOnce) {
  EXPECT_EQ(ReplaceLineBreaks("a\r\nb\nc\rd", "|"), "a|b|c|d");
  EXPECT_EQ(ReplaceLineBreaks("\n\r\r\n\r", "|"), "||||");  // LF CR is two breaks
  EXPECT_EQ(ReplaceLineBreaks("\r\n\r\nend\r", "</p><p>"), "</p><p></p><p>end</p><p>");
  EXPECT_EQ(ReplaceLineBreaks("no break", "|"), "no break");
  EXPECT_EQ(ReplaceLineBreaks("", "|"), "");
}

}  // namespace
}  // namespace quill::core

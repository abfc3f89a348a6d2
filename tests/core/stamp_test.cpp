#include "core/stamp.h"

#include <gtest/gtest.h>

#include "core/text.h"

namespace quill::core {
namespace {

TEST(Stamp, StoredTextRoundTripsAndOrdersLikeTime) {
  const Stamp stamp{2024, 2, 29, 23, 59, 1};
  EXPECT_EQ(stamp.ToText(), "2024-02-29 23:59:01");
  EXPECT_EQ(Stamp::FromText("2024-02-29 23:59:01"), stamp);
  EXPECT_EQ(Stamp::Empty().ToText(), "1899-12-30 12:00:00");
  EXPECT_LT(Stamp::Empty(), stamp);
  EXPECT_LT((Stamp{2024, 2, 29, 23, 59, 1}), (Stamp{2024, 3, 1, 0, 0, 0}));
}

TEST(Stamp, RefusesTextThatIsNoDateAndTime) {
  for (const char* text : {"2023-02-29 10:00:00", "2024-13-01 10:00:00", "2024-01-01 24:00:00",
                           "2024-01-01 10:60:00", "2024-01-01T10:00:00", "2024-1-01 10:00:00",
                           "2024-01-01 10:00:0x", "", "2024-01-01 10:00:00 "}) {
    EXPECT_FALSE(Stamp::FromText(text).has_value()) << text;
  }
}

TEST(Trim, RemovesSpacesOnlyAtBothEnds) {
  EXPECT_EQ(Trim("  a b  "), "a b");
  EXPECT_EQ(Trim("\r\n a \t"), "\r\n a \t");
  EXPECT_EQ(Trim("    "), "");
  EXPECT_EQ(Trim(""), "");
}

}  // namespace
}  // namespace quill::core

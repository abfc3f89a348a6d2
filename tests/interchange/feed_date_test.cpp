#include "interchange/feed_date.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace quill::interchange {
namespace {

using core::Stamp;

std::optional<Stamp> Local822(std::string_view text) {
  const auto date = ParseRfc822Date(text);
  return date ? LocalStamp(*date, FixedOffsetZone(0)) : std::nullopt;
}
std::optional<Stamp> Local3339(std::string_view text) {
  const auto date = ParseRfc3339Date(text);
  return date ? LocalStamp(*date, FixedOffsetZone(0)) : std::nullopt;
}

TEST(FeedDate, DatesThatNameNoMomentAreRefused) {
  EXPECT_EQ(Local822("Wed,01 May 2019 10:00:00 -0230"), (Stamp{2019, 5, 1, 12, 30, 0}));
  EXPECT_EQ(Local822("01 May 99 10:00 PDT"), (Stamp{1999, 5, 1, 17, 0, 0}));
  for (const char* wrong : {"32 May 2019 10:00:00 GMT", "01 Foo 2019 10:00:00 GMT",
                            "01 May 2019 24:00:00 GMT", "01 May 2019 10:00:00 +2", "yesterday", ""}) {
    EXPECT_FALSE(ParseRfc822Date(wrong)) << wrong;
  }
  EXPECT_EQ(Local3339("2016-12-31T23:59:60Z"), (Stamp{2016, 12, 31, 23, 59, 59}));
  EXPECT_EQ(Local3339(" 2019-05-01 "), (Stamp{2019, 5, 1, 0, 0, 0}));
  for (const char* wrong : {"2019-02-29T00:00:00Z", "2019-05-01T10:00Z1", "2019-5-1T10:00:00Z",
                            "2019-05-01X10:00:00Z", "2019-05-01T10:00:00.x"}) {
    EXPECT_FALSE(ParseRfc3339Date(wrong)) << wrong;
  }
  // A moment past the last second a stamp can hold.
  EXPECT_FALSE(Local3339("9999-12-31T23:30:00-01:00"));
  EXPECT_EQ(Local3339("0099-12-31T23:30:00-01:00"), (Stamp{100, 1, 1, 0, 30, 0}));
}

// Central Europe, daylight saving from the last Sunday of March to the last of October.
class SystemTimeZoneTest : public ::testing::Test {
 protected:
  SystemTimeZoneTest() {
    if (const char* tz = std::getenv("TZ")) saved_ = tz;
    setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    tzset();
  }
  ~SystemTimeZoneTest() override {
    if (saved_) {
      setenv("TZ", saved_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

  std::optional<std::string> saved_;
  SystemTimeZone zone_;
};

TEST_F(SystemTimeZoneTest, EachDayHasItsOwnOffsetAndTheHoursAClockJumpsAreSettled) {
  EXPECT_EQ(zone_.ToLocal(AsUtc({2019, 3, 31, 0, 59, 59})), (Stamp{2019, 3, 31, 1, 59, 59}));
  EXPECT_EQ(zone_.ToLocal(AsUtc({2019, 3, 31, 1, 0, 0})), (Stamp{2019, 3, 31, 3, 0, 0}));
  EXPECT_EQ(zone_.OffsetAt({2019, 1, 15, 12, 0, 0}), 3600);
  EXPECT_EQ(zone_.OffsetAt({2019, 7, 15, 12, 0, 0}), 7200);
  EXPECT_EQ(zone_.OffsetAt({2019, 3, 31, 2, 30, 0}), 3600);   // skipped: the offset before
  EXPECT_EQ(zone_.OffsetAt({2019, 10, 27, 2, 30, 0}), 7200);  // twice: the earlier
  EXPECT_EQ(zone_.OffsetAt({2019, 10, 27, 3, 0, 0}), 3600);
}

}  // namespace
}  // namespace quill::interchange

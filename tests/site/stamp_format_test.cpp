#include "site/stamp_format.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "core/clock.h"

namespace quill::site {
namespace {

using core::Stamp;

const Stamp kSundayEvening{2026, 12, 6, 22, 15, 7};
const Stamp kSundayMorning{2026, 12, 6, 9, 5, 7};

core::ProjectSettings Formats(int date, int separator, int time, int print_time = 1) {
  core::ProjectSettings settings;
  settings.DateFormat = static_cast<std::int16_t>(date);
  settings.Separator = static_cast<std::int16_t>(separator);
  settings.TimeFormat = static_cast<std::int16_t>(time);
  settings.PrintTime = static_cast<std::int16_t>(print_time);
  return settings;
}

TEST(StampFormat, EveryDateAndTimePart) {
  EXPECT_EQ(FormatDatePart(0, kSundayEvening), "Sunday, December 06, 2026");
  EXPECT_EQ(FormatDatePart(1, kSundayEvening), "06-Dec-26");
  EXPECT_EQ(FormatDatePart(2, kSundayEvening), "12/6/2026");
  EXPECT_EQ(FormatDatePart(3, kSundayEvening), "12/06/26");
  EXPECT_EQ(FormatDatePart(4, kSundayEvening), "");

  EXPECT_EQ(FormatTimePart(0, kSundayEvening), "10:15:07 PM");
  EXPECT_EQ(FormatTimePart(0, kSundayMorning), "9:05:07 AM");
  EXPECT_EQ(FormatTimePart(1, kSundayEvening), "10:15 PM");
  EXPECT_EQ(FormatTimePart(1, kSundayMorning), "09:05 AM");
  EXPECT_EQ(FormatTimePart(2, kSundayEvening), "22:15:07");
  EXPECT_EQ(FormatTimePart(2, kSundayMorning), "09:05:07");
  EXPECT_EQ(FormatTimePart(3, kSundayEvening), "22:15");
  EXPECT_EQ(FormatTimePart(3, kSundayMorning), "09:05");
  EXPECT_EQ(FormatTimePart(-1, kSundayMorning), "");
  // Midnight and noon in the 12-hour forms.
  EXPECT_EQ(FormatTimePart(0, Stamp{2026, 1, 1, 0, 0, 0}), "12:00:00 AM");
  EXPECT_EQ(FormatTimePart(1, Stamp{2026, 1, 1, 12, 30, 0}), "12:30 PM");
}

TEST(StampFormat, EntryStampJoinsThePartsAndPagesMayDropTheTime) {
  EXPECT_EQ(FormatEntryStamp(Formats(3, 1, 3), kSundayEvening, false), "12/06/26 @ 22:15");
  EXPECT_EQ(FormatEntryStamp(Formats(0, 0, 1), kSundayEvening, true),
            "Sunday, December 06, 2026 at 10:15 PM");
  EXPECT_EQ(FormatEntryStamp(Formats(1, 2, 2, 0), kSundayEvening, true), "06-Dec-26");
  // The display form always carries the time.
  EXPECT_EQ(FormatEntryStamp(Formats(1, 2, 2, 0), kSundayEvening, false), "06-Dec-26 : 22:15:07");
  // A time format outside the list leaves the separator at the end.
  EXPECT_EQ(FormatEntryStamp(Formats(2, 0, 9), kSundayEvening, false), "12/6/2026 at ");
  EXPECT_EQ(FormatEntryStamp(Formats(2, 7, 2), kSundayEvening, false), "12/6/202622:15:07");
  EXPECT_EQ(FormatLongStamp(Formats(3, 1, 3), kSundayEvening),
            "Sunday, December 06, 2026 @ 10:15:07 PM");
}

TEST(StampFormat, EveryFormWritesBackToItsStamp) {
  const Stamp stamps[] = {kSundayEvening,           kSundayMorning,
                          {1999, 1, 31, 0, 0, 59},  {2029, 2, 28, 12, 30, 0},
                          {1930, 7, 4, 23, 59, 59}, {2000, 2, 29, 11, 1, 2}};
  for (int date = 0; date <= 3; ++date) {
    for (int time = 0; time <= 3; ++time) {
      for (int separator = 0; separator <= 3; ++separator) {
        const auto settings = Formats(date, separator, time);
        for (const Stamp& stamp : stamps) {
          const std::string shown = FormatEntryStamp(settings, stamp, false);
          Stamp expected = stamp;
          if (time == 1 || time == 3) expected.second = 0;  // these forms drop the seconds
          EXPECT_EQ(ParseEntryStamp(settings, shown), expected)
              << shown << " with formats " << date << "/" << separator << "/" << time;

          const std::string long_form = FormatLongStamp(settings, stamp);
          EXPECT_EQ(ParseEntryStamp(settings, long_form), stamp) << long_form;
        }
      }
    }
  }
}

TEST(StampFormat, TwoDigitYearsFallIn1930To2029) {
  const auto medium = Formats(1, 1, 2);
  EXPECT_EQ(ParseEntryStamp(medium, "01-Jan-30 @ 00:00:00")->year, 1930);
  EXPECT_EQ(ParseEntryStamp(medium, "31-Dec-29 @ 00:00:00")->year, 2029);
  const auto numeric = Formats(3, 0, 3);
  EXPECT_EQ(ParseEntryStamp(numeric, "12/31/99 at 23:59")->year, 1999);
  EXPECT_EQ(ParseEntryStamp(numeric, "01/01/00 at 00:00")->year, 2000);
}

TEST(StampFormat, TextThatIsNoStampReadsAsNothing) {
  const auto settings = Formats(3, 1, 2);
  EXPECT_FALSE(ParseEntryStamp(settings, "02/30/26 @ 10:00:00"));
  EXPECT_FALSE(ParseEntryStamp(settings, "12/06/26 @ 25:00:00"));
  EXPECT_FALSE(ParseEntryStamp(settings, "Smarch 6, 2026 @ 10:00:00"));
  EXPECT_FALSE(ParseEntryStamp(settings, "hello"));
  EXPECT_FALSE(ParseEntryStamp(settings, ""));
}

TEST(StampFormat, Rfc822DatesCarryTheGivenOffset) {
  EXPECT_EQ(FormatRfc822Date(kSundayEvening, 3600), "Sun, 06 Dec 2026 22:15:07 +0100");
  EXPECT_EQ(FormatRfc822Date(kSundayMorning, -5 * 3600), "Sun, 06 Dec 2026 09:05:07 -0500");
  EXPECT_EQ(FormatRfc822Date(kSundayMorning, 0), "Sun, 06 Dec 2026 09:05:07 +0000");
  EXPECT_EQ(FormatRfc822Date(kSundayMorning, 19800), "Sun, 06 Dec 2026 09:05:07 +0530");
  EXPECT_EQ(FormatRfc822Date(kSundayMorning, -12600), "Sun, 06 Dec 2026 09:05:07 -0330");
  EXPECT_EQ(FormatRfc822Date({2024, 2, 29, 0, 0, 0}, 0), "Thu, 29 Feb 2024 00:00:00 +0000");
}

#ifndef _WIN32
TEST(StampFormat, UtcOffsetFollowsTheLocalTimeZone) {
  const char* saved = std::getenv("TZ");
  const std::string previous = saved ? saved : "";
  const auto with_zone = [](const char* zone) {
    setenv("TZ", zone, 1);
    tzset();
    return core::UtcOffsetSeconds();
  };
  EXPECT_EQ(with_zone("EST5"), -5 * 3600);  // five hours behind, no daylight saving
  EXPECT_EQ(with_zone("XYZ-1"), 3600);
  EXPECT_EQ(with_zone("IST-5:30"), 19800);
  // Daylight saving all year round: the offset includes it.
  EXPECT_EQ(with_zone("AAA-1BBB,J1/0,J365/24"), 7200);
  if (saved) {
    setenv("TZ", previous.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
}
#endif

}  // namespace
}  // namespace quill::site

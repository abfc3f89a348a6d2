#pragma once

#include <optional>
#include <string_view>

#include "core/stamp.h"
#include "interchange/time_zone.h"

namespace quill::interchange {

// A date as a feed writes it: a civil date and time and, when the text gives one, its offset
// from UTC. The civil part may lie outside the years a stamp can hold.
struct FeedDate {
  core::Stamp civil;
  std::optional<int> offset_seconds;
};

// RSS's pubDate: "Wed, 02 Oct 2002 13:00:00 GMT", "2 Oct 2002 15:00 +0200", two-digit years,
// the North American zone names; a zone it does not know counts as UTC, as mail does.
std::optional<FeedDate> ParseRfc822Date(std::string_view text);
// Atom's dates and Dublin Core's: "2003-12-13T18:30:02Z", "2003-12-13T18:30:02.25+01:00",
// or the date alone (midnight). Fractions of a second are dropped.
std::optional<FeedDate> ParseRfc3339Date(std::string_view text);

// The local stamp an entry keeps for the date: a date with an offset is the moment it names,
// in the machine's local time; one without stands as it is written. Nothing when that falls
// outside the years a stamp can hold.
std::optional<core::Stamp> LocalStamp(const FeedDate& date, const TimeZone& zone);

}  // namespace quill::interchange

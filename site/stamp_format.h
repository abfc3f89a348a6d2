#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/project_settings.h"
#include "core/stamp.h"

namespace quill::site {

// The date part chosen by DateFormat: 0 "Sunday, December 06, 2026", 1 "06-Dec-26",
// 2 "12/6/2026", 3 "12/06/26"; empty for any other value.
std::string FormatDatePart(int date_format, const core::Stamp& stamp);
// The time part chosen by TimeFormat: 0 "10:15:07 PM", 1 "10:15 PM", 2 "22:15:07",
// 3 "22:15"; empty for any other value.
std::string FormatTimePart(int time_format, const core::Stamp& stamp);
// "January" … "December" for months 1 to 12.
std::string_view MonthName(int month);
// The text between date and time chosen by Separator: " at ", " @ ", " : ", or nothing.
std::string_view SeparatorText(int separator);

// How an entry's stamp is shown: date, separator and time in the project's formats. Pages
// (`for_output`) show the date alone when PrintTime is 0.
std::string FormatEntryStamp(const core::ProjectSettings& settings, const core::Stamp& stamp,
                             bool for_output);
// The long form: long date, the project's separator, long time.
std::string FormatLongStamp(const core::ProjectSettings& settings, const core::Stamp& stamp);
// Reads back any text FormatEntryStamp (display form) or FormatLongStamp wrote under the
// project's settings. Two-digit years fall in 1930-2029. nullopt for text that is no stamp.
std::optional<core::Stamp> ParseEntryStamp(const core::ProjectSettings& settings,
                                           std::string_view text);

// "Sun, 06 Dec 2026 22:15:07 +0100": the feed's date form, with the given offset from UTC.
std::string FormatRfc822Date(const core::Stamp& stamp, int utc_offset_seconds);

}  // namespace quill::site

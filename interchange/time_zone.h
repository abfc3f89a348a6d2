#pragma once

#include <cstdint>
#include <optional>

#include "core/stamp.h"

namespace quill::interchange {

// Seconds since 1970-01-01 00:00:00 UTC.
using UtcSeconds = std::int64_t;

// The local time of the machine, for any moment: imported dates that carry an offset become
// the local stamps entries keep, and exported stamps get the offset that held on their day.
// Tests use a fixed offset.
class TimeZone {
 public:
  virtual ~TimeZone() = default;
  // The local stamp of a moment; nothing when it falls outside the years a stamp can hold.
  virtual std::optional<core::Stamp> ToLocal(UtcSeconds moment) const = 0;
  // How many seconds local time was ahead of UTC at that local stamp. In the hour a clock
  // turned back, the earlier of the two; in the hour it skipped, the offset before the jump.
  virtual int OffsetAt(const core::Stamp& local) const = 0;
};

// The zone the C library knows (TZ, else the system's), daylight saving included.
class SystemTimeZone final : public TimeZone {
 public:
  std::optional<core::Stamp> ToLocal(UtcSeconds moment) const override;
  int OffsetAt(const core::Stamp& local) const override;
};

class FixedOffsetZone final : public TimeZone {
 public:
  explicit FixedOffsetZone(int offset_seconds) : offset_(offset_seconds) {}
  std::optional<core::Stamp> ToLocal(UtcSeconds moment) const override;
  int OffsetAt(const core::Stamp&) const override { return offset_; }

 private:
  int offset_;
};

// The moment a civil date and time names when read as UTC.
UtcSeconds AsUtc(const core::Stamp& civil);
// The civil date and time of a moment in UTC; nothing outside the years a stamp can hold.
std::optional<core::Stamp> CivilOfUtc(UtcSeconds moment);

}  // namespace quill::interchange

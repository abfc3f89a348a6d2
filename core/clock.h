#pragma once

#include "core/stamp.h"

namespace quill::core {

// Every "now" in the program comes from a Clock, so tests can fix the time.
class Clock {
 public:
  virtual ~Clock() = default;
  // The local date and time, to the second.
  virtual Stamp Now() const = 0;
  // How many seconds local time is ahead of UTC now, daylight saving included.
  virtual int UtcOffsetSeconds() const = 0;
};

class SystemClock final : public Clock {
 public:
  Stamp Now() const override;
  int UtcOffsetSeconds() const override;
};

// The local time zone's current offset from UTC in seconds, from the C library on POSIX
// systems and from the time-zone information on Windows.
int UtcOffsetSeconds();

}  // namespace quill::core

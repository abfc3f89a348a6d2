#pragma once

#include "core/stamp.h"

namespace quill::core {

// Every "now" in the program comes from a Clock, so tests can fix the time.
class Clock {
 public:
  virtual ~Clock() = default;
  // The local date and time, to the second.
  virtual Stamp Now() const = 0;
};

class SystemClock final : public Clock {
 public:
  Stamp Now() const override;
};

}  // namespace quill::core

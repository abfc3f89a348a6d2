#pragma once

#include "core/clock.h"

namespace quill::testing {

// A clock that shows whatever time the test sets.
class FixedClock final : public core::Clock {
 public:
  explicit FixedClock(core::Stamp now = {2026, 12, 7, 9, 5, 3}) : now_(now) {}
  core::Stamp Now() const override { return now_; }
  int UtcOffsetSeconds() const override { return offset_; }
  void Set(core::Stamp now) { now_ = now; }
  void SetUtcOffset(int seconds) { offset_ = seconds; }

 private:
  core::Stamp now_;
  int offset_ = 3600;
};

}  // namespace quill::testing

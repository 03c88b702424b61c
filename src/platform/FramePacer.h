// Paces presented frames at 60 a second on absolute deadlines, so that rounding never drifts
// (frame k of a run is due at start + k/60 s). A presenter that falls more than a frame behind
// (a long load, a sleep) starts a new schedule instead of rushing to catch up.
#pragma once

#include <cstdint>

namespace platform {

class TFramePacer {
 public:
  static constexpr uint64_t kFramesPerSecond = 60;
  static constexpr uint64_t kNanosPerSecond = 1'000'000'000;

  // The moment at which the next frame may be shown, given the time now.
  uint64_t NextDeadline(uint64_t now) {
    if (!started_) {
      started_ = true;
      base_ = now;
      count_ = 0;
    }
    ++count_;
    uint64_t deadline = Due(count_);
    if (now > deadline + Period()) {
      base_ = now;
      count_ = 0;
      deadline = now;
    }
    return deadline;
  }

  static constexpr uint64_t Period() { return kNanosPerSecond / kFramesPerSecond; }

 private:
  uint64_t Due(uint64_t k) const { return base_ + k * kNanosPerSecond / kFramesPerSecond; }

  bool started_ = false;
  uint64_t base_ = 0;
  uint64_t count_ = 0;
};

}  // namespace platform

#pragma once
// Time for the simulated slot's waits. The real clock waits on the condition variable; the manual
// clock jumps to the deadline at once, so tests of long waits run in no time.

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace sim {

using Millis = std::chrono::milliseconds;

class Clock {
 public:
  virtual ~Clock() = default;
  virtual Millis Now() = 0;
  // Waits until the deadline or a notification; the caller checks again what it waits for.
  virtual void WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& changed,
                         Millis deadline) = 0;
};

class RealClock : public Clock {
 public:
  Millis Now() override {
    return std::chrono::duration_cast<Millis>(std::chrono::steady_clock::now().time_since_epoch());
  }
  void WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& changed,
                 Millis deadline) override {
    changed.wait_until(lock, std::chrono::steady_clock::time_point(deadline));
  }
};

class ManualClock : public Clock {
 public:
  Millis Now() override { return now_; }
  void WaitUntil(std::unique_lock<std::mutex>&, std::condition_variable&, Millis deadline) override {
    if (deadline > now_) now_ = deadline;
  }
  void Advance(Millis by) { now_ += by; }

 private:
  Millis now_{0};
};

}  // namespace sim

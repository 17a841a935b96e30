#pragma once

namespace tesvid {

// Marks the window busy (a calculation, force lines or a report yielding to the event loop)
// for the length of a scope, and restores the previous state however the scope ends.
class BusyScope {
  public:
    explicit BusyScope(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
    ~BusyScope() { flag_ = old_; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    bool& flag_;
    bool old_;
};

}  // namespace tesvid

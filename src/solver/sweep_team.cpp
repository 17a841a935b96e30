#include "solver/sweep_team.h"

#include <algorithm>

namespace tesvid {

namespace {

// Rounds of waiting in a busy loop, then of giving the processor away, before a thread goes
// to sleep: long enough to catch the next half-sweep of a small grid; the yields let a thread
// of the team that waits for a processor run first when the machine is busy.
constexpr int kSpinRounds = 2000;
constexpr int kYieldRounds = 20;
// Shared runs in a stretch whose times decide, and runs alone after a stretch that did not pay.
constexpr int kStretch = 64;
constexpr int kAloneRuns = 1024;

template <class Ready>
bool Await(Ready ready) {
    for (int k = 0; k < kSpinRounds; ++k) {
        if (ready()) {
            return true;
        }
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#endif
    }
    for (int k = 0; k < kYieldRounds; ++k) {
        if (ready()) {
            return true;
        }
        std::this_thread::yield();
    }
    return ready();
}

template <class Word, class Ready>
void AwaitThenSleep(const std::atomic<Word>& word, Ready ready) {
    if (Await(ready)) {
        return;
    }
    for (Word old = word.load(std::memory_order_acquire); !ready();
         old = word.load(std::memory_order_acquire)) {
        word.wait(old, std::memory_order_acquire);
    }
}

}  // namespace

SweepTeam::SweepTeam(int threads) : size_(std::clamp(threads, 1, kMostThreads)) {
    for (int p = 1; p < size_; ++p) {
        helpers_.emplace_back([this, p] { Helper(p); });
    }
}

SweepTeam::~SweepTeam() {
    stop_.store(true, std::memory_order_release);
    generation_.fetch_add(1, std::memory_order_acq_rel);
    generation_.notify_all();
    for (std::thread& t : helpers_) {
        t.join();
    }
}

void SweepTeam::Share(int first, int last, int parts, int p, int& from, int& to) {
    const long count = static_cast<long>(last) - first + 1;
    from = first + static_cast<int>(count * p / parts);
    to = first + static_cast<int>(count * (p + 1) / parts) - 1;
}

int SweepTeam::DefaultThreads() {
    const unsigned cores = std::thread::hardware_concurrency();
    return std::clamp(static_cast<int>(cores), 1, kMostUseful);
}

void SweepTeam::Dispatch(Task task, const void* context) {
    task_ = task;
    context_ = context;
    using Clock = std::chrono::steady_clock;
    const Clock::time_point wake = Clock::now();
    running_.store(size_ - 1, std::memory_order_release);
    generation_.fetch_add(1, std::memory_order_acq_rel);
    generation_.notify_all();
    const Clock::time_point start = Clock::now();
    task(context, 0);
    const Clock::time_point done = Clock::now();
    // running_ counts down to 0 as the helpers finish; each one wakes this thread.
    AwaitThenSleep(running_, [&] { return running_.load(std::memory_order_acquire) == 0; });
    // Waking the others and waiting for them is what sharing costs.
    worked_ += std::chrono::duration<double>(done - start).count();
    waited_ += std::chrono::duration<double>((start - wake) + (Clock::now() - done)).count();
    if (++shared_ == kStretch) {
        // Sharing saves the others' work (about the caller's own, times the helpers) and costs
        // the wait.
        if (waited_ > worked_) {
            alone_ = kAloneRuns;
        }
        shared_ = 0;
        worked_ = waited_ = 0;
    }
}

void SweepTeam::Helper(int part) {
    unsigned seen = 0;
    for (;;) {
        AwaitThenSleep(generation_,
                       [&] { return generation_.load(std::memory_order_acquire) != seen; });
        seen = generation_.load(std::memory_order_acquire);
        if (stop_.load(std::memory_order_acquire)) {
            return;
        }
        task_(context_, part);
        running_.fetch_sub(1, std::memory_order_acq_rel);
        running_.notify_one();
    }
}

}  // namespace tesvid

#pragma once

#include <atomic>
#include <thread>
#include <vector>

namespace tesvid {

// A few threads that share the half-sweeps of one calculation. Every node of one colour of a
// red-black sweep depends only on nodes of the other colour, so the columns of a colour can
// be split between threads without changing any result. The team lives as long as the
// calculation that made it (one team per calculation: calculations on different threads do
// not share one); its threads sleep between two half-sweeps.
class SweepTeam {
  public:
    // threads: 1 (the calling thread alone) up to kMostThreads (more count as that many).
    explicit SweepTeam(int threads);
    ~SweepTeam();
    SweepTeam(const SweepTeam&) = delete;
    SweepTeam& operator=(const SweepTeam&) = delete;

    int Size() const { return size_; }

    // Runs work(part) for part = 0 .. Size() - 1 at once, part 0 on the calling thread, and
    // returns when all are done.
    template <class F>
    void Run(const F& work) {
        if (size_ == 1) {
            work(0);
            return;
        }
        Dispatch([](const void* w, int part) { (*static_cast<const F*>(w))(part); }, &work);
    }

    // The part of the range first .. last (inclusive) that part p of `parts` takes.
    static void Share(int first, int last, int parts, int p, int& from, int& to);

    // The number of threads a calculation uses when none is asked for: the processor's
    // cores, at most kMostUseful.
    static int DefaultThreads();
    static constexpr int kMostUseful = 4;
    static constexpr int kMostThreads = 64;

  private:
    using Task = void (*)(const void*, int);
    void Dispatch(Task task, const void* context);
    void Helper(int part);

    int size_ = 1;
    std::vector<std::thread> helpers_;
    Task task_ = nullptr;
    const void* context_ = nullptr;
    std::atomic<unsigned> generation_{0};
    std::atomic<int> running_{0};
    std::atomic<bool> stop_{false};
};

}  // namespace tesvid

#pragma once

#include <QObject>
#include <atomic>
#include <mutex>
#include <thread>

#include "model/model.h"
#include "solver/convergence.h"

namespace tesvid {

// Runs one calculation at a time on a worker thread of its own, so that the window's thread
// stays free for the pointer read-out, repaints and Stop.
//
// The calculation works on a Model handed over at Start: it is the runner's until finished()
// (the worker writes its arrays; its project may be read meanwhile, nobody writes it). The
// worker touches nothing else of the window: what it reports reaches the window's thread
// through queued calls, as copies: the bars' values (only the latest, with at most one call
// waiting), the potential after each pass when the intermediate view is on, and the end.
// Stop is the flag given at construction, which the calculation reads between iterations.
// barsChanged, passShown and finished are emitted on the thread that owns the runner.
class CalculationRunner : public QObject {
    Q_OBJECT
  public:
    explicit CalculationRunner(std::atomic<bool>& stop, QObject* parent = nullptr);
    // A calculation still running is stopped and waited for; finished() is not emitted.
    ~CalculationRunner() override;

    // Starts the calculation of job's arrays (built for its project) as settings say.
    // copyPasses: the potential of every pass is copied for passShown(). Not while running.
    void Start(Model job, const CalculationSettings& settings, bool copyPasses);
    // From Start until the end has been handled on the owning thread (before finished()).
    bool Running() const { return running_; }

    // The model as the calculation left it, how it ended, and whether it has a result to show
    // (every ending but Diverged, which leaves the arrays as they were handed over). Valid from
    // finished() until the next Start.
    Model& Job() { return job_; }
    const CalculationOutcome& Outcome() const { return outcome_; }
    bool HasResult() const { return hasResult_; }
    // The potential of the latest pass copied since the last call (moved out), or an empty grid.
    Grid2D<double> TakePassPotential();

  signals:
    // The progress bar's maximum and value, and the error indicator, as last set.
    void barsChanged(double progressMaximum, double progress, double error);
    // A pass has ended and its potential waits in TakePassPotential.
    void passShown();
    // The calculation has ended and the worker has been joined.
    void finished();

    // Emitted on the worker only, connected queued to the owning thread (see the constructor).
    void workerPostedBars();
    void workerPostedPass();
    void workerEnded();

  private:
    class Observer;

    void PostBars();
    void ShowBars();
    void PostPass();
    void Finish();

    std::atomic<bool>& stop_;
    std::thread worker_;
    bool running_ = false;
    Model job_;
    CalculationSettings settings_;
    bool copyPasses_ = false;
    CalculationOutcome outcome_;
    bool hasResult_ = false;

    // Shared with the worker while it runs.
    std::atomic<double> progressMaximum_{0};
    std::atomic<double> progress_{0};
    std::atomic<double> error_{0};
    std::atomic<bool> barsPosted_{false};
    std::mutex passMutex_;
    Grid2D<double> passPotential_;  // guarded by passMutex_
    bool passPosted_ = false;       // guarded by passMutex_
};

}  // namespace tesvid

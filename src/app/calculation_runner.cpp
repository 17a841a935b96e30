#include "app/calculation_runner.h"

#include <utility>

#include "solver/calculation.h"
#include "solver/calculation_observer.h"

namespace tesvid {

// The calculation's observer on the worker thread: it keeps what it is told for the owning
// thread and posts one call there to pick it up; it touches no widget.
class CalculationRunner::Observer : public CalculationObserver {
  public:
    explicit Observer(CalculationRunner& runner) : r_(runner) {}

    void SetProgressMaximum(double maximum) override {
        r_.progressMaximum_ = maximum;
        r_.PostBars();
    }
    void SetProgressValue(double value) override {
        r_.progress_ = value;
        r_.PostBars();
    }
    void SetErrorValue(double value) override {
        r_.error_ = value;
        r_.PostBars();
    }
    bool StopRequested() const override { return r_.stop_; }
    void PassFinished(const SolverArrays& arrays) override {
        if (r_.copyPasses_) {
            Grid2D<double> copy = arrays.VecPot;
            const std::lock_guard lock(r_.passMutex_);
            r_.passPotential_ = std::move(copy);
            r_.PostPass();
        }
    }
    void ShowResult() override { r_.hasResult_ = true; }

  private:
    CalculationRunner& r_;
};

CalculationRunner::CalculationRunner(std::atomic<bool>& stop, QObject* parent)
    : QObject(parent), stop_(stop) {
    // The worker only emits these; Qt queues each as an event for this object's thread. Nothing
    // built on the worker travels with them: what they announce waits in the atomics and the
    // mutex-guarded potential above, and the end is read after the worker has been joined.
    connect(this, &CalculationRunner::workerPostedBars, this, &CalculationRunner::ShowBars,
            Qt::QueuedConnection);
    connect(this, &CalculationRunner::workerPostedPass, this, &CalculationRunner::passShown,
            Qt::QueuedConnection);
    connect(this, &CalculationRunner::workerEnded, this, &CalculationRunner::Finish,
            Qt::QueuedConnection);
}

CalculationRunner::~CalculationRunner() {
    if (worker_.joinable()) {
        stop_ = true;
        worker_.join();
    }
}

void CalculationRunner::Start(Model job, const CalculationSettings& settings, bool copyPasses) {
    Q_ASSERT(!running_);
    running_ = true;
    job_ = std::move(job);
    settings_ = settings;
    copyPasses_ = copyPasses;
    outcome_ = CalculationOutcome{};
    hasResult_ = false;
    passPotential_ = Grid2D<double>();
    passPosted_ = false;
    worker_ = std::thread([this] {
        Observer observer(*this);
        outcome_ = Calculate(job_.arrays, job_.project, settings_, observer);
        // Queued after every call the calculation posted, so the window sees them first.
        emit workerEnded();
    });
}

void CalculationRunner::Finish() {
    if (!worker_.joinable()) {
        return;
    }
    worker_.join();
    running_ = false;
    emit finished();
}

void CalculationRunner::PostBars() {
    if (barsPosted_.exchange(true)) {
        return;  // the call already waiting will show the latest values
    }
    emit workerPostedBars();
}

void CalculationRunner::ShowBars() {
    barsPosted_ = false;
    emit barsChanged(progressMaximum_, progress_, error_);
}

void CalculationRunner::PostPass() {
    if (passPosted_) {
        return;
    }
    passPosted_ = true;
    emit workerPostedPass();
}

Grid2D<double> CalculationRunner::TakePassPotential() {
    const std::lock_guard lock(passMutex_);
    passPosted_ = false;
    return std::exchange(passPotential_, Grid2D<double>());
}

}  // namespace tesvid

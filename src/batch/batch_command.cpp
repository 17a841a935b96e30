#include "batch/batch_command.h"

#include <charconv>
#include <ostream>
#include <string_view>

#include "batch/batch_figures.h"
#include "batch/batch_options.h"
#include "batch/new_project.h"
#include "batch/result_picture.h"
#include "io/atomic_file.h"
#include "io/project_file.h"
#include "io/text_table.h"
#include "model/model.h"
#include "solver/calculation.h"
#include "solver/calculation_observer.h"
#include "solver/drawn_model.h"
#include "solver/engineering_figures.h"
#include "solver/sweep_team.h"

#ifndef TESVID_VERSION
#define TESVID_VERSION "unknown"
#endif

namespace tesvid {
namespace {

constexpr std::string_view kProgram = "tesvid-batch";

// Progress on standard error: one line per finished pass, with the error indicator and the
// change of B in the pass.
class TerminalObserver : public CalculationObserver {
  public:
    TerminalObserver(Model& m, std::ostream& err, bool quiet, ScheduleKind schedule)
        : m_(m), err_(err), quiet_(quiet), schedule_(schedule) {}

    void SetProgressMaximum(double maximum) override { maximum_ = maximum; }
    void SetProgressValue(double value) override { progress_ = value; }
    // The error bar is set at the end of every pass, after the pass bar.
    void SetErrorValue(double value) override { error_ = value; }
    void PassMeasured(int pass, double change) override {
        if (quiet_) {
            return;
        }
        err_ << kProgram << ": pass " << pass
             << (schedule_ == ScheduleKind::Fixed ? " of " : " of at most ")
             << static_cast<int>(maximum_) << ", error " << Number(error_, 4) << ", change "
             << Number(change, 2) << '\n';
    }
    void ShowResult() override { EvaluateField(m_); }

    static std::string Number(double v, int digits) {
        char buffer[64];
        const auto r =
            std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, digits);
        return std::string(buffer, r.ptr);
    }

  private:
    Model& m_;
    std::ostream& err_;
    bool quiet_;
    ScheduleKind schedule_;
    double maximum_ = 8;
    double progress_ = 0;
    double error_ = 0;
};

std::string Number9(double v) {
    return TerminalObserver::Number(v, 9);
}

void PrintProbe(const Model& m, int i, int j, std::ostream& out) {
    out << i << '\t' << j << '\t' << Number9(i * m.project.GridStep * 1000) << '\t'
        << Number9(j * m.project.GridStep * 1000) << '\t' << Number9(m.field.Br(i, j)) << '\t'
        << Number9(m.field.Bz(i, j)) << '\t' << Number9(m.field.B(i, j)) << '\n';
}

void Report(std::ostream& err, std::string_view message) {
    err << kProgram << ": " << message << '\n';
}

// Calculates the loaded project as the RUN command does, from its Material and the file's
// currents and wire diameters, and says how it went: the open-boundary warning, and the
// outcome sentence (when quiet, only when a calculation until converged fell short of its
// tolerance: the fixed schedule never promises to converge). Returns why there is no result
// to write.
std::optional<std::string> Calculate(Model& m, const BatchOptions& o, std::ostream& err) {
    const Grid2D<MaterialCode> material = m.arrays.Material;
    CalculationSettings settings;
    settings.schedule = ChosenSchedule(o);
    settings.tolerance = o.tolerance;
    settings.threads = o.threads.value_or(SweepTeam::DefaultThreads());
    TerminalObserver observer(m, err, o.quiet, settings.schedule);
    const DrawnCalculation done = CalculateDrawnModel(m, material, settings, observer);
    if (done.refusal) {
        return done.refusal;
    }
    const CalculationOutcome& outcome = done.outcome;
    if (!outcome.boundaryWarning.empty()) {
        err << kProgram << ": warning: " << outcome.boundaryWarning << '\n';
    }
    if (outcome.ending == CalculationEnding::Diverged) {
        return OutcomeSentence(outcome);
    }
    const bool fellShort = settings.schedule == ScheduleKind::Converge &&
                           outcome.ending != CalculationEnding::Converged;
    if (!o.quiet || fellShort) {
        err << kProgram << ": " << OutcomeSentence(outcome) << '\n';
    }
    return std::nullopt;
}

}  // namespace

int RunBatchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const BatchParseResult parsed = ParseBatchArguments(args);
    if (!parsed.error.empty()) {
        Report(err, parsed.error + " (see " + std::string(kProgram) + " --help)");
        return kBatchBadArguments;
    }
    const BatchOptions& o = parsed.options;
    if (o.help) {
        out << BatchUsage();
        return kBatchOk;
    }
    if (o.version) {
        out << kProgram << ' ' << TESVID_VERSION << '\n';
        return kBatchOk;
    }
    if (o.pngPath && !ResultPictureSupported()) {
        Report(err, "--png is not available in this build");
        return kBatchBadArguments;
    }

    Model m;
    m.project = FirstStartProject();
    m.project.ReluctivityRelaxation = o.kMu.value_or(0.05);
    // The project's name in messages.
    const std::string name = o.newProject.requested ? std::string("the new project") : o.project;
    if (o.newProject.requested) {
        // A project made on the command line (batch/new_project.h).
        if (auto error = BuildNewProject(o.newProject, m)) {
            Report(err, *error);
            return kBatchBadArguments;
        }
    } else {
        ProjectReadResult read = ReadProjectFile(o.project);
        if (!read.project) {
            Report(err, "cannot read project " + o.project + ": " + read.error + " (" +
                            read.detail + ")");
            return kBatchBadProject;
        }
        ApplyProject(m, std::move(*read.project));
    }

    for (const auto& [i, j] : o.probes) {
        if (i < 0 || j < 0 || i > m.project.GridSize || j > m.project.GridSize) {
            Report(err, "--probe " + std::to_string(i) + "," + std::to_string(j) +
                            " lies outside the grid of " + name + " (nodes 0.." +
                            std::to_string(m.project.GridSize) + ")");
            return kBatchBadArguments;
        }
    }
    if (auto refusal = BatchBodyRefusal(m, o.forceOn, name)) {
        Report(err, *refusal);  // engineering figures: before any calculation
        return kBatchBadProject;
    }
    if (o.mainSteps) {
        m.project.MainSteps = static_cast<std::int16_t>(*o.mainSteps);
    }

    if (o.noSolve) {
        EvaluateField(m);
    } else if (auto refusal = Calculate(m, o, err)) {
        Report(err, "cannot calculate " + name + ": " + *refusal);
        return kBatchBadProject;
    }

    // Engineering figures (--figures, --force-on), from the field on show.
    std::optional<std::string> figures;
    if (o.figuresPath) {
        if (auto refusal = BatchFiguresRefusal(m, o.noSolve, name)) {
            Report(err, *refusal);
            return kBatchBadProject;
        }
        figures = FiguresJson(ComputeEngineeringFigures(m, o.forceOn), !o.forceOn.empty());
    }

    int status = kBatchOk;
    if (o.savePath) {
        if (auto failure = WriteProjectFile(*o.savePath, ProjectFromModel(m))) {
            Report(err, *failure);
            status = kBatchOutputFailed;
        }
    }
    if (o.exportPath) {
        if (*o.exportPath == "-") {
            out << FormatFieldTable(m);
        } else if (auto failure = WriteFieldTable(*o.exportPath, m)) {
            Report(err, *failure);
            status = kBatchOutputFailed;
        }
    }
    if (o.pngPath) {
        if (auto failure = WriteResultPicture(m, *o.pngPath)) {
            const bool named = failure->find(*o.pngPath) != std::string::npos;
            Report(err, named ? *failure : "cannot write " + *o.pngPath + ": " + *failure);
            status = kBatchOutputFailed;
        }
    }
    for (const auto& [i, j] : o.probes) {
        PrintProbe(m, i, j, out);
    }
    if (figures) {
        if (*o.figuresPath == "-") {
            out << *figures;
        } else if (auto failure =
                       WriteFileAtomically(*o.figuresPath, figures->data(), figures->size())) {
            Report(err, *failure);
            status = kBatchOutputFailed;
        }
    }
    out.flush();
    if (!out) {
        Report(err, "cannot write to standard output");
        status = kBatchOutputFailed;
    }
    return status;
}

}  // namespace tesvid

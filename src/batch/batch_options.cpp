#include "batch/batch_options.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>
#include <system_error>

namespace tesvid {
namespace {

std::optional<std::pair<int, int>> NodePair(std::string_view text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos) {
        return std::nullopt;
    }
    const auto i = WholeInt(text.substr(0, comma));
    const auto j = WholeInt(text.substr(comma + 1));
    if (!i || !j) {
        return std::nullopt;
    }
    return std::pair{*i, *j};
}

}  // namespace

std::optional<int> WholeInt(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc{} || ptr != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> WholeNumber(std::string_view text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc{} || ptr != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

ScheduleKind ChosenSchedule(const BatchOptions& o) {
    if (o.schedule) {
        return *o.schedule;
    }
    return o.mainSteps.has_value() || o.kMu.has_value() ? ScheduleKind::Fixed
                                                        : ScheduleKind::Converge;
}

BatchParseResult ParseBatchArguments(const std::vector<std::string>& args) {
    BatchParseResult result;
    BatchOptions& o = result.options;
    std::vector<std::string> positional;
    bool optionsEnded = false;

    for (std::size_t k = 0; k < args.size(); ++k) {
        std::string arg = args[k];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            positional.push_back(arg);  // "-" alone is a name too
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        // "--name=value" or "--name value".
        std::optional<std::string> inlineValue;
        if (const std::size_t eq = arg.find('=');
            arg.starts_with("--") && eq != std::string::npos) {
            inlineValue = arg.substr(eq + 1);
            arg.resize(eq);
        }
        auto value = [&]() -> std::optional<std::string> {
            if (inlineValue) {
                return inlineValue;
            }
            if (k + 1 < args.size()) {
                return args[++k];
            }
            return std::nullopt;
        };
        auto fail = [&](std::string message) {
            result.error = std::move(message);
            return result;
        };
        const bool takesValue = arg == "--export" || arg == "--save" || arg == "--png" ||
                                arg == "--probe" || arg == "--main-steps" || arg == "--kmu" ||
                                arg == "--schedule" || arg == "--tolerance" || arg == "--threads" ||
                                arg == "--figures" || arg == "--force-on";
        // --new and its arguments (batch/new_project.h).
        if (IsNewProjectOption(arg)) {
            std::string v;
            if (NewProjectOptionTakesValue(arg)) {
                const std::optional<std::string> given = value();
                if (!given || given->empty()) {
                    return fail("option " + arg + " needs a value");
                }
                v = *given;
            } else if (inlineValue) {
                return fail("option " + arg + " takes no value");
            }
            if (auto error = ParseNewProjectOption(arg, v, o.newProject)) {
                return fail(*error);
            }
            continue;
        }
        if (!takesValue && inlineValue) {
            return fail("option " + arg + " takes no value");
        }

        if (arg == "--help" || arg == "-h") {
            o.help = true;
        } else if (arg == "--version") {
            o.version = true;
        } else if (arg == "--quiet" || arg == "-q") {
            o.quiet = true;
        } else if (arg == "--no-solve") {
            o.noSolve = true;
        } else if (takesValue) {
            const std::optional<std::string> v = value();
            if (!v || v->empty()) {
                return fail("option " + arg + " needs a value");
            }
            if (arg == "--export") {
                o.exportPath = *v;
            } else if (arg == "--save") {
                o.savePath = *v;
            } else if (arg == "--png") {
                o.pngPath = *v;
            } else if (arg == "--figures") {
                o.figuresPath = *v;
            } else if (arg == "--force-on") {
                const auto node = NodePair(*v);
                if (!node) {
                    return fail("--force-on needs a node I,J (two integers), not \"" + *v + "\"");
                }
                o.forceOn.push_back(*node);
            } else if (arg == "--probe") {
                const auto node = NodePair(*v);
                if (!node) {
                    return fail("--probe needs a node I,J (two integers), not \"" + *v + "\"");
                }
                o.probes.push_back(*node);
            } else if (arg == "--main-steps") {
                const auto n = WholeInt(*v);
                if (!n || *n < 0 || *n > std::numeric_limits<std::int16_t>::max() - 4) {
                    return fail("--main-steps needs a whole number from 0 to 32763, not \"" + *v +
                                "\"");
                }
                o.mainSteps = *n;
            } else if (arg == "--schedule") {
                if (*v == "converge") {
                    o.schedule = ScheduleKind::Converge;
                } else if (*v == "fixed") {
                    o.schedule = ScheduleKind::Fixed;
                } else {
                    return fail("--schedule needs converge or fixed, not \"" + *v + "\"");
                }
            } else if (arg == "--tolerance") {
                const auto x = WholeNumber(*v);
                if (!x) {
                    return fail("--tolerance needs a number, not \"" + *v + "\"");
                }
                if (auto refusal = ToleranceRefusal(*x)) {
                    return fail("--tolerance " + *v + ": " + *refusal);
                }
                o.tolerance = *x;
            } else if (arg == "--threads") {
                const auto n = WholeInt(*v);
                if (!n || *n < 1 || *n > kMostBatchThreads) {
                    return fail("--threads needs a whole number from 1 to " +
                                std::to_string(kMostBatchThreads) + ", not \"" + *v + "\"");
                }
                o.threads = *n;
            } else {
                const auto x = WholeNumber(*v);
                if (!x || *x < 0) {
                    return fail("--kmu needs a number of at least 0, not \"" + *v + "\"");
                }
                o.kMu = *x;
            }
        } else {
            return fail("unknown option " + arg);
        }
    }

    if (o.help || o.version) {
        return result;
    }
    if (!o.forceOn.empty() && !o.figuresPath) {
        result.error = "--force-on adds to the figures: give --figures FILE (or -) too";
        return result;
    }
    // --new makes its own project (batch/new_project.h).
    if (o.newProject.requested || o.newProject.HasArguments()) {
        result.error = CheckNewProjectArguments(o.newProject, positional);
        return result;
    }
    if (positional.empty()) {
        result.error = "no project file given";
    } else if (positional.size() > 1) {
        result.error = "more than one project file given (\"" + positional[0] + "\", \"" +
                       positional[1] + "\")";
    } else {
        o.project = positional[0];
    }
    return result;
}

std::string BatchUsage() {
    return "Usage: tesvid-batch [options] PROJECT.tvd\n"
           "Calculates the magnetic field of a Tesvid project without the user interface.\n"
           "\n"
           "Options:\n"
           "  --export FILE     write the field table as \"Export to TEXT\" does (- for standard\n"
           "                    output)\n"
           "  --save FILE       save the project with the calculated potential\n"
           "  --probe I,J       print node I,J: I J R_mm Z_mm Br_T Bz_T B_T (repeatable)\n"
           "  --png FILE        write the result picture (field map, outlines, force lines)\n"
           "  --figures FILE    write inductance, flux linkage, energy and coil forces as JSON\n"
           "                    (- for standard output)\n"
           "  --force-on I,J    add the axial force on the body at node I,J to the figures\n"
           "                    (repeatable; F_z > 0 points down the picture)\n"
           "  --schedule KIND   converge (default): calculate until the field has converged,\n"
           "                    with an open boundary that lets the field fall off to\n"
           "                    infinity and B evaluated at the nodes; fixed: the fixed\n"
           "                    schedule of the project's main passes, as the program always\n"
           "                    calculated\n"
           "  --tolerance X     converge until a pass changes B by less than X times the\n"
           "                    largest B (default 1e-05; from 1e-12 to 1)\n"
           "  --threads N       threads for the sweeps (default: the processor's cores, at\n"
           "                    most 4)\n"
           "  --main-steps N    number of main passes of the fixed schedule (default: the\n"
           "                    project's); chooses the fixed schedule unless --schedule is given\n"
           "  --kmu X           mu relaxation factor of the fixed schedule (default 0.05);\n"
           "                    chooses the fixed schedule unless --schedule is given\n"
           "  --no-solve        evaluate the stored potential without calculating (with the\n"
           "                    fixed schedule's one-sided differences: a file does not say\n"
           "                    which schedule calculated it)\n"
           "  -q, --quiet       no progress and no report on standard error (warnings, and a\n"
           "                    calculation that did not converge, are still reported)\n"
           "  -h, --help        show this help\n"
           "  --version         show the version\n"
           "\n" +
           NewProjectUsage() +
           "\n"
           "Standard error ends with how the calculation went (\"Converged after 6 passes,\n"
           "change 4e-06.\"), after a warning when iron, a magnet or a winding touches the\n"
           "edge of the area, where the open boundary is only approximate.\n"
           "\n"
           "Exit status: 0 success, 2 bad arguments, 3 project cannot be read or calculated\n"
           "(or the calculation diverged), 4 an output cannot be written. A calculation that\n"
           "has not reached the tolerance within its work limit (60 passes) still writes its\n"
           "outputs, says so on standard error and exits with 0.\n"
           "Figures refused (no calculated field, a --force-on node outside the grid or at\n"
           "Vacuum) exit with 3.\n";
}

}  // namespace tesvid

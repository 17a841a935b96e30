#include "batch/batch_figures.h"

#include <charconv>
#include <cmath>

namespace tesvid {
namespace {

std::string JsonNumber(double v) {
    if (!std::isfinite(v)) {
        return "null";
    }
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, 9);
    return std::string(buffer, r.ptr);
}

std::string JsonNumber(const std::optional<double>& v) {
    return v ? JsonNumber(*v) : "null";
}

std::string CoilJson(const CoilEngineeringFigures& c) {
    return "{\"turns\": " + JsonNumber(c.turns) + ", \"current_A\": " + JsonNumber(c.current) +
           ", \"flux_linkage_Wb\": " + JsonNumber(c.fluxLinkage) +
           ", \"inductance_H\": " + JsonNumber(c.inductance) +
           ", \"resistance_ohm\": " + JsonNumber(c.resistance) +
           ", \"power_W\": " + JsonNumber(c.power) + ", \"force_z_N\": " + JsonNumber(c.forceZ) +
           "}";
}

}  // namespace

std::string FiguresJson(const EngineeringFigures& f, bool withBodies) {
    std::string json = "{\"energy_J\": " + JsonNumber(f.energy);
    if (f.coil1.present) {
        json += ", \"coil1\": " + CoilJson(f.coil1);
    }
    if (f.coil2.present) {
        json += ", \"coil2\": " + CoilJson(f.coil2);
    }
    if (withBodies) {
        json += ", \"bodies\": [";
        for (std::size_t k = 0; k < f.bodies.size(); ++k) {
            const BodyForce& b = f.bodies[k];
            json += (k > 0 ? ", " : "");
            json += "{\"node\": [" + std::to_string(b.i) + ", " + std::to_string(b.j) +
                    "], \"material\": \"" + std::string(MaterialLabel(b.material)) +
                    "\", \"nodes\": " + std::to_string(b.nodes) +
                    ", \"touches_edge\": " + (b.touchesEdge ? "true" : "false") +
                    ", \"force_z_N\": " + JsonNumber(b.forceZ) + "}";
        }
        json += "]";
    }
    return json + "}\n";
}

std::optional<std::string> BatchBodyRefusal(const Model& m,
                                            const std::vector<std::pair<int, int>>& bodies,
                                            const std::string& projectName) {
    for (const auto& [i, j] : bodies) {
        if (auto refusal = BodyRefusal(m, i, j)) {
            return "no force for --force-on " + std::to_string(i) + "," + std::to_string(j) +
                   " in " + projectName + ": " + *refusal;
        }
    }
    return std::nullopt;
}

std::optional<std::string> BatchFiguresRefusal(const Model& m, bool noSolve,
                                               const std::string& projectName) {
    const std::string prefix = "no figures for " + projectName + ": ";
    if (auto refusal = FiguresRefusal(m)) {
        return prefix + *refusal;
    }
    if (noSolve && !HoldsPotential(m.arrays)) {
        return prefix +
               "it holds no calculated field (the stored potential is zero everywhere); "
               "calculate it without --no-solve.";
    }
    return std::nullopt;
}

}  // namespace tesvid

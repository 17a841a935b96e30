// Builds the sample projects shipped in the Samples folder: each arrangement is painted into a
// material map, calculated with the program's own schedule and saved with its potential, so
// that Open Sample followed by Result shows the field at once.
//
//   tesvid-make-samples OUTPUT_FOLDER
//
// With --accuracy it writes instead the uncalculated projects that tools/accuracy compares
// with closed-form and reference fields (not shipped): an air coil (windings at r 19..25 mm,
// z 39..61 mm, 2 MA/m2) and the benchmarks' pot core (20 MA/m2), each on the 100, 200 and 400
// grids over 100 mm.
//
//   tesvid-make-samples --accuracy OUTPUT_FOLDER

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "../../bench/arrangements.h"
#include "io/project_file.h"
#include "model/model.h"
#include "solver/calculation.h"
#include "solver/drawn_model.h"
#include "solver/material_map.h"

namespace {

using tesvid::Grid2D;
using tesvid::MaterialCode;
using tesvid::Model;

struct Sample {
    std::string file;
    int gridSize;
    float areaSize;
    double current1, current2;
    std::string comment;
    std::function<void(Grid2D<MaterialCode>&)> paint;
};

// Paints nodes i0..i1, j0..j1 (inclusive), as the rectangle tool does.
void Box(Grid2D<MaterialCode>& g, int i0, int j0, int i1, int j1, MaterialCode m) {
    for (int i = i0; i <= i1; ++i) {
        for (int j = j0; j <= j1; ++j) {
            if (g.Contains(i, j)) {
                g(i, j) = m;
            }
        }
    }
}

bool MakeSample(const Sample& s, const std::string& folder) {
    Model m;
    m.project = tesvid::FirstStartProject();
    m.project.GridSize = static_cast<std::int16_t>(s.gridSize);
    m.project.AreaSize = s.areaSize;
    m.project.GridStep = static_cast<double>(s.areaSize) * 0.001 / s.gridSize;
    std::string comment = s.comment.substr(0, tesvid::kCommentLength);
    comment.resize(tesvid::kCommentLength, ' ');
    m.project.Comments = comment;

    Grid2D<MaterialCode> material(s.gridSize);
    s.paint(material);
    m.project.Current1 = s.current1;
    m.project.Current2 = s.current2;

    struct Observer : tesvid::CalculationObserver {
        explicit Observer(Model& model) : m(model) {}
        void ShowResult() override { tesvid::EvaluateField(m); }
        Model& m;
    } observer(m);
    // The shipped samples keep the fixed schedule's potential.
    const tesvid::DrawnCalculation done =
        tesvid::CalculateDrawnModel(m, material, tesvid::FixedSchedule(), observer);
    if (done.refusal) {
        std::fprintf(stderr, "%s: %s\n", s.file.c_str(), done.refusal->c_str());
        return false;
    }

    const std::string path = folder + "/" + s.file;
    if (auto error = tesvid::WriteProjectFile(path, tesvid::ProjectFromModel(m))) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), error->c_str());
        return false;
    }
    std::printf("%s: grid %d, %g mm\n", path.c_str(), s.gridSize, static_cast<double>(s.areaSize));
    return true;
}

std::vector<Sample> Samples() {
    using M = MaterialCode;
    return {
        {"air_core_solenoid.tvd", 100, 100, 10, 0,
         "Air-core solenoid: a thick winding of 1 mm wire at 10 A, 15..25 mm radius, 40 mm long. "
         "The field inside the bore is nearly uniform and falls off past the ends.",
         [](Grid2D<MaterialCode>& g) { Box(g, 15, 30, 25, 70, M::Coil1); }},
        {"pot_core_electromagnet.tvd", 200, 100, 2, 0,
         "Pot-core electromagnet: iron core, shell and end plates around a 2 A winding, with a "
         "1.5 mm annular air gap around the pole. The iron carries the flux; the field "
         "concentrates in the gap.",
         [](Grid2D<MaterialCode>& g) {
             Box(g, 0, 30, 20, 170, M::Iron);    // centre core, its top is the pole face
             Box(g, 24, 52, 50, 148, M::Coil1);  // winding
             Box(g, 54, 30, 64, 170, M::Iron);   // outer shell
             Box(g, 0, 160, 64, 170, M::Iron);   // bottom plate
             Box(g, 24, 30, 64, 40, M::Iron);    // top plate; nodes 21..23 stay air: the gap
         }},
        {"ring_magnet_pole_pieces.tvd", 100, 100, 0, 0,
         "Axially magnetised ring magnet (north up) between two iron pole pieces. The pole pieces "
         "gather the flux of the ring and lead it across the bore.",
         [](Grid2D<MaterialCode>& g) {
             Box(g, 15, 44, 35, 56, M::MagnetN);
             Box(g, 8, 38, 35, 43, M::Iron);
             Box(g, 8, 57, 35, 62, M::Iron);
         }},
        {"opposing_coils.tvd", 50, 100, 10, -10,
         "Two coaxial coils with opposite currents (Coil 1 at +10 A, Coil 2 at -10 A): a cusp "
         "field with a zero of the axial field half-way between the coils.",
         [](Grid2D<MaterialCode>& g) {
             Box(g, 8, 12, 12, 19, M::Coil1);
             Box(g, 8, 31, 12, 38, M::Coil2);
         }},
        {"magnet_yoke_gap.tvd", 200, 100, 0, 0,
         "Permanent-magnet circuit: a magnet cylinder on the axis in an iron pot yoke with a "
         "cylindrical pole piece and a 2 mm annular air gap, as in a loudspeaker motor.",
         [](Grid2D<MaterialCode>& g) {
             Box(g, 0, 70, 30, 110, M::MagnetN);  // magnet
             Box(g, 0, 56, 30, 69, M::Iron);      // pole piece
             Box(g, 0, 111, 80, 122, M::Iron);    // bottom plate
             Box(g, 70, 56, 80, 110, M::Iron);    // outer wall
             Box(g, 34, 56, 69, 66, M::Iron);     // top plate, gap 31..33
         }},
    };
}

// One uncalculated accuracy project: the material, the current through a 1 mm wire (so that
// the current density is current / 1 mm2) and the benchmarks' material constants.
bool WriteAccuracyProject(const std::string& path, const Grid2D<MaterialCode>& material,
                          double current) {
    const int n = material.N();
    Model m;
    m.project = bench::BuildModel(bench::Arrangement::AirCoil, 50).project;
    m.project.GridSize = static_cast<std::int16_t>(n);
    m.project.AreaSize = 100;
    m.project.GridStep = 0.1 / n;
    m.project.Current1 = current;
    m.project.WireDiameter1 = m.project.WireDiameter2 = 1;
    std::string comment = "Accuracy check (not a sample)";
    comment.resize(tesvid::kCommentLength, ' ');
    m.project.Comments = comment;
    tesvid::BuildMaterialMap(m, material);
    if (auto error = tesvid::WriteProjectFile(path, tesvid::ProjectFromModel(m))) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), error->c_str());
        return false;
    }
    return true;
}

bool MakeAccuracyProjects(const std::string& folder) {
    bool ok = true;
    for (const int n : {100, 200, 400}) {
        Grid2D<MaterialCode> coil(n);
        const double h = 100.0 / n;  // mm
        for (int i = 0; i <= n; ++i) {
            for (int j = 0; j <= n; ++j) {
                if (i * h >= 19 && i * h <= 25 && j * h >= 39 && j * h <= 61) {
                    coil(i, j) = MaterialCode::Coil1;
                }
            }
        }
        const std::string grid = std::to_string(n);
        ok = WriteAccuracyProject(folder + "/air_coil_" + grid + ".tvd", coil, 2) && ok;
        ok = WriteAccuracyProject(folder + "/pot_core_" + grid + ".tvd",
                                  bench::Draw(bench::Arrangement::PotCore, n), 20) &&
             ok;
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--accuracy") {
        return MakeAccuracyProjects(argv[2]) ? 0 : 1;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: tesvid-make-samples [--accuracy] OUTPUT_FOLDER\n");
        return 2;
    }
    bool ok = true;
    for (const Sample& s : Samples()) {
        ok = MakeSample(s, argv[1]) && ok;
    }
    return ok ? 0 : 1;
}

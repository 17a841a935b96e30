// Writes one project of each grid size (50, 100, 200, 400) into a folder, as seeds for the
// project-file fuzzers: the first-start options, both coils carrying current, and every material
// on the map, so that each check a loaded project goes through has something to look at.
//
//   make_fuzz_seeds FOLDER
#include <cstdio>
#include <string>

#include "io/project_file.h"
#include "solver/drawn_model.h"

int main(int argc, char** argv) {
    using namespace tesvid;
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds FOLDER\n");
        return 2;
    }
    const MaterialCode materials[] = {MaterialCode::Iron,    MaterialCode::MagnetS,
                                      MaterialCode::MagnetN, MaterialCode::Coil1,
                                      MaterialCode::Coil2,   MaterialCode::Nonmag};
    for (int n : {50, 100, 200, 400}) {
        Model m;
        m.project = FirstStartProject();
        m.project.GridSize = static_cast<std::int16_t>(n);
        m.project.GridStep = m.project.AreaSize * 0.001 / n;
        m.project.Current1 = 10;
        m.project.Current2 = -5;
        ProjectData p = ProjectFromModel(m);
        // A block of each material, side by side along the axis, a fifth of the grid from it.
        const int side = n / 10;
        for (int k = 0; k < 6; ++k) {
            for (int i = n / 5; i < n / 5 + side; ++i) {
                for (int j = 1 + k * side; j <= (k + 1) * side; ++j) {
                    p.Material(i, j) = materials[k];
                }
            }
        }
        const std::string path = std::string(argv[1]) + "/grid" + std::to_string(n) + ".tvd";
        if (auto error = WriteProjectFile(path, p)) {
            std::fprintf(stderr, "%s\n", error->c_str());
            return 1;
        }
    }
    return 0;
}

// Feeds arbitrary bytes to the project-file reader and takes every image it accepts through
// what opening, showing and saving it does: the model with its arrays, the drawing of the
// material map read back as RUN reads it with a result on show, the material map built when
// the calculation check lets the project through (it must be finite), the evaluation of the
// stored potential, and the image written again, which must read back. Slow (whole arrays per
// input); fuzz_project_parse covers the reading and checking alone.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "io/project_file.h"
#include "model/project_drawing.h"
#include "model/raster_surface.h"
#include "solver/calculation.h"
#include "solver/coil_quantities.h"
#include "solver/drawn_model.h"
#include "solver/material_map.h"
#include "solver/material_sampling.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

bool AllFinite(const std::vector<double>& values) {
    for (double v : values) {
        if (!std::isfinite(v)) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tesvid;
    ProjectReadResult read = ParseProject(data, size);
    if (!read.project) {
        return 0;
    }
    static const Project start = FirstStartProject();
    Model m;
    m.project = start;
    ApplyProject(m, std::move(*read.project));
    const int n = m.project.GridSize;

    // The window shows the map as a drawing; RUN with a result on show reads it back.
    static RasterSurface area(400, 400);
    area.SetScale(n, n);
    area.SetBackColor(kVacuumColor);
    area.Clear();
    DrawProject(m, area);
    const Grid2D<MaterialCode> sampled = SampleMaterial(area, n);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            Require(sampled(i, j) == m.arrays.Material(i, j));
        }
    }

    // A project the calculation check lets through gives a finite material map.
    Model run = m;
    CoilFigures coil1, coil2;
    ComputeCoilFigures(sampled, CoilInputs{m.project.GridStep, m.project.Current1, m.project.Current2, m.project.WireDiameter1, m.project.WireDiameter2},
                       coil1, coil2);
    run.project.CurrentDensity1 = coil1.curDens;
    run.project.CurrentDensity2 = coil2.curDens;
    if (!CalculationRefusal(run, sampled)) {
        BuildMaterialMap(run, sampled);
        Require(AllFinite(run.arrays.Source.Vector()) && AllFinite(run.arrays.Reluctivity.Vector()));
    }

    EvaluateField(m);
    // The written image of what was loaded must be readable again.
    const std::vector<std::uint8_t> bytes = SerializeProject(ProjectFromModel(m));
    Require(ParseProject(bytes.data(), bytes.size()).project.has_value());
    return 0;
}

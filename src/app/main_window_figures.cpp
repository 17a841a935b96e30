// The engineering figures in the window: the Figures window, recomputed whenever a field is
// shown or a project opened; the body chosen by a click in the result view, outlined on the
// drawing area; the flux through the probe's circle beside the field read-out.

#include <QLabel>
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "app/figures_window.h"
#include "app/main_window.h"
#include "platform/number_text.h"
#include "platform/picture_box.h"
#include "solver/engineering_figures.h"
#include "view/field_probe.h"

namespace tesvid {

namespace {

// The nodes of the body of node (i, j): those of its material connected to it through the
// sides of their cells, as the figures take a body. n + 1 by n + 1 flags, column by column.
std::vector<char> BodyNodes(const Grid2D<MaterialCode>& mat, int i, int j) {
    const int n = mat.N();
    std::vector<char> in(static_cast<std::size_t>(n + 1) * static_cast<std::size_t>(n + 1), 0);
    const auto at = [n](int p, int q) { return static_cast<std::size_t>(p) * (n + 1) + q; };
    const MaterialCode material = mat(i, j);
    std::vector<std::pair<int, int>> stack{{i, j}};
    in[at(i, j)] = 1;
    while (!stack.empty()) {
        const auto [p, q] = stack.back();
        stack.pop_back();
        for (const auto& [u, v] : {std::pair{p - 1, q}, {p + 1, q}, {p, q - 1}, {p, q + 1}}) {
            if (mat.Contains(u, v) && in[at(u, v)] == 0 && mat(u, v) == material) {
                in[at(u, v)] = 1;
                stack.push_back({u, v});
            }
        }
    }
    return in;
}

// The pixels within `reach` pixels (across, down or both) of a flagged pixel of the w x h mask.
std::vector<char> Widened(const std::vector<char>& mask, int w, int h, int reach) {
    std::vector<char> across(mask.size(), 0), both(mask.size(), 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            for (int d = std::max(0, x - reach); d <= std::min(w - 1, x + reach); ++d) {
                across[static_cast<std::size_t>(y * w + x)] |=
                    mask[static_cast<std::size_t>(y * w + d)];
            }
        }
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            for (int d = std::max(0, y - reach); d <= std::min(h - 1, y + reach); ++d) {
                both[static_cast<std::size_t>(y * w + x)] |=
                    across[static_cast<std::size_t>(d * w + x)];
            }
        }
    }
    return both;
}

// The pixels of the body's outline on the drawing area, as offsets into the pixel block: a
// band two pixels wide around its cells, one pixel off them, so that it stays clear of the
// region outline the result view draws along the cells' borders. A pixel whose centre lies on
// a cell of the body, its border included, belongs to the body. Nothing when the area's scale
// is not the map's grid.
std::vector<int> BodyOutlinePixels(const RasterSurface& area, const Grid2D<MaterialCode>& mat,
                                   int i, int j) {
    const int n = mat.N();
    if (!mat.Contains(i, j) || area.ScaleWidth() != n || area.ScaleHeight() != n) {
        return {};
    }
    const std::vector<char> in = BodyNodes(mat, i, j);
    const int w = area.WidthPixels();
    const int h = area.HeightPixels();
    // The nodes whose closed cells hold a pixel centre: lo .. hi, two on a border.
    const auto nodes = [n](double user) {
        return std::pair{std::max(0, static_cast<int>(std::ceil(user - 0.5))),
                         std::min(n, static_cast<int>(std::floor(user + 0.5)))};
    };
    std::vector<char> body(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
    for (int y = 0; y < h; ++y) {
        const auto [q0, q1] = nodes(area.ToUserY(y));
        for (int x = 0; x < w; ++x) {
            const auto [p0, p1] = nodes(area.ToUserX(x));
            for (int p = p0; p <= p1; ++p) {
                for (int q = q0; q <= q1; ++q) {
                    body[static_cast<std::size_t>(y * w + x)] |=
                        in[static_cast<std::size_t>(p) * (n + 1) + q];
                }
            }
        }
    }
    const std::vector<char> near = Widened(body, w, h, 1);
    const std::vector<char> band = Widened(body, w, h, 3);
    std::vector<int> pixels;
    for (int o = 0; o < w * h; ++o) {
        if (band[static_cast<std::size_t>(o)] != 0 && near[static_cast<std::size_t>(o)] == 0) {
            pixels.push_back(o);
        }
    }
    return pixels;
}

// Inverts the pixels: twice leaves the picture as it was.
void InvertPixels(RasterSurface& area, const std::vector<int>& pixels) {
    const DrawMode mode = area.GetDrawMode();
    area.SetDrawMode(DrawMode::Invert);
    const int w = area.WidthPixels();
    for (const int o : pixels) {
        area.FillPixelRect(o % w, o / w, o % w, o / w, Rgb{0, 0, 0});
    }
    area.SetDrawMode(mode);
}

}  // namespace

void MainWindow::setUpFigures() {
    figuresWindow_ = new FiguresWindow(services_.clipboard, this);
    figuresWindow_->ShowField(model_, false);
}

void MainWindow::onShowFigures() {
    figuresWindow_->ShowBeside(*this);
}

void MainWindow::onCopyFigures() {
    figuresWindow_->CopyToClipboard();
}

void MainWindow::refreshFigures(bool fieldIsResult) {
    figuresWindow_->ShowField(model_, fieldIsResult);
    bodyOutline_.clear();
}

void MainWindow::forgetChosenBody() {
    // The picture was replaced: the outline went with it.
    bodyOutline_.clear();
    if (figuresWindow_ != nullptr) {
        figuresWindow_->ForgetBody();
    }
}

void MainWindow::chooseBody(QPointF point) {
    // While a calculation runs the picture and the arrays are the calculation's.
    if (busy_) {
        return;
    }
    InvertPixels(drawingArea_->Surface(), bodyOutline_);
    bodyOutline_.clear();
    const int i = ProbeNode(static_cast<float>(point.x()));
    const int j = ProbeNode(static_cast<float>(point.y()));
    if (figuresWindow_->ChooseBody(model_, i, j)) {
        bodyOutline_ = BodyOutlinePixels(drawingArea_->Surface(), model_.arrays.Material, i, j);
        InvertPixels(drawingArea_->Surface(), bodyOutline_);
        figuresWindow_->ShowBeside(*this);
    }
    drawingArea_->update();
}

void MainWindow::showProbeFlux() {
    const int xr = static_cast<int>(pointer_.LastX);
    const int yr = static_cast<int>(pointer_.LastY);
    const double h = model_.project.GridStep;
    if (ProbeNodeHasField(model_, xr, yr) && model_.arrays.VecPot.Contains(xr, yr) && h > 0 &&
        std::isfinite(h)) {
        fieldFlux_->setText(QString::fromStdString(EngineeringText(
            FluxThroughNodeCircle(model_, xr, yr), "Wb", LocaleDecimalSeparator())));
    }
}

}  // namespace tesvid

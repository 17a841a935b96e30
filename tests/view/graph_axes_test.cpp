// Graph axes: nice ticks, the true maximum, labels inside the picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "model/raster_surface.h"
#include "view/distribution_graph.h"

namespace tesvid {
namespace {

// A fixed-cell font that keeps every text's box.
class TextBoxSurface : public RasterSurface {
  public:
    struct Box {
        std::string text;
        int x, y, w, h;
    };
    TextBoxSurface(int w, int h, int cellWidth, int lineHeight)
        : RasterSurface(w, h), cell_(cellWidth), line_(lineHeight) {}
    std::vector<Box> boxes;

  protected:
    int DrawText(int px, int py, std::string_view text, Rgb) override {
        const TextExtent e = MeasureTextPixels(text);
        boxes.push_back(
            Box{std::string(text), px, py, static_cast<int>(std::ceil(e.width)), line_});
        return line_;
    }
    TextExtent MeasureTextPixels(std::string_view text) const override {
        return TextExtent{static_cast<double>(text.size()) * cell_, static_cast<double>(line_)};
    }

  private:
    int cell_, line_;
};

bool Overlap(const TextBoxSurface::Box& a, const TextBoxSurface::Box& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

double LabelNumber(std::string text, char separator) {
    std::replace(text.begin(), text.end(), separator, '.');
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' ? v : std::numeric_limits<double>::quiet_NaN();
}

double Mantissa(double step) {
    return step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
}
bool IsNiceStep(double step) {
    const double m = Mantissa(step);
    return std::fabs(m - 1) < 1e-9 || std::fabs(m - 2) < 1e-9 || std::fabs(m - 5) < 1e-9;
}

TEST(NiceTickStep, SmallestNiceStepWithinTheIntervalLimit) {
    struct Case {
        double range;
        int maxIntervals;
        double step;
    } cases[] = {{100, 10, 10}, {100, 9, 20}, {0.001, 5, 0.0002}, {7, 0, 10}, {0, 5, 1}};
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(NiceTickStep(c.range, c.maxIntervals), c.step) << c.range;
    }
    // A nice step, few enough intervals, and the next finer nice step too many.
    for (double range = 1e-4; range < 1e6; range *= 1.37) {
        for (int maxIntervals : {1, 3, 4, 7, 12}) {
            const double step = NiceTickStep(range, maxIntervals);
            ASSERT_TRUE(IsNiceStep(step)) << range;
            EXPECT_LE(range / step, maxIntervals * (1 + 1e-9)) << range;
            const double finer = step * (std::fabs(Mantissa(step) - 5) < 1e-9 ? 0.4 : 0.5);
            EXPECT_GT(range / finer, maxIntervals * (1 - 1e-9)) << range << " " << maxIntervals;
        }
    }
}

TEST(TickText, AsManyDecimalsAsTheStep) {
    EXPECT_EQ(TickText(3 * 0.1, 0.1), "0.3");  // 0.30000000000000004
    EXPECT_EQ(TickText(1.5, 0.5, ','), "1,5");
    EXPECT_EQ(TickText(-1e-18, 0.5), "0.0");
}

// Row 12 peaks at k = 37, with a NaN at 70 and a larger value at node 0 (off the graph).
Model GraphModel(int n, float areaMm, double peakTesla) {
    Model m;
    m.project.GridSize = static_cast<std::int16_t>(n), m.project.AreaSize = areaMm;
    m.project.GridStep = areaMm * 0.001 / n;
    m.field.B.Create(n);
    for (int k = 0; k <= n; ++k) {
        const double d = (k - 37.0) / 15;
        m.field.B(k, 12) = static_cast<float>(peakTesla * std::exp(-d * d));
        m.field.B(12, k) = static_cast<float>(0.0021 + 0.00003 * k);
    }
    m.field.B(0, 12) = 5.0f;
    m.field.B(70, 12) = std::numeric_limits<float>::quiet_NaN();
    return m;
}

TEST(DistributionGraph, AxesLabelsAndTrueMaximumFitThePicture) {
    struct Case {
        int width, height, cell, line;
        GraphAxis axis;
        float areaMm;
        double peakTesla;
        char separator;
    } cases[] = {
        {300, 190, 7, 12, GraphAxis::R, 100, 0.09999, '.'},  // a peak just under a tick
        {640, 420, 9, 16, GraphAxis::R, 37, 1.7, ','},       // enlarged, larger face
        {220, 140, 5, 9, GraphAxis::Z, 3.7f, 0.1, ','},      // small window, small area
    };
    const int n = 100;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " area " << c.areaMm);
        const Model m = GraphModel(n, c.areaMm, c.peakTesla);
        TextBoxSurface picture(c.width, c.height, c.cell, c.line);
        DrawDistributionGraph(m, picture, c.axis, 12, 12, c.separator);
        const auto& boxes = picture.boxes;

        for (std::size_t a = 0; a < boxes.size(); ++a) {
            const auto& b = boxes[a];
            EXPECT_TRUE(b.x >= 0 && b.y >= 0 && b.x + b.w <= c.width && b.y + b.h <= c.height)
                << b.text;
            EXPECT_EQ(b.text.find(c.separator == ',' ? '.' : ','), std::string::npos) << b.text;
            for (std::size_t o = a + 1; o < boxes.size(); ++o) {
                EXPECT_FALSE(Overlap(b, boxes[o])) << b.text << " / " << boxes[o].text;
            }
        }

        double peak = 0;
        for (int k = 1; k < n; ++k) {
            const double v = c.axis == GraphAxis::R ? m.field.B(k, 12) : m.field.B(12, k);
            if (std::isfinite(v)) {
                peak = std::max(peak, std::fabs(v) * 1e4);
            }
        }
        // The bottom row holds the positions, the others the values.
        std::vector<double> values, positions;
        int plotTop = c.height;
        const int bottomRow = std::max_element(boxes.begin(), boxes.end(), [](auto& p, auto& q) {
                                  return p.y < q.y;
                              })->y;
        const TextBoxSurface::Box* maximum = nullptr;
        for (const auto& b : boxes) {
            const double v = LabelNumber(b.text, c.separator);
            if (std::isfinite(v)) {
                (b.y == bottomRow ? positions : values).push_back(v);
                if (b.y != bottomRow) {
                    plotTop = std::min(plotTop, b.y + b.h / 2);  // the top value's tick
                }
            }
            if (b.text.rfind("Bmax=", 0) == 0) {
                maximum = &b;
            }
        }
        ASSERT_NE(maximum, nullptr);
        const std::string shown = maximum->text.substr(5, maximum->text.size() - 5 - 2);
        EXPECT_NEAR(LabelNumber(shown, c.separator), peak, 0.05 + 1e-9) << maximum->text;
        EXPECT_GE(maximum->y, plotTop - 1);  // inside the plot, over the peak

        for (auto* ticks : {&values, &positions}) {
            std::sort(ticks->begin(), ticks->end());
            ASSERT_GE(ticks->size(), 2u);
            EXPECT_EQ(ticks->front(), 0);
            const double step = (*ticks)[1] - (*ticks)[0];
            EXPECT_TRUE(IsNiceStep(step)) << step;
            for (std::size_t k = 1; k < ticks->size(); ++k) {
                EXPECT_NEAR((*ticks)[k] - (*ticks)[k - 1], step, step * 1e-6);
            }
        }
        EXPECT_GE(values.back(), peak);
        EXPECT_LE(positions.back(), c.areaMm * (1 + 1e-6));
        EXPECT_GT(positions.back() + 2 * (positions[1] - positions[0]), c.areaMm);
        EXPECT_LE(values.size(), static_cast<std::size_t>(c.height / c.line));
    }
}

}  // namespace
}  // namespace tesvid

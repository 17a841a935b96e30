#include "platform/float_progress_bar.h"

#include <algorithm>
#include <cmath>

namespace tesvid {

FloatProgressBar::FloatProgressBar(QWidget* parent) : QProgressBar(parent) {
    setRange(0, kSteps);
    setTextVisible(false);
    Show();
}

void FloatProgressBar::SetMinimum(double v) {
    minimum_ = v;
    Show();
}

void FloatProgressBar::SetMaximum(double v) {
    maximum_ = v;
    Show();
}

void FloatProgressBar::SetValue(double v) {
    value_ = v;
    Show();
}

void FloatProgressBar::Show() {
    const double span = maximum_ - minimum_;
    double fraction = 0;
    if (std::isfinite(value_) && std::isfinite(span) && span > 0) {
        fraction = std::clamp((value_ - minimum_) / span, 0.0, 1.0);
    } else if (value_ >= maximum_) {
        fraction = 1;
    }
    setValue(static_cast<int>(std::lround(fraction * kSteps)));
}

}  // namespace tesvid

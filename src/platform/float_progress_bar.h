#pragma once

#include <QProgressBar>

namespace tesvid {

// A progress bar with a floating-point minimum, maximum and value, shown on a fixed integer
// range fine enough for every value the calculation sets (0.0001 .. 8 and the like).
class FloatProgressBar : public QProgressBar {
    Q_OBJECT
  public:
    static constexpr int kSteps = 10000;

    explicit FloatProgressBar(QWidget* parent = nullptr);

    void SetMinimum(double v);
    void SetMaximum(double v);
    // Values outside minimum .. maximum are shown at the nearer end.
    void SetValue(double v);
    double Minimum() const { return minimum_; }
    double Maximum() const { return maximum_; }
    double Value() const { return value_; }

  private:
    void Show();

    double minimum_ = 0.0001;
    double maximum_ = 8;
    double value_ = 0.0001;
};

}  // namespace tesvid

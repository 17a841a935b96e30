#pragma once

#include <QLabel>

namespace tesvid {

// A caption written downwards: each letter of its text on a line of its own, centred, the
// spaces between the letters left out ("A m p e r e s").
class VerticalCaption : public QLabel {
    Q_OBJECT
  public:
    VerticalCaption(const QString& text, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace tesvid

#include "view/forms/distribution_window.h"

#include <QFont>
#include <QVBoxLayout>

#include "platform/picture_box.h"

namespace tesvid {

namespace {

constexpr int kTwipsPerPixel = 15;

}  // namespace

DistributionWindow::DistributionWindow(GraphAxis axis, QWidget* parent)
    : QWidget(parent, Qt::Window), axis_(axis) {
    setObjectName(axis == GraphAxis::R ? "Form2" : "Form3");
    setWindowTitle(axis == GraphAxis::R ? "R distribution" : "Z distribution");
    picture1_ = new PictureBox(kPictureWidth, kPictureHeight, false, this);
    picture1_->setObjectName("Picture1");
    QFont font = picture1_->Surface().Font();
    font.setPointSize(8);
    picture1_->Surface().SetFont(font);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(picture1_);
    setFixedSize(picture1_->sizeHint());
}

void DistributionWindow::DrawDistributionGraph(const Model& m, double x, double y) {
    tesvid::DrawDistributionGraph(m, picture1_->Surface(), axis_, x, y);
    picture1_->update();
}

QImage DistributionWindow::GraphImage() const {
    return picture1_->Surface().Snapshot();
}

QPoint CrossSectionOffset(GraphAxis axis) {
    const int top = axis == GraphAxis::R ? 3645 : 600;
    return QPoint(7095 / kTwipsPerPixel, top / kTwipsPerPixel);
}

DistributionWindow& DistributionWindows::Form2() {
    if (form2_ == nullptr) {
        form2_ = new DistributionWindow(GraphAxis::R, main_);
    }
    return *form2_;
}

DistributionWindow& DistributionWindows::Form3() {
    if (form3_ == nullptr) {
        form3_ = new DistributionWindow(GraphAxis::Z, main_);
    }
    return *form3_;
}

void DistributionWindows::DrawDistributionGraph(const Model& m, double x, double y) {
    Form2().DrawDistributionGraph(m, x, y);
    Form3().DrawDistributionGraph(m, x, y);
}

void DistributionWindows::Show() {
    Form2().show();
    Form3().show();
}

void DistributionWindows::ShowCrossSectionWindows(bool showCrossSections) {
    if (!showCrossSections) {
        return;
    }
    const QPoint origin = main_ != nullptr ? main_->pos() : QPoint(0, 0);
    Form2().move(origin + CrossSectionOffset(GraphAxis::R));
    Form3().move(origin + CrossSectionOffset(GraphAxis::Z));
    Show();
}

void DistributionWindows::Close() {
    if (form2_ != nullptr) {
        form2_->close();
    }
    if (form3_ != nullptr) {
        form3_->close();
    }
}

}  // namespace tesvid

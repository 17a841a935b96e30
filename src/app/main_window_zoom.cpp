// The Draw and View menus, the zoomable drawing area and the status line.
//
// At zoom k every pixel of the 400 x 400 drawing is shown as a k x k block; the drawing itself,
// and everything that paints on it or reads it, stays at 400 x 400. The colour-scale strip is
// drawn anew at k times its height. The controls right of the area move right, and those
// below it move down, by the area's growth; at 1x every control stands where buildLayout put
// it.

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <algorithm>
#include <cmath>

#include "app/main_window.h"
#include "options/options_dialog.h"
#include "platform/number_text.h"
#include "platform/picture_box.h"
#include "platform/settings_store.h"
#include "platform/ui_font.h"
#include "view/field_color_map.h"

namespace tesvid {
namespace {

// The user's zoom in the settings store.
const QString kViewSection = QStringLiteral("View");
const QString kZoomKey = QStringLiteral("Zoom");
constexpr int kMaxZoom = 3;
// The drawing area's side at 1x, and the room it and its border take in the layout.
constexpr int kAreaPixels = 400;
constexpr int kAreaRoom = 404;

// The zoom that gives the drawing area about the size it has on a 96 dpi screen. Qt already
// scales by the device pixel ratio, so only the logical dots per inch count.
int ScreenZoom(const QScreen* screen) {
    if (screen == nullptr) {
        return 1;
    }
    const double k = std::round(screen->logicalDotsPerInch() / 96.0);
    return std::clamp(static_cast<int>(k), 1, kMaxZoom);
}

bool IsBlank(const RasterSurface& s) {
    const std::uint32_t back = s.BackColor().Packed();
    return std::all_of(s.PixelBlock().begin(), s.PixelBlock().end(),
                       [back](std::uint32_t pixel) { return pixel == back; });
}

}  // namespace

void MainWindow::buildViewMenus(QMenuBar* bar) {
    QMenu* draw = bar->addMenu(tr("Draw"));
    draw->setObjectName("drawMenu");
    QAction* rectangle = draw->addAction(tr("Rectangle..."));
    rectangle->setObjectName("typedRectangleAction");
    connect(rectangle, &QAction::triggered, this, &MainWindow::onTypedRectangle);

    QMenu* view = bar->addMenu(tr("View"));
    view->setObjectName("viewMenu");
    auto* zooms = new QActionGroup(this);
    for (int k = 1; k <= kMaxZoom; ++k) {
        QAction* a = view->addAction(tr("Zoom %1x").arg(k));
        a->setObjectName(QStringLiteral("zoom%1Action").arg(k));
        a->setCheckable(true);
        zooms->addAction(a);
        connect(a, &QAction::triggered, this, [this, k] { chooseZoom(k); });
        zoomActions_[static_cast<std::size_t>(k - 1)] = a;
    }
    view->addSeparator();
    QAction* in = view->addAction(tr("Zoom In"));
    in->setObjectName("zoomInAction");
    in->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    connect(in, &QAction::triggered, this, [this] { chooseZoom(zoom_ + 1); });
    QAction* out = view->addAction(tr("Zoom Out"));
    out->setObjectName("zoomOutAction");
    out->setShortcut(QKeySequence::ZoomOut);
    connect(out, &QAction::triggered, this, [this] { chooseZoom(zoom_ - 1); });
    zoomActions_[0]->setChecked(true);
    // The pointer's place while editing; a fixed-size window needs no size grip.
    statusBar()->setSizeGripEnabled(false);
    statusBar()->setFont(UiFont());
    // Its height before and after the window is first shown is the same: the window's fixed
    // size fits it at every zoom.
    statusBar()->setFixedHeight(statusBar()->sizeHint().height());
}

int MainWindow::storedZoom() {
    const QString text =
        services_.settings.Read(OptionsDialog::kApplication, kViewSection, kZoomKey, QString());
    const double k = ToNumber(text);
    if (k >= 1 && k <= kMaxZoom && k == std::floor(k)) {
        return static_cast<int>(k);
    }
    return ScreenZoom(screen());
}

void MainWindow::chooseZoom(int k) {
    setZoom(k);
    services_.settings.Write(OptionsDialog::kApplication, kViewSection, kZoomKey,
                             QString::number(zoom_));
}

void MainWindow::setZoom(int k) {
    k = std::clamp(k, 1, kMaxZoom);
    QWidget* client = centralWidget();
    if (layoutAtOneX_.empty()) {
        for (QWidget* w : client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            layoutAtOneX_.emplace_back(w, w->geometry());
        }
        layoutAtOneX_.emplace_back(client, QRect(QPoint(0, 0), client->size()));
    }
    zoom_ = k;
    zoomActions_[static_cast<std::size_t>(k - 1)]->setChecked(true);
    const int growth = kAreaPixels * (k - 1);

    drawingArea_->SetZoom(k);
    // The strip keeps what it showed: a scale is drawn anew at the new height.
    if (colorScale_->Surface().HeightPixels() != kAreaPixels * k) {
        const bool scaleShown = !IsBlank(colorScale_->Surface());
        colorScale_->ResizeSurface(colorScale_->Surface().WidthPixels(), kAreaPixels * k);
        if (scaleShown) {
            DrawColorScale(colorScale_->Surface(), FieldMaximum(model_.field.B),
                           LocaleDecimalSeparator());
        }
    }
    for (const auto& [widget, place] : layoutAtOneX_) {
        if (widget == client) {
            client->setFixedSize(place.size() + QSize(growth, growth));
            continue;
        }
        // The column right of the area moves as one block; what stands below it moves down.
        QPoint shift(place.left() >= kAreaRoom ? growth : 0,
                     place.left() < kAreaRoom && place.top() >= kAreaRoom ? growth : 0);
        // The captions under the area: "Radius" in its middle, the area's size at its end.
        if (widget->objectName() == QLatin1String("radiusCaption")) {
            shift.setX(growth / 2);
        } else if (widget == static_cast<QWidget*>(areaSizeLabel_)) {
            shift.setX(growth);
        }
        widget->move(place.topLeft() + shift);
    }
    // The window keeps a fixed size: the one that fits the client now.
    ensurePolished();
    layout()->invalidate();
    setFixedSize(sizeHint());
}

void MainWindow::showPointerStatus(QPointF point) {
    const Project& p = model_.project;
    if (!editorMode_) {
        statusBar()->clearMessage();
        return;
    }
    const float i = RoundToNode(static_cast<float>(point.x()));
    const float j = RoundToNode(static_cast<float>(point.y()));
    if (!(i >= 0 && j >= 0 && i <= p.GridSize && j <= p.GridSize)) {
        statusBar()->clearMessage();
        return;
    }
    statusBar()->showMessage(tr("R = %1 mm   Z = %2 mm   node %3, %4")
                                 .arg(GeneralQTextSingle(i * p.AreaSize / p.GridSize),
                                      GeneralQTextSingle(j * p.AreaSize / p.GridSize))
                                 .arg(static_cast<int>(i))
                                 .arg(static_cast<int>(j)));
}

}  // namespace tesvid

// The engineer's view from the window: Draw > Rectangle, the zoomable drawing area and the
// status line, the graphs and the scale after every RUN, the colour report on paper.

#include <QCheckBox>
#include <QComboBox>
#include <QPainter>
#include <QProcess>
#include <QStatusBar>
#include <QTimer>
#include <map>

#include "app/distribution_window.h"
#include "app/support/window_driver.h"
#include "model/typed_rectangle.h"
#include "solver/material_sampling.h"
#include "view/field_color_map.h"

using namespace tesvid;
using namespace tesvid::testing;

namespace {

// Draw > Rectangle with the material and the bounds (r from, r to, z from, z to) typed, then
// OK; the dialog, back after a refusal, is cancelled. Returns how often it was shown.
int TypeRectangle(MainWindow& w, const QString& material, const QStringList& bounds) {
    int shown = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* d = w.findChild<QDialog*>("rectangleDialog");
        if (d != nullptr && d->isVisible() && ++shown > 1) {
            d->reject();
        } else if (d != nullptr && d->isVisible()) {
            Child<QComboBox>(*d, "materialCombo").setCurrentText(material);
            for (int k = 0; k < 4; ++k) {
                TypeInto(*d, std::array{"rFromEdit", "rToEdit", "zFromEdit", "zToEdit"}[k],
                         bounds[k]);
            }
            Click(*d, "okButton");
        }
    });
    timer.start(0);
    Trigger(w, "typedRectangleAction");
    return shown;
}

// Text drawn on the surface from now on has no antialiasing: its pixels are its colour.
QImageSurface& Crisp(QImageSurface& s) {
    QFont font = s.Font();
    font.setStyleStrategy(QFont::NoAntialias);
    s.SetFont(font);
    return s;
}

// Whether the surface shows the text in its font and colour somewhere: every pixel of the
// text in the colour, no other pixel of its box above the baseline in it.
bool ShowsText(const QImageSurface& s, const QString& text, QColor ink) {
    const QFontMetrics metrics(s.Font());
    QImage glyphs(metrics.horizontalAdvance(text), metrics.ascent(), QImage::Format_RGB32);
    glyphs.fill(ink.rgb() ^ 0xffffff);
    QPainter painter(&glyphs);
    painter.setFont(s.Font());
    painter.setPen(ink);
    painter.drawText(0, metrics.ascent(), text);
    const QImage& p = s.Image();
    for (int k = 0; k < p.width() * p.height(); ++k) {
        const int x = k % p.width(), y = k / p.width();
        bool same = x + glyphs.width() <= p.width() && y + glyphs.height() <= p.height();
        for (int g = 0; same && g < glyphs.width() * glyphs.height(); ++g) {
            const int u = g % glyphs.width(), v = g / glyphs.width();
            same = (glyphs.pixel(u, v) == ink.rgb()) == (p.pixel(x + u, y + v) == ink.rgb());
        }
        if (same) {
            return true;
        }
    }
    return false;
}

}  // namespace

class EngineerViewTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { QLocale::setDefault(QLocale::c()); }
    void typedRectanglePaintsTheRuleNodesOrNothing() {
        Session s("[Grid]\nComboGrid=3\n");  // 400 x 400 over 100 mm
        QCOMPARE(TypeRectangle(s.w, "iron", {"0", "10", "30", "70"}), 1);
        // The rule's nodes, as the batch tool paints them on its material grid.
        Grid2D<MaterialCode> grid(400);
        QVERIFY(!PaintRectangle(grid, TypedRectangle{"Iron", 0, 10, 30, 70}, 100));
        QVERIFY(SampleMaterial(DrawingArea(s.w).Surface(), 400) == grid);
        QCOMPARE(NodesOf(s.w, MaterialCode::Iron), NodeBlock(0, 120, 40, 280, 400));
        // Refusals (material, r from, r to, z from, z to; what the message names) paint
        // nothing and bring the dialog back.
        const QImage before = DrawingArea(s.w).Surface().Snapshot();
        const QStringList refusals[] = {{"Iron", "0", "120", "0", "10", "within the area"},
                                        {"Coil 1", "0", "10", "70", "30", "reversed"},
                                        {"Copper", "0", "ten", "30", "70", "material \"Copper\""}};
        for (const QStringList& r : refusals) {
            QCOMPARE(TypeRectangle(s.w, r[0], r.mid(1, 4)), 2);
            QVERIFY(s.services.dialogs.messages.back().text.contains(r[5]));
            QVERIFY(DrawingArea(s.w).Surface().Snapshot() == before);
        }
        QCOMPARE(s.services.dialogs.messages.size(), std::size(refusals));  // one each
        // The typed rectangle is one undoable step.
        Trigger(s.w, "undoAction");
        QCOMPARE(NodesOf(s.w, MaterialCode::Iron).size(), std::size_t{0});
    }

    void zoomShowsBlocksAndPaintsTheSameNodes() {
        for (int k : {1, 2}) {
            Session s;
            MainWindow& w = s.w;
            PictureBox& area = DrawingArea(w);
            Trigger(w, qPrintable(QStringLiteral("zoom%1Action").arg(k)));
            QCOMPARE(area.contentsRect().size(), QSize(400 * k, 400 * k));
            QCOMPARE(Child<PictureBox>(w, "colorScale").height(), area.height());
            QVERIFY(s.services.ReadSettingsFile().contains("Zoom=" + QByteArray::number(k)));
            ChooseMaterial(w, 1);
            DragOnPicture(w, Qt::LeftButton, {{7, 9}, {30, 41}});
            QCOMPARE(NodesOf(w, MaterialCode::Iron), NodeBlock(7, 9, 30, 41, 50));
            HoverAt(w, area.ToWidget(12, 20) + QPoint(k / 2, k / 2));  // off the block's middle
            QCOMPARE(w.statusBar()->currentMessage(),
                     QString("R = 24 mm   Z = 40 mm   node 12, 20"));
            const QImage shown = area.grab(area.contentsRect()).toImage();
            QVERIFY(shown.convertToFormat(QImage::Format_RGB32) ==
                    area.Surface().Image().scaled(400 * k, 400 * k));  // k x k blocks
        }
        Session s("[View]\nZoom=3\n");  // the zoom kept is the next session's
        QCOMPARE(DrawingArea(s.w).contentsRect().size(), QSize(1200, 1200));
    }

    void everyResultReachesGraphsScaleAndPaper() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        Session s;
        MainWindow& w = s.w;
        PaintTestCoil(w);
        // The label over the R graph's peak: the largest |B| on row 25, in gauss.
        auto peakLabel = [&] {
            double peak = 0;
            for (int i = 1; i < 50; ++i) {
                peak = std::max(peak, 1e4 * w.model().field.B(i, 25));
            }
            return QStringLiteral("Bmax=%1 G").arg(QLocale().toString(peak, 'f', 1));
        };
        QImageSurface& scale = Crisp(Child<PictureBox>(w, "colorScale").Surface());
        Click(w, "runButton");
        auto& rWindow = Child<DistributionWindow>(w, "rDistributionWindow");
        auto graph = [&]() -> QImageSurface& {
            return Child<PictureBox>(rWindow, "graphArea").Surface();
        };
        Crisp(graph());
        HoverOverPicture(w, 20, 25);  // the graphs' point from now on
        const QString first = peakLabel();
        QVERIFY2(ShowsText(graph(), first, Qt::blue), qPrintable(first));
        TypeInto(w, "currentEdit1", "3");
        Click(w, "runButton");
        const QString second = peakLabel();
        QVERIFY2(ShowsText(graph(), second, Qt::blue), qPrintable(second));
        QVERIFY(!ShowsText(graph(), first, Qt::blue));
        // The scale's top label carries the unit.
        const double bmax = FieldMaximum(w.model().field.B);
        const QString top = QLocale().toString(ColorScaleLabelValue(5, bmax), 'f', 1) + " G";
        QVERIFY(ShowsText(scale, top, Qt::black) || ShowsText(scale, top, Qt::white));
        // A larger window gets the graph drawn anew at its size.
        rWindow.resize(460, 300);
        QTRY_COMPARE(rWindow.GraphImage().size(), QSize(460, 300));
        QVERIFY(ShowsText(graph(), second, Qt::blue));
        // Print: the colours that cover most of the map on screen (the ramp's, not grey) are
        // on the colour report's page, and none on the line report's.
        std::map<QRgb, int> onScreen;
        const std::uint32_t* screen = DrawingArea(w).Surface().Pixels();
        std::for_each(screen, screen + 400 * 400, [&](QRgb p) { ++onScreen[p]; });
        QTemporaryDir dir;
        for (bool colour : {false, true}) {
            WithOptions(w, [&](OptionsDialog& d) {
                Child<QCheckBox>(d, "colorReportCheck").setChecked(colour);
                Click(d, "okButton");
            });
            const QString base = dir.filePath(colour ? "colour" : "lines");
            s.services.dialogs.printToPdf = base + ".pdf";
            Trigger(w, "printAction");
            // pdftoppm: poppler-utils, installed by tools/install-deps.
            QVERIFY(QProcess::execute(
                        "pdftoppm", {"-r", "72", "-png", "-singlefile", base + ".pdf", base}) == 0);
            const QImage page = QImage(base + ".png").convertToFormat(QImage::Format_RGB32);
            const auto* bits = reinterpret_cast<const QRgb*>(page.constBits());
            const std::set<QRgb> onPage(bits, bits + page.width() * page.height());
            int checked = 0;
            for (const auto& [rgb, n] : onScreen) {
                if (n >= 500 && (qRed(rgb) != qGreen(rgb) || qGreen(rgb) != qBlue(rgb))) {
                    QCOMPARE(onPage.count(rgb), std::size_t{colour});
                    ++checked;
                }
            }
            QVERIFY(checked >= 3);
        }
        // A typed rectangle over a result: the editing view, with the drawing kept.
        QCOMPARE(TypeRectangle(w, "Iron", {"60", "70", "10", "20"}), 1);
        QCOMPARE(NodesOf(w, MaterialCode::Iron), NodeBlock(30, 5, 35, 10, 50));
        QCOMPARE(NodeMaterial(w, 11, 25), MaterialCode::Coil1);
        w.close();  // the report's choice is kept
        QVERIFY(s.services.ReadSettingsFile().contains("CheckColorReport=1"));
    }
};

QTEST_MAIN(EngineerViewTest)
#include "engineer_view_test.moc"

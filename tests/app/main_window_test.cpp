// The main window as the user meets it: first start and layout, painting, the Editor command,
// the coordinate read-out, copies and Help.

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QSlider>
#include <QTest>

#include "app/main_window.h"
#include "app/support/test_services.h"
#include "app/support/window_driver.h"
#include "options/options_dialog.h"
#include "platform/picture_box.h"
#include "solver/drawn_model.h"

using namespace tesvid;
using namespace tesvid::testing;

namespace {

constexpr Rgb kGrey = MaterialColor(MaterialCode::Vacuum);
using Shown = std::pair<QWidget*, int>;

bool AllPixels(const QImageSurface& s, Rgb c) {
    for (int y = 0; y < s.HeightPixels(); ++y) {
        for (int x = 0; x < s.WidthPixels(); ++x) {
            if (!(s.PixelAt(x, y) == c)) {
                return false;
            }
        }
    }
    return true;
}

// Captions cut off by their control, siblings that overlap, children outside their group.
QStringList LayoutFaults(QWidget* root, const QStringList& allowedOverlaps) {
    QStringList faults;
    for (QLabel* label : root->findChildren<QLabel*>()) {
        const bool fits = label->wordWrap()
                              ? label->heightForWidth(label->width()) <= label->height()
                              : label->sizeHint().width() <= label->width();
        if (!label->text().isEmpty() && !fits) {
            faults << "label " + label->text();
        }
    }
    for (QAbstractButton* b : root->findChildren<QAbstractButton*>()) {
        if (QFontMetrics(b->font()).horizontalAdvance(b->text()) + 6 > b->width()) {
            faults << "button " + b->text();
        }
    }
    QList<QWidget*> parents = root->findChildren<QWidget*>();
    parents.prepend(root);
    for (QWidget* parent : parents) {
        QList<QWidget*> children;
        for (QObject* o : parent->children()) {
            auto* w = qobject_cast<QWidget*>(o);
            if (w && !w->isWindow() && w->isVisibleTo(root) &&
                !w->objectName().startsWith("qt_")) {
                children << w;
            }
        }
        for (int a = 0; a < children.size(); ++a) {
            if (qobject_cast<QGroupBox*>(parent) &&
                !parent->rect().contains(children[a]->geometry())) {
                faults << children[a]->objectName() + " sticks out";
            }
            for (int b = a + 1; b < children.size(); ++b) {
                const QString pair = children[a]->objectName() + "/" + children[b]->objectName();
                if (children[a]->geometry().intersects(children[b]->geometry()) &&
                    !allowedOverlaps.contains(pair)) {
                    faults << pair;
                }
            }
        }
    }
    return faults;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void firstStartAndLayout();
    void toolsPaintTheDraggedNodes();
    void editorKeepsTheStrokesOfTheEditingView();
    void coordinatesAndCopies();
    void helpShowsContentsOrSaysThereIsNone();
};

void MainWindowTest::firstStartAndLayout() {
    TestServices services;
    MainWindow w(services.Services());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const Project& p = w.model().project;
    const Project first = FirstStartProject();
    QCOMPARE(w.windowTitle(), QString("Tesvid"));
    QCOMPARE(p.GridSize, first.GridSize);
    QCOMPARE(p.AreaSize, first.AreaSize);
    QCOMPARE(p.Rjac1, first.Rjac1);
    QCOMPARE(p.MagMuRec, first.MagMuRec);
    QVERIFY(!w.resultOnShow());
    QVERIFY(AllPixels(DrawingArea(w).Surface(), kGrey));
    QCOMPARE(DrawingArea(w).Surface().ForeColor(), MaterialColor(MaterialCode::Coil1));
    QVERIFY(Child<QAbstractButton>(w, "rectangleToolButton").isChecked());
    QCOMPARE(TextOf(w, "areaSizeLabel"), QString("100"));
    // The sliders at full scale, the currents with them.
    QCOMPARE(Child<QSlider>(w, "currentSlider2").value(), 100);
    QCOMPARE(TextOf(w, "currentEdit2"), QString("10"));
    QCOMPARE(TextOf(w, "powerBox1"), QString("0"));

    // The key places, and every caption fits with nothing overlapping.
    QCOMPARE(w.centralWidget()->size(), QSize(792, 479));
    QCOMPARE(DrawingArea(w).geometry(), QRect(0, 0, 404, 404));
    QCOMPARE(Child(w, "colorScale").pos(), QPoint(408, 0));
    QCOMPARE(Child(w, "materialGroup").pos(), QPoint(472, 0));
    QCOMPARE(Child(w, "coilGroup").geometry(), QRect(608, 0, 177, 377));
    QCOMPARE(Child(w, "runButton").geometry(), QRect(480, 448, 65, 25));
    QCOMPARE(Child(w, "materialButton6").pos(), QPoint(16, 120));  // "Magnet N" is fourth
    const QStringList faults = LayoutFaults(w.centralWidget(), {"coilGroup/barsGroup"});
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(", ")));
    auto& options = Child<OptionsDialog>(w, "optionsDialog");
    QCOMPARE(options.size(), QSize(480, 426));
    QCOMPARE(Child<QGroupBox>(options, "jacobiGroup").title(), QString("Jacobi radius"));
    const QStringList optionFaults = LayoutFaults(&options, {});
    QVERIFY2(optionFaults.isEmpty(), qPrintable(optionFaults.join(", ")));
    QVERIFY(services.dialogs.messages.empty());
}

void MainWindowTest::toolsPaintTheDraggedNodes() {
    TestServices services;
    MainWindow w(services.Services());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // The rubber band passes over other nodes; only the release corner counts.
    DragOnPicture(w, Qt::LeftButton, {{10, 20}, {30, 40}, {5, 5}, {12, 30}});
    QCOMPARE(NodesOf(w, MaterialCode::Coil1), NodeBlock(10, 20, 12, 30, 50));
    // Dragged up and left over the first block, in iron: the iron covers it.
    ChooseMaterial(w, 1);
    DragOnPicture(w, Qt::LeftButton, {{20, 25}, {40, 10}, {11, 22}});
    QCOMPARE(NodesOf(w, MaterialCode::Iron), NodeBlock(11, 22, 20, 25, 50));
    QCOMPARE(NodesOf(w, MaterialCode::Coil1).size(), std::size_t{33 - 8});
    // Node (0, 0) stays Vacuum.
    DragOnPicture(w, Qt::LeftButton, {{3, 3}, {0, 0}});
    QCOMPARE(NodeMaterial(w, 0, 0), MaterialCode::Vacuum);
    QCOMPARE(NodeMaterial(w, 1, 1), MaterialCode::Iron);

    Click(w, "lineToolButton");
    ChooseMaterial(w, 5);
    DragOnPicture(w, Qt::LeftButton, {{30, 30}, {2, 2}, {40, 40}});
    for (int k = 30; k <= 40; ++k) {
        QCOMPARE(NodeMaterial(w, k, k), MaterialCode::Nonmag);
    }
    QCOMPARE(NodeMaterial(w, 31, 30), MaterialCode::Vacuum);
    QCOMPARE(NodeMaterial(w, 20, 20), MaterialCode::Vacuum);  // the band passed over it
    Click(w, "dotToolButton");
    ChooseMaterial(w, 6);
    DragOnPicture(w, Qt::LeftButton, {{44, 2}, {44, 6}});
    QCOMPARE(NodesOf(w, MaterialCode::MagnetN), std::set<Node>({{44, 2}, {44, 6}}));
    const QImage before = DrawingArea(w).Surface().Snapshot();
    DragOnPicture(w, Qt::RightButton, {{10, 10}, {20, 20}});
    QCOMPARE(DrawingArea(w).Surface().Snapshot(), before);
}

void MainWindowTest::editorKeepsTheStrokesOfTheEditingView() {
    TestServices services;
    MainWindow w(services.Services());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    DragOnPicture(w, Qt::LeftButton, {{10, 10}, {14, 14}});
    Click(w, "editorButton");
    QCOMPARE(NodesOf(w, MaterialCode::Coil1), NodeBlock(10, 10, 14, 14, 50));
    // From the result view, Editor shows the map as last built: here the empty one.
    Click(w, "resultButton");
    QVERIFY(w.resultOnShow());
    Click(w, "editorButton");
    QVERIFY(!w.resultOnShow());
    QVERIFY(NodesOf(w, MaterialCode::Coil1).empty());
    DragOnPicture(w, Qt::LeftButton, {{3, 3}});
    QCOMPARE(NodeMaterial(w, 3, 3), MaterialCode::Coil1);  // the pen is the chosen material
}

void MainWindowTest::coordinatesAndCopies() {
    TestServices services;
    services.settings.WriteRawFile("[Grid]\nComboGrid=3\n");
    MainWindow w(services.Services());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.model().project.GridSize, 400);
    HoverOverPicture(w, 37, 12);
    QCOMPARE(TextOf(w, "radiusReadout"), QString("9.25"));
    QCOMPARE(TextOf(w, "axialReadout"), QString("3"));
    QCOMPARE(TextOf(w, "fieldB"), QString("0"));  // the field belongs to the result view
    DragOnPicture(w, Qt::LeftButton, {{100, 100}, {200, 200}});
    // Copy Picture moves the read-out to node (-1, -1) and copies the picture, not the live one.
    Trigger(w, "copyPictureAction");
    QCOMPARE(TextOf(w, "radiusReadout"), QString("-0.25"));
    const QImage copy = services.clipboard.image;
    QCOMPARE(copy.size(), QSize(400, 400));
    QCOMPARE(copy.pixel(150, 150), qRgb(255, 255, 0));
    DragOnPicture(w, Qt::LeftButton, {{300, 300}, {310, 310}});
    QCOMPARE(copy.pixel(305, 305), qRgb(192, 192, 192));
    Trigger(w, "copyScaleAction");
    QCOMPARE(services.clipboard.image.size(), QSize(53, 400));
    Trigger(w, "copyRAction");
    QCOMPARE(services.clipboard.image.width(), 300);
}

void MainWindowTest::helpShowsContentsOrSaysThereIsNone() {
    TestServices services;
    MainWindow w(services.Services());
    const QString none("Unable to display Help Contents. There is no Help associated with this "
                       "project.");
    Trigger(w, "helpAction");
    QCOMPARE(services.dialogs.messages.at(0).text, none);
    QCOMPARE(services.dialogs.messages.at(0).title, QString("Tesvid"));
    WithOptions(w, [&](OptionsDialog& d) {
        Click(d, "helpButton");
        QCOMPARE(services.dialogs.messages.at(1).text, none);
        QCOMPARE(services.dialogs.messages.at(1).title, QString("Options"));
        services.help.file = "tesvid.html";
        Click(d, "helpButton");
        QCOMPARE(services.help.shown.at(0), Shown(&d, kOptionsHelpContext));
    });
    Trigger(w, "helpAction");
    QCOMPARE(services.help.shown.at(1), Shown(&w, 0));
    services.help.error = "The help viewer failed";
    Trigger(w, "helpAction");
    QCOMPARE(services.dialogs.messages.size(), std::size_t{3});
    QCOMPARE(services.dialogs.messages[2].text, QString("The help viewer failed"));
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"

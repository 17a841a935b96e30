// The main window as the user meets it: first start, layout, painting, the view commands,
// copies, New Project and Help.

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include "app/main_window.h"
#include "app/support/test_services.h"
#include "app/support/window_driver.h"
#include "platform/float_progress_bar.h"
#include "platform/picture_box.h"

using namespace tesvid;
using namespace tesvid::testing;

namespace {

constexpr Rgb kGrey = MaterialColor(MaterialCode::Vacuum);

QRect GeometryOf(MainWindow& w, const char* name) {
    auto* widget = w.findChild<QWidget*>(name);
    return widget ? widget->geometry() : QRect();
}

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

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void firstStartWithoutSettings();
    void layoutFollowsTheForm();
    void menusInOrder();
    void rectangleToolPaintsTheDraggedNodes();
    void lineAndDotTools();
    void rightButtonDragPaintsNothing();
    void paletteChoosesThePen();
    void editorDiscardsStrokesNotRun();
    void coordinateReadOut();
    void newProjectClearsTheDrawingOnly();
    void copyCommandsPutBitmapsOnTheClipboard();
    void helpShowsContentsOrSaysThereIsNone();
    void resultAfterAGridChangeIsRefused();
};

void MainWindowTest::firstStartWithoutSettings() {
    TestServices services;
    MainWindow w(services.Services());
    const Model& m = w.model();
    QCOMPARE(w.windowTitle(), QString("Tesvid"));
    QCOMPARE(m.project.GridSize, 50);
    QCOMPARE(m.arrays.MapGridSize, 50);
    QCOMPARE(m.project.AreaSize, 100.0f);
    QCOMPARE(m.project.GridStep, 0.002);
    QCOMPARE(m.project.Rjac1, 0.9995);
    QCOMPARE(m.project.MainSteps, 10);
    QVERIFY(m.ShowCrossSections);
    QVERIFY(!m.ShowIntermediate);
    QVERIFY(m.EditorMode);
    QVERIFY(!m.PointerHold);
    QCOMPARE(m.arrays.Material.N(), 50);
    QVERIFY(std::all_of(m.arrays.Material.Vector().begin(), m.arrays.Material.Vector().end(),
                        [](MaterialCode c) { return c == MaterialCode::Vacuum; }));
    QCOMPARE(w.Picture1->Surface().PenWidth(), 8);
    QVERIFY(AllPixels(w.Picture1->Surface(), kGrey));
    QCOMPARE(w.Picture1->Surface().ForeColor(), MaterialColor(MaterialCode::Coil1));
    QVERIFY(w.OptionColor[3]->isChecked());
    QCOMPARE(w.ChosenColor(), 3);
    QVERIFY(w.Option1[2]->isChecked());
    QCOMPARE(w.ChosenTool(), DrawTool::RectangleTool);
    QVERIFY(w.CheckDrawField->isChecked());
    QVERIFY(w.CheckDrawForceLines->isChecked());
    QCOMPARE(w.Label4->text(), QString("100"));
    QCOMPARE(w.TextCurrent1->text(), QString("10"));
    QCOMPARE(w.TextCurrent2->text(), QString("10"));
    QCOMPARE(w.Slider1->value(), 100);
    QCOMPARE(w.Slider2->value(), 100);
    for (QLineEdit* box :
         {w.TextVit1, w.TextVit2, w.TextCurDens1, w.TextCurDens2, w.TextPower1, w.TextPower2}) {
        QCOMPARE(box->text(), QString("0"));
        QVERIFY(box->isReadOnly());
    }
    QVERIFY(!w.TextCurrent1->isReadOnly());
    QCOMPARE(w.Picture1->cursor().shape(), Qt::CrossCursor);
    QCOMPARE(w.ProgressError->Minimum(), 0.0001);
    QCOMPARE(w.ProgressError->Maximum(), 8.0);
    QCOMPARE(w.ProgressError->value(), 0);
    // The floating range is shown on the bar's integer steps.
    w.ProgressError->SetValue(4);
    QCOMPARE(w.ProgressError->value(), FloatProgressBar::kSteps / 2);
    w.ProgressError->SetValue(9);
    QCOMPARE(w.ProgressError->value(), FloatProgressBar::kSteps);
    QVERIFY(services.dialogs.messages.empty());
}

void MainWindowTest::layoutFollowsTheForm() {
    TestServices services;
    MainWindow w(services.Services());
    QCOMPARE(w.centralWidget()->size(), QSize(792, 479));
    QCOMPARE(GeometryOf(w, "Picture1"), QRect(0, 0, 404, 404));
    QCOMPARE(GeometryOf(w, "Picture3"), QRect(408, 0, 57, 404));
    QCOMPARE(w.Picture1->contentsRect().size(), QSize(400, 400));
    QCOMPARE(GeometryOf(w, "Frame9"), QRect(8, 424, 273, 49));
    QCOMPARE(GeometryOf(w, "Frame3"), QRect(296, 424, 169, 49));
    QCOMPARE(GeometryOf(w, "Frame2"), QRect(472, 0, 129, 249));
    QCOMPARE(GeometryOf(w, "Frame1"), QRect(472, 256, 129, 57));
    QCOMPARE(GeometryOf(w, "Frame8"), QRect(472, 320, 129, 121));
    QCOMPARE(GeometryOf(w, "Finish"), QRect(480, 448, 65, 25));
    QCOMPARE(GeometryOf(w, "CommandStop"), QRect(552, 456, 41, 17));
    QCOMPARE(GeometryOf(w, "Frame7"), QRect(608, 0, 177, 377));
    QCOMPARE(GeometryOf(w, "Frame6"), QRect(608, 376, 177, 97));
    QCOMPARE(w.Frame9->title(), QString("Field, Gauss"));
    QCOMPARE(w.Frame3->title(), QString("Coordinates"));
    QCOMPARE(w.Frame2->title(), QString("Material"));
    QCOMPARE(w.Frame1->title(), QString("Drawing"));
    QCOMPARE(w.Frame8->title(), QString("Picture"));
    QCOMPARE(w.Frame7->title(), QString("Coils"));
    QCOMPARE(w.Frame5->title(), QString("Error"));
    QCOMPARE(w.Frame4->title(), QString("Progress"));
    QVERIFY(w.Command1->font().bold() && w.CommandResult->font().bold() && w.Finish->font().bold());
    QCOMPARE(w.Command1->text(), QString("Editor"));
    QCOMPARE(w.CommandResult->text(), QString("Result"));
    QCOMPARE(w.Finish->text(), QString("RUN"));
    QCOMPARE(w.CommandStop->text(), QString("Stop"));

    // The palette in screen order, each button with its caption 8 pixels lower.
    const int tops[7] = {24, 56, 88, 152, 184, 216, 120};
    const char* captions[7] = {"Vacuum", "Iron",    "Magnet S", "Coil 1",
                               "Coil 2", "Nonmag.", "Magnet N"};
    for (int k = 0; k < 7; ++k) {
        QCOMPARE(w.OptionColor[k]->geometry(), QRect(16, tops[k], 25, 25));
        QCOMPARE(w.Label1[k]->text(), QString(captions[k]));
        QCOMPARE(w.Label1[k]->y(), tops[k] + 8);
        QCOMPARE(w.OptionColor[k]->parentWidget(), w.Frame2);
    }
    for (int k = 0; k < 3; ++k) {
        QCOMPARE(w.Option1[k]->geometry(), QRect(8 + 40 * k, 24, 25, 25));
        QCOMPARE(w.Option1[k]->iconSize(), QSize(16, 16));
    }
    // The sliders: 0 at the top.
    QCOMPARE(w.Slider1->orientation(), Qt::Vertical);
    QCOMPARE(w.Slider1->minimum(), 0);
    QCOMPARE(w.Slider1->maximum(), 100);
    QVERIFY(w.Slider1->invertedAppearance());
    QVERIFY(w.findChild<QLabel*>("Label7")->text() == "A m p e r e s");
    for (const char* name :
         {"TextCurrent1", "TextCurrent2", "TextVit1", "TextVit2", "TextCurDens1", "TextCurDens2",
          "TextPower1", "TextPower2", "Shape1", "Shape2", "Slider1", "Slider2"}) {
        QVERIFY2(w.Frame7->findChild<QWidget*>(name) != nullptr, name);
    }
    for (const char* name : {"LabelB", "LabelBr", "LabelBz"}) {
        QVERIFY2(w.Frame9->findChild<QLabel*>(name) != nullptr, name);
    }
    QVERIFY(w.Frame5->findChild<QWidget*>("ProgressError") != nullptr);
    QVERIFY(w.Frame4->findChild<QWidget*>("ProgressProgress") != nullptr);
}

void MainWindowTest::menusInOrder() {
    TestServices services;
    MainWindow w(services.Services());
    const QList<QAction*> bar = w.menuBar()->actions();
    QCOMPARE(bar.size(), 4);
    QCOMPARE(bar[0]->text(), QString("File"));
    QCOMPARE(bar[1]->text(), QString("Copy"));
    QCOMPARE(bar[2]->text(), QString("Options"));
    QCOMPARE(bar[3]->text(), QString("Help"));
    QVERIFY(bar[2]->menu() == nullptr && bar[3]->menu() == nullptr);  // commands, not menus
    QStringList file;
    for (QAction* a : w.mnuFile->actions()) {
        file << (a->isSeparator() ? QString("-") : a->text());
    }
    QCOMPARE(file, QStringList({"New Project", "-", "Open Sample", "-", "Open Project",
                                "Save Project", "Export to TEXT", "-", "Print", "-", "Exit"}));
    QStringList copy;
    for (QAction* a : w.mnuCopy->actions()) {
        copy << a->text();
    }
    QCOMPARE(copy, QStringList({"Picture", "Scale", "Z distribution", "R distribution"}));
}

void MainWindowTest::rectangleToolPaintsTheDraggedNodes() {
    TestServices services;
    MainWindow w(services.Services());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // The preview moves over other nodes; only the release corner counts.
    DragOnPicture(w, Qt::LeftButton, {{10, 20}, {30, 40}, {5, 5}, {12, 30}});
    QCOMPARE(NodesOf(w, MaterialCode::Coil1), NodeBlock(10, 20, 12, 30, 50));
    // Dragged up and left, over the first block, in another material.
    ChooseMaterial(w, 1);
    DragOnPicture(w, Qt::LeftButton, {{20, 25}, {40, 10}, {11, 22}});
    QCOMPARE(NodesOf(w, MaterialCode::Iron), NodeBlock(11, 22, 20, 25, 50));
    std::set<Node> coil = NodeBlock(10, 20, 12, 30, 50);
    for (const Node& n : NodeBlock(11, 22, 20, 25, 50)) {
        coil.erase(n);
    }
    QCOMPARE(NodesOf(w, MaterialCode::Coil1), coil);
    // Out of the area: the inside part only; node (0, 0) stays Vacuum.
    ChooseMaterial(w, 5);
    DragOnPicture(w, Qt::LeftButton, {{3, 3}, {0, 0}});
    DragOnPicture(w, Qt::LeftButton, {{46, 47}, {48, 49}});
    QCOMPARE(NodeMaterial(w, 0, 0), MaterialCode::Vacuum);
    QCOMPARE(NodeMaterial(w, 1, 1), MaterialCode::Nonmag);
    QVERIFY(!w.model().PointerHold);
}

void MainWindowTest::lineAndDotTools() {
    TestServices services;
    MainWindow w(services.Services());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    ChooseTool(w, DrawTool::LineTool);
    QCOMPARE(w.ChosenTool(), DrawTool::LineTool);
    DragOnPicture(w, Qt::LeftButton, {{5, 9}, {40, 40}, {20, 9}});
    QCOMPARE(NodesOf(w, MaterialCode::Coil1), NodeBlock(5, 9, 20, 9, 50));
    DragOnPicture(w, Qt::LeftButton, {{30, 30}, {2, 2}, {40, 40}});
    for (int k = 30; k <= 40; ++k) {
        QCOMPARE(NodeMaterial(w, k, k), MaterialCode::Coil1);
    }
    QCOMPARE(NodeMaterial(w, 31, 30), MaterialCode::Vacuum);
    QCOMPARE(NodeMaterial(w, 20, 20), MaterialCode::Vacuum);  // the band passed over it

    ChooseTool(w, DrawTool::DotTool);
    ChooseMaterial(w, 6);
    DragOnPicture(w, Qt::LeftButton, {{44, 2}, {44, 6}});
    QCOMPARE(NodesOf(w, MaterialCode::MagnetN), std::set<Node>({{44, 2}, {44, 6}}));
}

void MainWindowTest::rightButtonDragPaintsNothing() {
    TestServices services;
    MainWindow w(services.Services());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    DragOnPicture(w, Qt::RightButton, {{10, 10}, {20, 20}, {30, 30}});
    QVERIFY(AllPixels(w.Picture1->Surface(), kGrey));
    QVERIFY(w.model().PointerHold);
    DragOnPicture(w, Qt::LeftButton, {{2, 2}, {3, 4}});
    QCOMPARE(NodesOf(w, MaterialCode::Coil1), NodeBlock(2, 2, 3, 4, 50));
}

void MainWindowTest::paletteChoosesThePen() {
    TestServices services;
    MainWindow w(services.Services());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const MaterialCode expected[7] = {
        MaterialCode::Vacuum, MaterialCode::Iron,   MaterialCode::MagnetS, MaterialCode::Coil1,
        MaterialCode::Coil2,  MaterialCode::Nonmag, MaterialCode::MagnetN};
    for (int k = 0; k < 7; ++k) {
        ChooseMaterial(w, k);
        QCOMPARE(w.ChosenColor(), k);
        QCOMPARE(w.Picture1->Surface().ForeColor(), MaterialColor(expected[k]));
        DragOnPicture(w, Qt::LeftButton, {{5 * k + 2, 40}});
        QCOMPARE(NodeMaterial(w, 5 * k + 2, 40), expected[k]);
    }
    // Exactly one button chosen at a time.
    int checked = 0;
    for (QToolButton* b : w.OptionColor) {
        checked += b->isChecked() ? 1 : 0;
    }
    QCOMPARE(checked, 1);
    w.OptionColor_Click(9);  // no such button
    QCOMPARE(w.Picture1->Surface().ForeColor(), MaterialColor(MaterialCode::MagnetN));
}

void MainWindowTest::editorDiscardsStrokesNotRun() {
    TestServices services;
    MainWindow w(services.Services());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    DragOnPicture(w, Qt::LeftButton, {{10, 10}, {14, 14}});
    QVERIFY(!NodesOf(w, MaterialCode::Coil1).empty());
    ClickButton(w.Command1);
    QVERIFY(w.model().EditorMode);
    QVERIFY(NodesOf(w, MaterialCode::Coil1).empty());
    QCOMPARE(w.Picture1->Surface().PenWidth(), 8);
    // The pen is still the chosen material.
    DragOnPicture(w, Qt::LeftButton, {{3, 3}});
    QCOMPARE(NodeMaterial(w, 3, 3), MaterialCode::Coil1);
}

void MainWindowTest::coordinateReadOut() {
    TestServices services;
    services.settings.WriteRawFile("[Grid]\nComboGrid=3\nTextAreaSize=100\n");
    MainWindow w(services.Services());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.model().project.GridSize, 400);
    HoverOverPicture(w, 37, 12);
    QCOMPARE(w.CoR->text(), QString("9.25"));
    QCOMPARE(w.CoZ->text(), QString("3"));
    // The field labels belong to the result view: the editing view leaves them alone.
    QCOMPARE(w.LabelB->text(), QString("0"));
    // Copy Picture moves the read-out to node (-1, -1).
    w.mnuCopyPicture_Click();
    QCOMPARE(w.CoR->text(), QString("-0.25"));
    QCOMPARE(w.CoZ->text(), QString("-0.25"));
}

void MainWindowTest::newProjectClearsTheDrawingOnly() {
    TestServices services;
    MainWindow w(services.Services());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    DragOnPicture(w, Qt::LeftButton, {{10, 10}, {20, 20}});
    w.TextCurrent1->setText("3");
    w.mnuFileNew->trigger();
    QVERIFY(AllPixels(w.Picture1->Surface(), kGrey));
    QCOMPARE(w.TextCurrent1->text(), QString("3"));
    QVERIFY(w.model().EditorMode);
}

void MainWindowTest::copyCommandsPutBitmapsOnTheClipboard() {
    TestServices services;
    MainWindow w(services.Services());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    DragOnPicture(w, Qt::LeftButton, {{10, 10}, {20, 20}});
    w.mnuCopyPicture->trigger();
    QCOMPARE(services.clipboard.clears, 1);
    QCOMPARE(services.clipboard.image.size(), QSize(400, 400));
    QCOMPARE(services.clipboard.image.pixel(120, 120), qRgb(255, 255, 0));
    QCOMPARE(services.clipboard.image.pixel(300, 300), qRgb(192, 192, 192));
    QCOMPARE(w.CoR->text(), QString("-2"));
    // A copy, not the live picture.
    DragOnPicture(w, Qt::LeftButton, {{35, 35}, {36, 36}});
    QCOMPARE(services.clipboard.image.pixel(284, 284), qRgb(192, 192, 192));

    w.mnuCopyScale->trigger();
    QCOMPARE(services.clipboard.clears, 2);
    QCOMPARE(services.clipboard.image.size(), QSize(53, 400));
    w.mnuCopyZ->trigger();
    QCOMPARE(services.clipboard.clears, 3);
    QVERIFY(!services.clipboard.image.isNull());
    w.mnuCopyR->trigger();
    QCOMPARE(services.clipboard.clears, 4);
    QVERIFY(!services.clipboard.image.isNull());
}

void MainWindowTest::helpShowsContentsOrSaysThereIsNone() {
    TestServices services;
    MainWindow w(services.Services());
    w.mnuHelp->trigger();
    QCOMPARE(services.dialogs.messages.size(), std::size_t{1});
    QCOMPARE(services.dialogs.messages[0].title, QString("Tesvid"));
    QCOMPARE(services.dialogs.messages[0].text,
             QString("Unable to display Help Contents. There is no Help associated with this "
                     "project."));
    QCOMPARE(services.dialogs.messages[0].icon, MessageIcon::Information);
    QVERIFY(services.help.shown.empty());

    services.help.file = "tesvid.html";
    w.mnuHelp->trigger();
    QCOMPARE(services.help.shown, std::vector<int>({0}));
    QCOMPARE(services.help.owners[0], static_cast<QWidget*>(&w));
    QCOMPARE(services.dialogs.messages.size(), std::size_t{1});

    services.help.error = "The help viewer failed";
    w.mnuHelp->trigger();
    QCOMPARE(services.dialogs.messages.size(), std::size_t{2});
    QCOMPARE(services.dialogs.messages[1].text, QString("The help viewer failed"));
    QCOMPARE(services.dialogs.messages[1].title, QString("Tesvid"));
}

void MainWindowTest::resultAfterAGridChangeIsRefused() {
    TestServices services;
    MainWindow w(services.Services());
    // Result before any RUN: a zero field, no message.
    ClickButton(w.CommandResult);
    QVERIFY(!w.model().EditorMode);
    QVERIFY(services.dialogs.messages.empty());
    QCOMPARE(w.model().field.B.N(), 50);
    QCOMPARE(w.Pointer().LastX, -1.0f);
    ClickButton(w.Command1);
    // A larger grid chosen in the options: the old potential does not fit it.
    w.model().project.GridSize = 100;
    ClickButton(w.CommandResult);
    QVERIFY(w.model().EditorMode);
    QCOMPARE(services.dialogs.messages.size(), std::size_t{1});
    QCOMPARE(services.dialogs.messages[0].title, QString("Tesvid"));
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"

// The windows as the user meets them: the main window's first start over unusable settings, a
// refused run, the help and the layout; painting, Undo and Redo by the keys, the Editor command,
// the coordinate read-out, copies, Draw > Rectangle, the zoomable drawing area and the status
// line; the title and the question before unsaved changes are lost, Open Recent; the options
// dialog's OK, Cancel and refusals, and the options' round trip through the settings file;
// where the program finds its samples and help.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include "app/support/window_driver.h"
#include "platform/float_progress_bar.h"
#include "platform/install_paths.h"
#include "solver/drawn_model.h"

using namespace tesvid;
using namespace tesvid::testing;

namespace {

using Shown = std::pair<QWidget*, int>;

// Captions cut off by their control.
QStringList LayoutFaults(QWidget* root) {
    QStringList faults;
    for (QLabel* l : root->findChildren<QLabel*>()) {
        if (l->wordWrap() ? l->heightForWidth(l->width()) > l->height()
                          : l->sizeHint().width() > l->width()) {
            faults << l->text();
        }
    }
    for (QAbstractButton* b : root->findChildren<QAbstractButton*>()) {
        if (QFontMetrics(b->font()).horizontalAdvance(b->text()) + 6 > b->width()) {
            faults << b->text();
        }
    }
    return faults;
}

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

// A key pressed in the window (made the active one again: the offscreen platform leaves a
// closed dialog active).
void Key(MainWindow& w, QKeyCombination key) {
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, key.key(), key.keyboardModifiers());
}

QImage Area(MainWindow& w) {
    return DrawingArea(w).Surface().Snapshot();
}

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT
  private slots:
    void firstStartOverUnusableStoredValuesHelpAndLayout();
    void toolsPaintUndoAndRedoByKeysAndEditorKeepsThePicture();
    void coordinatesCopiesAndTypedRectangles();
    void zoomShowsBlocksAndPaintsTheSameNodes();
    void unsavedChangesAreMarkedAndAskedAbout();
    void cancelChangesNothingOkTakesTheOptionsForTheNextSessionToo();
    void unusableValuesAreRefusedWithTheDialogKeptOpen();
    void samplesAndHelpBesideTheProgramOrUnderShare();
};

void WindowTest::firstStartOverUnusableStoredValuesHelpAndLayout() {
    Session s(
        "[Grid]\nTextAreaSize=0\nComboGrid=7\n[R_Jacoby]\nTextRjac0=2\nTextRjac1=0,9991\n"
        "[Coils]\nTextDProv1=none\nTextMaxTok1=\"2,5\"\n[Misc]\nTextMainSteps=99999\n"
        "[Vezozo]\nTextMagHc=0\nTextMagBHmax=500\n[Steel]\nTextSteelMaxB=-1\n" +
        kSwitchesSection + "\nCheckShowCrossSections=5\n");
    MainWindow& w = s.w;
    // Unusable values give way to the first start's.
    const Project& p = w.model().project;
    const Project first = FirstStartProject();
    QCOMPARE(p.AreaSize, first.AreaSize);
    QCOMPARE(p.GridSize, first.GridSize);
    QCOMPARE(p.MainSteps, first.MainSteps);
    QImage grey(400, 400, QImage::Format_RGB32);
    grey.fill(qRgb(192, 192, 192));
    QCOMPARE(Area(w), grey);
    QCOMPARE(TextOf(w, "areaSizeLabel"), QString("100"));
    // The sliders at full scale, the currents with them.
    QCOMPARE(Child<QSlider>(w, "currentSlider2").value(), 100);
    QCOMPARE(TextOf(w, "currentEdit2"), QString("10"));
    // Usable values are taken, with a comma, and a magnet outside the OK rule too.
    QCOMPARE(p.Rjac1, 0.9991);
    QCOMPARE(p.SliderFullScale1, 2.5);
    QCOMPARE(p.MagBHmax, 500000.0);
    WithOptions(w, [](OptionsDialog& d) {
        QVERIFY(Child<QCheckBox>(d, "showCrossSectionsCheck").isChecked());
    });
    const auto& said = s.services.dialogs.messages;
    QVERIFY(said.empty());

    // A stored value RUN refuses, iron saturating at -1 T: the run says so and changes nothing.
    PaintTestCoil(w);
    ChooseMaterial(w, 1);
    DragOnPicture(w, Qt::LeftButton, {{20, 20}, {25, 30}});
    const QImage drawn = Area(w);
    Click(w, "runButton");
    QCOMPARE(said.size(), std::size_t{1});
    QVERIFY(!w.resultOnShow());
    QCOMPARE(w.model().arrays.Material(22, 25), MaterialCode::Vacuum);  // no map was built
    QCOMPARE(TextOf(w, "turnsBox1"), QString("0"));
    QCOMPARE(Area(w), drawn);

    // Help: without the file, a message titled as the window that asked.
    FakeHelp& help = s.services.help;
    Trigger(w, "helpAction");
    WithOptions(w, [&](OptionsDialog& d) {
        Click(d, "helpButton");
        help.file = "tesvid.html";
        Click(d, "helpButton");
        QCOMPARE(help.shown.at(0), Shown(&d, kOptionsHelpContext));
    });
    QVERIFY(said.at(1).text.contains("There is no Help") && said.at(2).text == said[1].text);
    QCOMPARE(said[1].title + ", " + said[2].title, QString("*Untitled - Tesvid, Options"));
    Trigger(w, "helpAction");
    QCOMPARE(help.shown.at(1), Shown(&w, 0));
    help.error = "The help viewer failed";
    Trigger(w, "helpAction");
    QCOMPARE(said.back().text, QString("The help viewer failed"));

    // Every caption fits.
    auto& options = Child<OptionsDialog>(w, "optionsDialog");
    const QStringList faults = LayoutFaults(w.centralWidget()) + LayoutFaults(&options);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(", ")));
}

void WindowTest::toolsPaintUndoAndRedoByKeysAndEditorKeepsThePicture() {
    Session s;
    MainWindow& w = s.w;
    std::vector<QImage> after{Area(w)};
    auto stroke = [&](const std::vector<Node>& path) {
        DragOnPicture(w, Qt::LeftButton, path);
        QVERIFY(Area(w) != after.back());
        after.push_back(Area(w));
    };
    // The rubber band passes over other nodes; only the release corner counts.
    stroke({{10, 20}, {30, 40}, {5, 5}, {12, 30}});
    QCOMPARE(NodesOf(w, MaterialCode::Coil1), NodeBlock(10, 20, 12, 30, 50));
    // Dragged up and left over the first block, in iron: the iron covers it.
    ChooseMaterial(w, 1);
    stroke({{20, 25}, {40, 10}, {11, 22}});
    QCOMPARE(NodesOf(w, MaterialCode::Iron), NodeBlock(11, 22, 20, 25, 50));
    QCOMPARE(NodesOf(w, MaterialCode::Coil1).size(), std::size_t{33 - 8});
    Click(w, "lineToolButton");
    ChooseMaterial(w, 5);
    stroke({{30, 30}, {2, 2}, {40, 40}});
    for (int k = 30; k <= 40; ++k) {
        QCOMPARE(NodeMaterial(w, k, k), MaterialCode::Nonmag);
    }
    QCOMPARE(NodeMaterial(w, 31, 30), MaterialCode::Vacuum);
    QCOMPARE(NodeMaterial(w, 2, 2), MaterialCode::Vacuum);  // the band passed over it

    // Back and forth by the keys of Edit: Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y.
    const std::pair<QKeyCombination, std::size_t> steps[] = {
        {Qt::CTRL | Qt::Key_Z, 2}, {Qt::CTRL | Qt::Key_Z, 1}, {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, 2},
        {Qt::CTRL | Qt::Key_Z, 1}, {Qt::CTRL | Qt::Key_Y, 2}, {Qt::CTRL | Qt::Key_Y, 3},
        {Qt::CTRL | Qt::Key_Y, 3}, {Qt::CTRL | Qt::Key_Z, 2}};
    for (const auto& [key, picture] : steps) {
        Key(w, key);
        QVERIFY(Area(w) == after[picture]);
    }
    // A result on show is never undone: Undo goes back to the drawing it came from, then undoes.
    {
        QSignalSpy finished(&w, &MainWindow::calculationFinished);
        Key(w, Qt::Key_F5);
        QVERIFY(finished.count() > 0 || finished.wait(60000));
    }
    QVERIFY(w.resultOnShow() && s.services.dialogs.messages.empty());
    Key(w, Qt::CTRL | Qt::Key_Z);
    QVERIFY(!w.resultOnShow());
    QVERIFY(Area(w) == after[1]);
    // A programmatic paint is one step too; New forgets every step.
    QVERIFY(w.paintAsOneStep([](QImageSurface& area) {
        area.FilledBox(30, 30, 40, 40, MaterialColor(MaterialCode::MagnetN));
    }));
    QCOMPARE(NodeMaterial(w, 35, 35), MaterialCode::MagnetN);
    Key(w, Qt::CTRL | Qt::Key_Z);
    QVERIFY(Area(w) == after[1]);
    Key(w, Qt::CTRL | Qt::Key_N);
    QVERIFY(Area(w) == after[0]);
    QVERIFY(!Child<QAction>(w, "undoAction").isEnabled());
    Key(w, Qt::CTRL | Qt::Key_Y);
    QVERIFY(Area(w) == after[0]);

    // Node (0, 0) stays Vacuum.
    Click(w, "rectangleToolButton");
    ChooseMaterial(w, 1);
    DragOnPicture(w, Qt::LeftButton, {{3, 3}, {0, 0}});
    QCOMPARE(NodeMaterial(w, 0, 0), MaterialCode::Vacuum);
    QCOMPARE(NodeMaterial(w, 1, 1), MaterialCode::Iron);
    Click(w, "dotToolButton");
    ChooseMaterial(w, 6);
    DragOnPicture(w, Qt::LeftButton, {{44, 2}, {44, 6}});
    QCOMPARE(NodesOf(w, MaterialCode::MagnetN), std::set<Node>({{44, 2}, {44, 6}}));
    const QImage before = Area(w);
    DragOnPicture(w, Qt::RightButton, {{10, 10}, {20, 20}});
    Click(w, "editorButton");  // in the editing view: the strokes stay
    QCOMPARE(Area(w), before);
    // From the result view, Editor shows the map as last built (by F5), with the pen still the
    // chosen material.
    Click(w, "resultButton");
    Click(w, "editorButton");
    QVERIFY(NodesOf(w, MaterialCode::MagnetN).empty());
    QCOMPARE(NodesOf(w, MaterialCode::Iron), NodeBlock(11, 22, 20, 25, 50));
    DragOnPicture(w, Qt::LeftButton, {{3, 3}});
    QCOMPARE(NodeMaterial(w, 3, 3), MaterialCode::MagnetN);
}

void WindowTest::coordinatesCopiesAndTypedRectangles() {
    Session s("[Grid]\nComboGrid=3\n");  // 400 x 400 over 100 mm
    MainWindow& w = s.w;
    HoverOverPicture(w, 37, 12);  // 0.25 mm a node
    QCOMPARE(TextOf(w, "radiusReadout") + " " + TextOf(w, "axialReadout"), QString("9.25 3"));
    DragOnPicture(w, Qt::LeftButton, {{100, 100}, {200, 200}});
    // Copy Picture moves the read-out to node (-1, -1) and copies the picture, not the live one.
    Trigger(w, "copyPictureAction");
    QCOMPARE(TextOf(w, "radiusReadout"), QString("-0.25"));
    const QImage copy = s.services.clipboard.image;
    QCOMPARE(copy.pixel(150, 150), qRgb(255, 255, 0));
    DragOnPicture(w, Qt::LeftButton, {{300, 300}, {310, 310}});
    QCOMPARE(copy.pixel(305, 305), qRgb(192, 192, 192));

    QCOMPARE(TypeRectangle(w, "iron", {"0", "10", "30", "70"}), 1);
    QCOMPARE(NodesOf(w, MaterialCode::Iron), NodeBlock(0, 120, 40, 280, 400));
    // Refusals (material, r from, r to, z from, z to; what the message names) paint
    // nothing and bring the dialog back.
    const QImage before = Area(w);
    const QStringList refusals[] = {{"Iron", "0", "120", "0", "10", "within the area"},
                                    {"Coil 1", "0", "10", "70", "30", "reversed"},
                                    {"Copper", "0", "ten", "30", "70", "material \"Copper\""}};
    for (const QStringList& r : refusals) {
        QCOMPARE(TypeRectangle(w, r[0], r.mid(1, 4)), 2);
        QVERIFY(s.services.dialogs.messages.back().text.contains(r[5]));
        QVERIFY(Area(w) == before);
    }
    QCOMPARE(s.services.dialogs.messages.size(), std::size(refusals));  // one each
    // The typed rectangle is one undoable step.
    Trigger(w, "undoAction");
    QCOMPARE(NodesOf(w, MaterialCode::Iron).size(), std::size_t{0});
    // Over a result: the editing view, with the drawing kept.
    Session r;
    PaintTestCoil(r.w);
    Click(r.w, "runButton");
    QCOMPARE(TypeRectangle(r.w, "Iron", {"60", "70", "10", "20"}), 1);
    QCOMPARE(NodesOf(r.w, MaterialCode::Iron), NodeBlock(30, 5, 35, 10, 50));
    QCOMPARE(NodeMaterial(r.w, 11, 25), MaterialCode::Coil1);
}

void WindowTest::zoomShowsBlocksAndPaintsTheSameNodes() {
    Session s;
    MainWindow& w = s.w;
    PictureBox& area = DrawingArea(w);
    for (int k : {2, 1}) {  // and back
        Trigger(w, qPrintable(QStringLiteral("zoom%1Action").arg(k)));
        QCOMPARE(area.contentsRect().size(), QSize(400 * k, 400 * k));
        QCOMPARE(Child<PictureBox>(w, "colorScale").height(), area.height());
        QVERIFY(s.services.ReadSettingsFile().contains("Zoom=" + QByteArray::number(k)));
        ChooseMaterial(w, 1);
        DragOnPicture(w, Qt::LeftButton, {{7, 9}, {30, 41}});
        QCOMPARE(NodesOf(w, MaterialCode::Iron), NodeBlock(7, 9, 30, 41, 50));
        HoverAt(w, area.ToWidget(12, 20) + QPoint(k / 2, k / 2));  // off the block's middle
        QCOMPARE(w.statusBar()->currentMessage(), QString("R = 24 mm   Z = 40 mm   node 12, 20"));
        const QImage shown = area.grab(area.contentsRect()).toImage();
        QVERIFY(shown.convertToFormat(QImage::Format_RGB32) ==
                area.Surface().Image().scaled(400 * k, 400 * k));  // k x k blocks
    }
    Session next("[View]\nZoom=3\n");  // the zoom kept is the next session's
    QCOMPARE(DrawingArea(next.w).contentsRect().size(), QSize(1200, 1200));
}

void WindowTest::unsavedChangesAreMarkedAndAskedAbout() {
    QTemporaryDir dir;
    Session s;
    MainWindow& w = s.w;
    FakeDialogs& dialogs = s.services.dialogs;
    QCOMPARE(w.windowTitle(), QString("Untitled - Tesvid"));
    // Each kind of change: a stroke, an undo, a typed current, a value of the options, and the
    // figure a left release paints after a right-button down began no stroke.
    PictureBox& area = DrawingArea(w);
    const std::function<void()> changes[] = {
        [&] {
            DragOnPicture(w, Qt::LeftButton, {{10, 10}, {20, 20}});
        },
        [&] { Key(w, Qt::CTRL | Qt::Key_Z); }, [&] { TypeInto(w, "currentEdit2", "3"); },
        [&] {
            DragOnPicture(w, Qt::RightButton, {{30, 30}});
            QTest::mouseRelease(&area, Qt::LeftButton, {}, area.ToWidget(40, 35));
            QVERIFY(Child<QAction>(w, "undoAction").isEnabled());
        },
        [&] {
            WithOptions(
                w, [](OptionsDialog& d) { TypeInto(d, "passesEdit", "7"), Click(d, "okButton"); });
        }};
    int k = 0;
    for (const auto& change : changes) {
        change();
        QCOMPARE(w.windowTitle(), k == 0 ? QString("*Untitled - Tesvid") : "*c.tvd - Tesvid");
        // Cancel keeps the window open and the changes; saving clears the mark.
        dialogs.saveAnswers = {SaveChoice::Cancel};
        QVERIFY(!w.close() && w.isVisible() && w.hasUnsavedChanges());
        dialogs.fileAnswers = {dir.filePath("c")};
        Key(w, Qt::CTRL | Qt::Key_S);
        QCOMPARE(w.windowTitle(), QString("c.tvd - Tesvid"));
        QCOMPARE(dialogs.saveQuestions.size(), std::size_t(++k));
    }
    // Nothing changed since the save: New asks nothing.
    Trigger(w, "newProjectAction");
    QCOMPARE(dialogs.saveQuestions.size(), std::size_t(k));
    QCOMPARE(w.windowTitle(), QString("Untitled - Tesvid"));

    // Save chosen, and the save dialog cancelled: the window stays; Save with a name closes it.
    DragOnPicture(w, Qt::LeftButton, {{10, 10}});
    dialogs.saveAnswers = {SaveChoice::Save, SaveChoice::Save};
    QVERIFY(!w.close() && w.isVisible());
    dialogs.fileAnswers = {dir.filePath("last.tvd")};
    QVERIFY(w.close());
    QVERIFY(QFile::exists(dir.filePath("last.tvd")));
}

void WindowTest::cancelChangesNothingOkTakesTheOptionsForTheNextSessionToo() {
    QTemporaryDir dir;
    TestServices services;
    {
        MainWindow w(services.Services());
        QVERIFY(!Child<QMenu>(w, "recentMenu").isEnabled());
        WithOptions(w, [](OptionsDialog& d) {
            TypeInto(d, "areaSizeEdit", "300");
            TypeInto(d, "mainRadiusEdit", "0.6");
            QTest::keyClick(&d, Qt::Key_Escape);
            QVERIFY(!d.isVisible());
        });
        QCOMPARE(w.model().project.Rjac1, 0.9995);
        QCOMPARE(TextOf(w, "areaSizeLabel"), QString("100"));
        WithOptions(w, [](OptionsDialog& d) {
            // First start: until converged, with the default tolerance.
            QVERIFY(Child<QRadioButton>(d, "convergeOption").isChecked());
            QCOMPARE(TextOf(d, "areaSizeEdit") + " " + TextOf(d, "gridStepLabel") + " " +
                         TextOf(d, "toleranceEdit"),
                     QString("100 2 1E-05"));
            Child<QComboBox>(d, "gridCombo").setCurrentIndex(1);  // 100x100
            TypeInto(d, "areaSizeEdit", "150");
            QCOMPARE(TextOf(d, "gridStepLabel"), QString("1.5"));
            const std::pair<const char*, const char*> typed[] = {
                {"mainRadiusEdit", "0,9993"}, {"passesEdit", "12,5"},
                {"magnetBrEdit", "-1.2"},     {"magnetHcEdit", "-120"},
                {"magnetBHmaxEdit", "-40"},   {"ironSaturationEdit", "1.8"},
                {"finalRadiusEdit", "0.9"},   {"wireDiameter1Edit", "0.7"},
                {"toleranceEdit", "0,001"}};
            for (const auto& [box, text] : typed) {
                TypeInto(d, box, text);
            }
            Click(d, "fixedOption");
            Child<QCheckBox>(d, "showCrossSectionsCheck").setChecked(false);
            Child<QCheckBox>(d, "showIntermediateCheck").setChecked(true);
            // A letter outside ISO 8859-1 is stored as "?".
            Child<QPlainTextEdit>(d, "commentsEdit").setPlainText("Pole \u00e9\ngap \u0416");
            Click(d, "okButton");
            QVERIFY(!d.isVisible());
        });
        const Project& p = w.model().project;
        QCOMPARE(p.GridStep, 0.0015);
        QCOMPARE(p.Rjac1, 0.9993);
        QCOMPARE(p.MainSteps, 12);  // halves of a pass go to the even neighbour
        QCOMPARE(p.MagBr, 1.2);
        QCOMPARE(p.MagBHmax, 40000.0);
        // The drawing area and its caption follow at once in the editing view.
        QCOMPARE(TextOf(w, "areaSizeLabel"), QString("150"));
        QCOMPARE(DrawingArea(w).Surface().PenWidth(), 4);
        // Open Recent: the newest first; p1 fell off the end.
        for (int k = 1; k <= 9; ++k) {
            services.dialogs.fileAnswers = {dir.filePath(QString("p%1.tvd").arg(k))};
            Trigger(w, "saveProjectAction");
        }
        const QList<QAction*> entries = Child<QMenu>(w, "recentMenu").actions();
        QCOMPARE(entries.size(), 8);
        QCOMPARE(entries.front()->text(), "&1 " + dir.filePath("p9.tvd"));
        QCOMPARE(entries.back()->text(), "&8 " + dir.filePath("p2.tvd"));
        QVERIFY(QFile::remove(dir.filePath("p8.tvd")));
        w.close();
    }
    // Under their stored names, the options dialog's own section among them.
    const QByteArray ini = services.ReadSettingsFile();
    for (const char* text :
         {"[Grid]", "ComboGrid=1", "[Steel]", "TextSteelMaxB=1.8", "[R_Jacoby]", "TextRjacFin=0.9",
          "[Coils]", "TextDProv1=0.7", "[frmComments]", "CheckShowIntermediate=1", "[Vezozo]",
          "TextMagBHmax=40", "[Misc]", "TextKMu=0.05", kSwitchesSection.data(), "OptionConverge=0",
          "TextTolerance=0.001"}) {
        QVERIFY2(ini.contains(text), text);
    }
    QCOMPARE(ini.count('='), 25);  // with the colour report's and the recent files'

    // The next session: the options in force, the magnet's values positive; the fixed schedule
    // of the 12 main passes and 4 more.
    MainWindow again(services.Services());
    again.show();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    const Project& p = again.model().project;
    QCOMPARE(p.GridSize, 100);
    QCOMPARE(p.SteelSaturationB, 1.8);
    QCOMPARE(p.RjacFin, 0.9);
    QCOMPARE(p.WireDiameter1, 0.7);
    QCOMPARE(QByteArray::fromStdString(p.Comments.substr(0, 13)), QByteArray("Pole \xe9\r\ngap ?"));
    QCOMPARE(p.Comments.size(), std::size_t{200});
    WithOptions(again, [](OptionsDialog& d) {
        QCOMPARE(TextOf(d, "magnetBHmaxEdit") + " " + TextOf(d, "mainRadiusEdit") + " " +
                     TextOf(d, "toleranceEdit"),
                 QString("40 0.9993 0.001"));
        QVERIFY(!Child<QCheckBox>(d, "showCrossSectionsCheck").isChecked());
        QVERIFY(Child<QRadioButton>(d, "fixedOption").isChecked());
        QVERIFY(!Child(d, "toleranceEdit").isEnabled());
    });
    PaintTestCoil(again);
    Click(again, "runButton");
    QCOMPARE(Child<FloatProgressBar>(again, "progressBar").Maximum(), 16.0);
    // Open Recent outlives the session; a file gone is dropped, with a message that names it.
    QMenu& recent = Child<QMenu>(again, "recentMenu");
    recent.actions().at(1)->trigger();
    QCOMPARE(services.dialogs.messages.size(), std::size_t{1});
    QVERIFY(services.dialogs.messages[0].text.contains(dir.filePath("p8.tvd")));
    QCOMPARE(recent.actions().size(), 7);
    recent.actions().at(3)->trigger();  // p5
    QCOMPARE(again.windowTitle(), QString("p5.tvd - Tesvid"));
    QVERIFY(recent.actions().front()->text().endsWith("p5.tvd") && recent.actions().size() == 7);
}

void WindowTest::unusableValuesAreRefusedWithTheDialogKeptOpen() {
    Session s;
    MainWindow& w = s.w;
    const QString magnetRule(
        "BHmax must be between Br*Hc and Br*Hc/4\nPlease check the parameters");
    const struct {
        const char* field;
        const char* text;
        QString message;
    } cases[] = {
        {"areaSizeEdit", "0", "The area dimension (mm) must be a positive number."},
        {"ironMuEdit", "-5", "The iron's Mu must be a positive number."},
        {"wireDiameter2Edit", "abc", "The wire diameter of coil 2 (mm) must be a positive number."},
        {"initialRadiusEdit", "1.5", "The initial Jacobi radius must lie between 0 and 1."},
        {"finalRadiusEdit", "-0,1", "The final Jacobi radius must lie between 0 and 1."},
        {"passesEdit", "32768", "The number of passes must lie between 0 and 32767."},
        {"magnetHcEdit", "0", "The magnet's Hc must not be 0."},
        // Br 1 T and Hc 100 kA/m allow 25 to 100 kJ/m3.
        {"magnetBHmaxEdit", "24.9", magnetRule},
        {"magnetBHmaxEdit", "100.1", magnetRule},
        {"toleranceEdit", "0", "The tolerance 0 must be a positive number."},
        {"toleranceEdit", "1e-13", "The tolerance 1e-13 is below 1e-12"},
        {"toleranceEdit", "2", "The tolerance 2 is above 1"},
    };
    for (const auto& c : cases) {
        s.services.dialogs.messages.clear();
        QWidget* focused = nullptr;
        bool open = false;
        WithOptions(w, [&](OptionsDialog& d) {
            TypeInto(d, c.field, c.text);
            Click(d, "okButton");
            open = d.isVisible();
            focused = d.focusWidget();
        });
        QVERIFY2(open, c.field);
        QCOMPARE(s.services.dialogs.messages.size(), std::size_t{1});
        QVERIFY2(s.services.dialogs.messages[0].text.startsWith(c.message), c.field);
        QCOMPARE(s.services.dialogs.messages[0].systemModal, c.message == magnetRule);
        QCOMPARE(focused->objectName(), QString(c.field));
    }
    QCOMPARE(w.model().project.AreaSize, 100.0f);
    QCOMPARE(w.model().project.MagBHmax, 30000.0);
    // The bounds themselves are usable.
    WithOptions(w, [](OptionsDialog& d) {
        TypeInto(d, "magnetBHmaxEdit", "25");
        TypeInto(d, "initialRadiusEdit", "0");
        TypeInto(d, "passesEdit", "32767");
        Click(d, "okButton");
        QVERIFY(!d.isVisible());
    });
    QCOMPARE(w.model().project.MagBHmax, 25000.0);
    QCOMPARE(w.model().project.MainSteps, 32767);
}

void WindowTest::samplesAndHelpBesideTheProgramOrUnderShare() {
    // What exists under a root whose bin/ holds the program (a name ending with '/' is a
    // folder, any other a file), and the samples folder and the help file found.
    const QStringList beside = {"bin/Samples/", "bin/help/tesvid.html"};
    const QStringList installed = {"share/tesvid/samples/", "share/doc/tesvid/html/tesvid.html"};
    const std::pair<QStringList, QStringList> cases[] = {
        {beside, beside},        // a build tree
        {installed, installed},  // an installed tree
        {{}, beside},            // neither: beside the program
        // A file named Samples, a help folder without the page.
        {QStringList{"bin/Samples", "bin/help/"} + installed, installed}};
    for (const auto& [layout, found] : cases) {
        QTemporaryDir root;
        const QDir dir(root.path());
        QVERIFY(dir.mkpath("bin"));
        for (const QString& entry : layout) {
            QVERIFY(dir.mkpath(entry.endsWith('/') ? entry : QFileInfo(entry).path()));
            QFile file(dir.filePath(entry));
            QVERIFY(entry.endsWith('/') || file.open(QIODevice::WriteOnly));
        }
        QCOMPARE(ShippedDataPath(ShippedData::Samples, dir.filePath("bin")),
                 dir.filePath(found[0]));
        QCOMPARE(ShippedDataPath(ShippedData::Help, dir.filePath("bin")), dir.filePath(found[1]));
    }
}

QTEST_MAIN(WindowTest)
#include "window_test.moc"

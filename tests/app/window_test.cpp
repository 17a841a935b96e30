// The windows as the user meets them: the main window's first start and layout, painting, the
// Editor command, the coordinate read-out, copies and the help; the options dialog's OK,
// Cancel and refusals, and the options' round trip through the settings file.

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTest>

#include "app/support/window_driver.h"
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

// The options dialog's own section in the settings file, under its stored name.
const QByteArray kSwitchesSection =
    "[frm"
    "Options]";

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT
  private slots:
    void firstStartAndLayout();
    void toolsPaintAndEditorKeepsThePicture();
    void coordinatesAndCopies();
    void helpShowsContentsOrSaysThereIsNone();
    void cancelChangesNothingOkTakesTheOptions();
    void settingsKeepTheirStoredNamesAcrossSessions();
    void unusableStoredValuesGiveWayToTheFirstStart();
    void unusableValuesAreRefusedWithTheDialogKeptOpen();
};

void WindowTest::firstStartAndLayout() {
    Session s;
    MainWindow& w = s.w;
    const Project& p = w.model().project;
    const Project first = FirstStartProject();
    QCOMPARE(p.GridSize, first.GridSize);
    QImage grey(400, 400, QImage::Format_RGB32);
    grey.fill(qRgb(192, 192, 192));
    QCOMPARE(DrawingArea(w).Surface().Snapshot(), grey);
    QCOMPARE(TextOf(w, "areaSizeLabel"), QString("100"));
    // The sliders at full scale, the currents with them.
    QCOMPARE(Child<QSlider>(w, "currentSlider2").value(), 100);
    QCOMPARE(TextOf(w, "currentEdit2"), QString("10"));

    // Every caption fits.
    auto& options = Child<OptionsDialog>(w, "optionsDialog");
    QCOMPARE(Child<QGroupBox>(options, "jacobiGroup").title(), QString("Jacobi radius"));
    const QStringList faults = LayoutFaults(w.centralWidget()) + LayoutFaults(&options);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(", ")));
}

void WindowTest::toolsPaintAndEditorKeepsThePicture() {
    Session s;
    MainWindow& w = s.w;
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
    Click(w, "editorButton");  // in the editing view: the strokes stay
    QCOMPARE(DrawingArea(w).Surface().Snapshot(), before);
    // From the result view, Editor shows the map as last built: here the empty one, with the
    // pen still the chosen material.
    Click(w, "resultButton");
    Click(w, "editorButton");
    QVERIFY(NodesOf(w, MaterialCode::MagnetN).empty());
    DragOnPicture(w, Qt::LeftButton, {{3, 3}});
    QCOMPARE(NodeMaterial(w, 3, 3), MaterialCode::MagnetN);
}

void WindowTest::coordinatesAndCopies() {
    Session s("[Grid]\nComboGrid=3\n");
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
}

void WindowTest::helpShowsContentsOrSaysThereIsNone() {
    Session s;
    MainWindow& w = s.w;
    FakeDialogs& dialogs = s.services.dialogs;
    FakeHelp& help = s.services.help;
    Trigger(w, "helpAction");
    QVERIFY(dialogs.messages.at(0).text.contains("There is no Help"));
    QCOMPARE(dialogs.messages.at(0).title, QString("Untitled - Tesvid"));  // the window's
    WithOptions(w, [&](OptionsDialog& d) {
        Click(d, "helpButton");
        QVERIFY(dialogs.messages.at(1).text.contains("There is no Help"));
        QCOMPARE(dialogs.messages.at(1).title, QString("Options"));
        help.file = "tesvid.html";
        Click(d, "helpButton");
        QCOMPARE(help.shown.at(0), Shown(&d, kOptionsHelpContext));
    });
    Trigger(w, "helpAction");
    QCOMPARE(help.shown.at(1), Shown(&w, 0));
    help.error = "The help viewer failed";
    Trigger(w, "helpAction");
    QCOMPARE(dialogs.messages.back().text, QString("The help viewer failed"));
}

void WindowTest::cancelChangesNothingOkTakesTheOptions() {
    Session s;
    MainWindow& w = s.w;
    WithOptions(w, [](OptionsDialog& d) {
        TypeInto(d, "areaSizeEdit", "300");
        TypeInto(d, "mainRadiusEdit", "0.6");
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(!d.isVisible());
    });
    QCOMPARE(w.model().project.Rjac1, 0.9995);
    QCOMPARE(TextOf(w, "areaSizeLabel"), QString("100"));
    WithOptions(w, [](OptionsDialog& d) {
        QCOMPARE(TextOf(d, "areaSizeEdit") + TextOf(d, "gridStepLabel"), QString("1002"));
        Child<QComboBox>(d, "gridCombo").setCurrentIndex(1);  // 100x100
        TypeInto(d, "areaSizeEdit", "150");
        QCOMPARE(TextOf(d, "gridStepLabel"), QString("1.5"));
        TypeInto(d, "mainRadiusEdit", "0,9993");
        TypeInto(d, "passesEdit", "12,5");
        TypeInto(d, "magnetBrEdit", "-1.2");
        TypeInto(d, "magnetHcEdit", "-120");
        TypeInto(d, "magnetBHmaxEdit", "-40");
        Child<QCheckBox>(d, "showCrossSectionsCheck").setChecked(false);
        Click(d, "okButton");
        QVERIFY(!d.isVisible());
    });
    const Project& p = w.model().project;
    QCOMPARE(p.GridSize, 100);
    QCOMPARE(p.GridStep, 0.0015);
    QCOMPARE(p.Rjac1, 0.9993);
    QCOMPARE(p.MainSteps, 12);  // halves of a pass go to the even neighbour
    QCOMPARE(p.MagBr, 1.2);
    QCOMPARE(p.MagBHmax, 40000.0);
    // The drawing area and its caption follow at once in the editing view.
    QCOMPARE(TextOf(w, "areaSizeLabel"), QString("150"));
    QCOMPARE(DrawingArea(w).Surface().PenWidth(), 4);
    // Reopened: the options in force, the magnet's values positive.
    WithOptions(w, [](OptionsDialog& d) {
        QCOMPARE(TextOf(d, "magnetBHmaxEdit") + TextOf(d, "mainRadiusEdit"), QString("400.9993"));
        QVERIFY(!Child<QCheckBox>(d, "showCrossSectionsCheck").isChecked());
    });
}

void WindowTest::settingsKeepTheirStoredNamesAcrossSessions() {
    TestServices services;
    {
        MainWindow w(services.Services());
        WithOptions(w, [](OptionsDialog& d) {
            Child<QComboBox>(d, "gridCombo").setCurrentIndex(2);  // 200x200
            TypeInto(d, "ironSaturationEdit", "1.8");
            TypeInto(d, "finalRadiusEdit", "0.9");
            TypeInto(d, "wireDiameter1Edit", "0.7");
            Child<QCheckBox>(d, "showIntermediateCheck").setChecked(true);
            // A letter outside ISO 8859-1 is stored as "?".
            Child<QPlainTextEdit>(d, "commentsEdit").setPlainText("Pole \u00e9\ngap \u0416");
            Click(d, "okButton");
        });
        w.close();
    }
    const QByteArray ini = services.ReadSettingsFile();
    QVERIFY(ini.contains(kSwitchesSection));
    for (const char* text :
         {"[Grid]", "ComboGrid=2", "[Steel]", "TextSteelMaxB=1.8", "[R_Jacoby]", "TextRjacFin=0.9",
          "[Coils]", "TextDProv1=0.7", "[frmComments]", "CheckShowIntermediate=1", "[Vezozo]",
          "TextMagBHmax=30", "[Misc]", "TextKMu=0.05"}) {
        QVERIFY2(ini.contains(text), text);
    }
    QCOMPARE(ini.count('='), 24);  // with the colour report and the calculation's two

    MainWindow again(services.Services());
    const Project& p = again.model().project;
    QCOMPARE(p.GridSize, 200);
    QCOMPARE(p.SteelSaturationB, 1.8);
    QCOMPARE(p.RjacFin, 0.9);
    QCOMPARE(p.WireDiameter1, 0.7);
    QCOMPARE(QByteArray::fromStdString(p.Comments.substr(0, 13)), QByteArray("Pole \xe9\r\ngap ?"));
    QCOMPARE(p.Comments.size(), std::size_t{200});
}

void WindowTest::unusableStoredValuesGiveWayToTheFirstStart() {
    Session s(
        "[Grid]\nTextAreaSize=0\nComboGrid=7\n[R_Jacoby]\nTextRjac0=2\nTextRjac1=0,9991\n"
        "[Coils]\nTextDProv1=none\nTextMaxTok1=\"2,5\"\n[Misc]\nTextMainSteps=99999\n"
        "[Vezozo]\nTextMagHc=0\nTextMagBHmax=500\n" +
        kSwitchesSection + "\nCheckShowCrossSections=5\n");
    MainWindow& w = s.w;
    const Project& p = w.model().project;
    const Project first = FirstStartProject();
    QCOMPARE(p.AreaSize, first.AreaSize);
    QCOMPARE(p.GridSize, first.GridSize);
    QCOMPARE(p.MainSteps, first.MainSteps);
    // Usable values are taken, with a comma, and a magnet outside the OK rule too.
    QCOMPARE(p.Rjac1, 0.9991);
    QCOMPARE(p.SliderFullScale1, 2.5);
    QCOMPARE(p.MagBHmax, 500000.0);
    WithOptions(w, [](OptionsDialog& d) {
        QVERIFY(Child<QCheckBox>(d, "showCrossSectionsCheck").isChecked());
    });
    QVERIFY(s.services.dialogs.messages.empty());
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
        QCOMPARE(s.services.dialogs.messages[0].text, c.message);
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

QTEST_MAIN(WindowTest)
#include "window_test.moc"

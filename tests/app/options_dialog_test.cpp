// The options dialog opened from the main window: OK, the refusals, Cancel and Escape, and the
// options' round trip through the settings file.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
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

// The options dialog's own section in the settings file, under its stored name.
const QByteArray kSwitchesSection = "[frm" "Options]";

}  // namespace

class OptionsDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void okTakesTheOptionsAndTheWindowFollows();
    void settingsKeepTheirStoredNamesAcrossSessions();
    void unusableStoredValuesGiveWayToTheFirstStart();
    void unusableValuesAreRefusedWithTheDialogKeptOpen();
    void cancelAndEscapeChangeNothing();
};

void OptionsDialogTest::okTakesTheOptionsAndTheWindowFollows() {
    TestServices services;
    MainWindow w(services.Services());
    WithOptions(w, [](OptionsDialog& d) {
        QCOMPARE(TextOf(d, "gridStepLabel"), QString("2"));
        Child<QComboBox>(d, "gridCombo").setCurrentIndex(1);  // 100x100
        TypeInto(OptionsEdit(d, "areaSizeEdit"), "150");
        QCOMPARE(TextOf(d, "gridStepLabel"), QString("1.5"));
        TypeInto(OptionsEdit(d, "mainRadiusEdit"), "0,9993");
        TypeInto(OptionsEdit(d, "passesEdit"), "12,5");
        TypeInto(OptionsEdit(d, "magnetBrEdit"), "-1.2");
        TypeInto(OptionsEdit(d, "magnetHcEdit"), "-120");
        TypeInto(OptionsEdit(d, "magnetBHmaxEdit"), "-40");
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
    QVERIFY(p.MagCurveK > 0 && p.MagMuRec > 0);
    // The drawing area and its caption follow at once in the editing view.
    QCOMPARE(TextOf(w, "areaSizeLabel"), QString("150"));
    QCOMPARE(DrawingArea(w).Surface().PenWidth(), 4);
    // Reopened: the options in force, the magnet's values positive.
    WithOptions(w, [](OptionsDialog& d) {
        QCOMPARE(OptionsEdit(d, "magnetBHmaxEdit").text(), QString("40"));
        QCOMPARE(OptionsEdit(d, "mainRadiusEdit").text(), QString("0.9993"));
        QVERIFY(!Child<QCheckBox>(d, "showCrossSectionsCheck").isChecked());
    });
}

void OptionsDialogTest::settingsKeepTheirStoredNamesAcrossSessions() {
    TestServices services;
    {
        MainWindow w(services.Services());
        WithOptions(w, [](OptionsDialog& d) {
            Child<QComboBox>(d, "gridCombo").setCurrentIndex(2);  // 200x200
            TypeInto(OptionsEdit(d, "ironSaturationEdit"), "1.8");
            TypeInto(OptionsEdit(d, "finalRadiusEdit"), "0.9");
            TypeInto(OptionsEdit(d, "wireDiameter1Edit"), "0.7");
            Child<QCheckBox>(d, "showIntermediateCheck").setChecked(true);
            // Typed keys are plain; the accented and Cyrillic letters are pasted.
            auto& comments = Child<QPlainTextEdit>(d, "commentsEdit");
            comments.setPlainText(QString::fromUtf8("Pole \u00e9\ngap \u0416"));
            Click(d, "okButton");
        });
        w.close();
    }
    const QByteArray ini = services.settings.ReadRawFile();
    const QList<QByteArray> stored = {
        "[Grid]", "ComboGrid=2", "[Steel]", "TextSteelMaxB=1.8", "[R_Jacoby]", "TextRjacFin=0.9",
        "[Coils]", "TextDProv1=0.7", kSwitchesSection, "CheckShowIntermediate=1",
        "[frmComments]", "[Vezozo]", "TextMagBHmax=30", "[Misc]", "TextKMu=0.05"};
    for (const QByteArray& text : stored) {
        QVERIFY2(ini.contains(text), text.constData());
    }
    QCOMPARE(ini.count('='), 21);

    MainWindow again(services.Services());
    const Project& p = again.model().project;
    QCOMPARE(p.GridSize, 200);
    QCOMPARE(p.SteelSaturationB, 1.8);
    QCOMPARE(p.RjacFin, 0.9);
    QCOMPARE(p.WireDiameter1, 0.7);
    QCOMPARE(QByteArray::fromStdString(p.Comments.substr(0, 13)),
             QByteArray("Pole \xe9\r\ngap ?"));
    QCOMPARE(p.Comments.size(), std::size_t{200});
    QCOMPARE(DrawingArea(again).Surface().PenWidth(), 2);
}

void OptionsDialogTest::unusableStoredValuesGiveWayToTheFirstStart() {
    TestServices services;
    services.settings.WriteRawFile(
        "[Grid]\nTextAreaSize=0\nComboGrid=7\n[R_Jacoby]\nTextRjac0=2\nTextRjac1=0,9991\n"
        "[Coils]\nTextDProv1=none\nTextMaxTok1=\"2,5\"\n[Misc]\nTextMainSteps=99999\n"
        "[Vezozo]\nTextMagHc=0\nTextMagBHmax=500\n" + kSwitchesSection +
        "\nCheckShowCrossSections=5\n");
    MainWindow w(services.Services());
    const Project& p = w.model().project;
    const Project first = FirstStartProject();
    QCOMPARE(p.AreaSize, first.AreaSize);
    QCOMPARE(p.GridSize, first.GridSize);
    QCOMPARE(p.Rjac0, first.Rjac0);
    QCOMPARE(p.WireDiameter1, first.WireDiameter1);
    QCOMPARE(p.MainSteps, first.MainSteps);
    QCOMPARE(p.MagHc, first.MagHc);
    // Usable values are taken, with a comma, and a magnet outside the OK rule too.
    QCOMPARE(p.Rjac1, 0.9991);
    QCOMPARE(p.SliderFullScale1, 2.5);
    QCOMPARE(p.MagBHmax, 500000.0);
    WithOptions(w, [](OptionsDialog& d) {
        QVERIFY(Child<QCheckBox>(d, "showCrossSectionsCheck").isChecked());
    });
    QVERIFY(services.dialogs.messages.empty());
}

void OptionsDialogTest::unusableValuesAreRefusedWithTheDialogKeptOpen() {
    TestServices services;
    MainWindow w(services.Services());
    const QString magnetRule("BHmax must be between Br*Hc and Br*Hc/4\nPlease check the parameters");
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
        services.dialogs.messages.clear();
        QWidget* focused = nullptr;
        bool open = false;
        WithOptions(w, [&](OptionsDialog& d) {
            TypeInto(OptionsEdit(d, c.field), c.text);
            Click(d, "okButton");
            open = d.isVisible();
            focused = d.focusWidget();
        });
        QVERIFY2(open, c.field);
        QCOMPARE(services.dialogs.messages.size(), std::size_t{1});
        QCOMPARE(services.dialogs.messages[0].text, c.message);
        QCOMPARE(services.dialogs.messages[0].systemModal, c.message == magnetRule);
        QCOMPARE(focused->objectName(), QString(c.field));
    }
    QCOMPARE(w.model().project.AreaSize, 100.0f);
    QCOMPARE(w.model().project.MagBHmax, 30000.0);
    // The bounds themselves are usable.
    WithOptions(w, [](OptionsDialog& d) {
        TypeInto(OptionsEdit(d, "magnetBHmaxEdit"), "25");
        TypeInto(OptionsEdit(d, "initialRadiusEdit"), "0");
        TypeInto(OptionsEdit(d, "passesEdit"), "32767");
        Click(d, "okButton");
        QVERIFY(!d.isVisible());
    });
    QCOMPARE(w.model().project.MagBHmax, 25000.0);
    QCOMPARE(w.model().project.MainSteps, 32767);
}

void OptionsDialogTest::cancelAndEscapeChangeNothing() {
    TestServices services;
    MainWindow w(services.Services());
    WithOptions(w, [](OptionsDialog& d) {
        TypeInto(OptionsEdit(d, "areaSizeEdit"), "300");
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(!d.isVisible());
    });
    WithOptions(w, [](OptionsDialog& d) {
        QCOMPARE(OptionsEdit(d, "areaSizeEdit").text(), QString("100"));  // refilled
        TypeInto(OptionsEdit(d, "mainRadiusEdit"), "0.6");
        Click(d, "cancelButton");
    });
    QCOMPARE(w.model().project.AreaSize, 100.0f);
    QCOMPARE(w.model().project.Rjac1, 0.9995);
    QCOMPARE(TextOf(w, "areaSizeLabel"), QString("100"));
}

QTEST_MAIN(OptionsDialogTest)
#include "options_dialog_test.moc"

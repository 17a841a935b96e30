// The options dialog opened from the main window: OK, Cancel and Escape, the checks on OK, the
// step label, Help, and the options' round trip through the settings file.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/main_window.h"
#include "app/support/test_services.h"
#include "app/support/window_driver.h"
#include "options/options_dialog.h"
#include "platform/picture_box.h"

using namespace tesvid;
using namespace tesvid::testing;

namespace {

void TypeInto(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

// Opens the dialog with the Options command and runs the action while it is shown modally;
// the action ends it with OK or Cancel (it is cancelled afterwards if it is still open).
void WithOptions(MainWindow& w, const std::function<void(OptionsDialog&)>& action) {
    bool ran = false;
    QTimer::singleShot(0, &w, [&] {
        OptionsDialog& dialog = w.frmOptions();
        ran = dialog.isVisible();
        action(dialog);
        if (dialog.isVisible()) {
            dialog.reject();
        }
    });
    w.mnuOptions->trigger();
    QVERIFY(ran);
}

const QString kMagnetMessage =
    QString::fromUtf8("BHmax must be between Br*Hc \u0438 Br*Hc/4\nPlease check the parameters");

}  // namespace

class OptionsDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void layoutAndFirstStartTexts();
    void okTakesTheValuesIntoTheModel();
    void roundTripThroughTheSettingsFile();
    void commaDecimalAndIndexTextsReadBack();
    void magnetRuleBounds();
    void unusableValuesAreRefusedWithTheDialogKeptOpen();
    void unusableStoredValuesFallBackToTheDefaults();
    void cancelAndEscapeChangeNothing();
    void stepLabelFollowsGridAndArea();
    void helpOpensTheOptionsTopic();
    void commentKeepsItsSpacesAndLines();
};

void OptionsDialogTest::layoutAndFirstStartTexts() {
    TestServices services;
    MainWindow w(services.Services());
    OptionsDialog& d = w.frmOptions();
    QCOMPARE(d.windowTitle(), QString("Options"));
    QCOMPARE(d.size(), QSize(480, 426));
    const struct {
        const char* name;
        QRect geometry;
        const char* title;
    } frames[] = {{"Grid", {16, 8, 113, 137}, "Grid"},
                  {"R_Jacoby", {144, 8, 105, 137}, "Jacoby radius"},
                  {"Misc", {272, 8, 193, 137}, "Miscellaneous"},
                  {"Steel", {16, 152, 113, 89}, "Iron"},
                  {"Coils", {144, 152, 209, 89}, "Coils"},
                  {"Vezozo", {16, 248, 113, 121}, "Magnet"},
                  {"frmComments", {144, 248, 209, 121}, "Comments"}};
    for (const auto& f : frames) {
        auto* frame = d.findChild<QGroupBox*>(f.name);
        QVERIFY2(frame != nullptr, f.name);
        QCOMPARE(frame->geometry(), f.geometry);
        QCOMPARE(frame->title(), QString(f.title));
    }
    QCOMPARE(d.cmdOK->geometry(), QRect(384, 216, 73, 25));
    QCOMPARE(d.cmdCancel->geometry(), QRect(384, 256, 73, 25));
    QCOMPARE(d.CommandHelp->geometry(), QRect(384, 384, 73, 25));
    QCOMPARE(d.CheckShowIntermediate->pos(), QPoint(16, 384));
    QCOMPARE(d.CheckShowCrossSections->pos(), QPoint(184, 384));
    QCOMPARE(d.TextComments->size(), QSize(177, 81));
    QCOMPARE(d.CheckShowIntermediate->text(), QString("Show intermediate results"));
    QCOMPARE(d.CheckShowCrossSections->text(), QString("Show coordinate distributions"));
    QStringList grids;
    for (int k = 0; k < d.ComboGrid->count(); ++k) {
        grids << d.ComboGrid->itemText(k);
    }
    QCOMPARE(grids, QStringList({"50x50", "100x100", "200x200", "400x400"}));
    // The controls sit in their frames.
    QCOMPARE(d.TextRjac1->parentWidget()->objectName(), QString("R_Jacoby"));
    QCOMPARE(d.TextMagBHmax->parentWidget()->objectName(), QString("Vezozo"));
    QCOMPARE(d.TextKMu->parentWidget()->objectName(), QString("Misc"));
    QVERIFY(d.findChild<QLabel*>()->parentWidget() != nullptr);
    QVERIFY(!d.isVisible());
}

void OptionsDialogTest::okTakesTheValuesIntoTheModel() {
    TestServices services;
    MainWindow w(services.Services());
    WithOptions(w, [](OptionsDialog& d) {
        QTest::keyClick(d.ComboGrid, Qt::Key_Down);  // 100x100
        TypeInto(d.TextAreaSize, "150");
        TypeInto(d.TextRjac1, "0,9993");
        TypeInto(d.TextMainSteps, "12,7");
        TypeInto(d.TextMagBr, "-1.2");
        TypeInto(d.TextMagHc, "-120");
        TypeInto(d.TextMagBHmax, "-40");
        TypeInto(d.TextKMu, "0.1");
        TypeInto(d.TextMaxTok1, "20");
        TypeInto(d.TextDProv2, "0.5");
        TypeInto(d.TextPrintScale, "2");
        TypeInto(d.TextLineStep, "5");
        QTest::mouseClick(d.CheckShowIntermediate, Qt::LeftButton);
        QTest::mouseClick(d.CheckShowCrossSections, Qt::LeftButton);
        QTest::mouseClick(d.cmdOK, Qt::LeftButton);
        QVERIFY(!d.isVisible());
    });
    const Model& m = w.model();
    QVERIFY(services.dialogs.messages.empty());
    QCOMPARE(m.project.GridSize, 100);
    QCOMPARE(m.project.AreaSize, 150.0f);
    QCOMPARE(m.project.GridStep, 0.0015);
    QCOMPARE(m.project.Rjac1, 0.9993);
    QCOMPARE(m.project.MainSteps, 12);
    QCOMPARE(m.project.MagBr, 1.2);
    QCOMPARE(m.project.MagHc, 120000.0);
    QCOMPARE(m.project.MagBHmax, 40000.0);
    QVERIFY(m.project.MagCurveK > 0 && m.project.MagMuRec > 0);
    QCOMPARE(m.project.ReluctivityRelaxation, 0.1);
    QCOMPARE(m.project.SliderFullScale1, 20.0);
    QCOMPARE(m.project.WireDiameter2, 0.5);
    QCOMPARE(m.project.PrintScale, 2.0f);
    QCOMPARE(m.project.LineStep, 5.0f);
    QVERIFY(m.ShowIntermediate);
    QVERIFY(!m.ShowCrossSections);
    // The area caption and the drawing area's scale and pen follow; the map waits for RUN.
    QCOMPARE(w.Label4->text(), QString("150"));
    QCOMPARE(w.Picture1->Surface().PenWidth(), 4);
    QCOMPARE(w.Picture1->Surface().ScaleWidth(), 100.0);
    QCOMPARE(m.arrays.MapGridSize, 50);
    // Opened again, the dialog shows the values in force, magnets positive.
    WithOptions(w, [](OptionsDialog& d) {
        QCOMPARE(d.TextMagBr->text(), QString("1.2"));
        QCOMPARE(d.TextMagBHmax->text(), QString("40"));
        QCOMPARE(d.TextRjac1->text(), QString("0.9993"));
        QCOMPARE(d.TextMainSteps->text(), QString("12"));
        QCOMPARE(d.ComboGrid->currentIndex(), 1);
        QCOMPARE(d.LabelGridStep->text(), QString("1.5"));
        // Halves of the passes go to the even neighbour.
        TypeInto(d.TextMainSteps, "12.5");
        QTest::mouseClick(d.cmdOK, Qt::LeftButton);
    });
    QCOMPARE(w.model().project.MainSteps, 12);
    WithOptions(w, [](OptionsDialog& d) {
        TypeInto(d.TextMainSteps, "13.5");
        QTest::mouseClick(d.cmdOK, Qt::LeftButton);
    });
    QCOMPARE(w.model().project.MainSteps, 14);
}

void OptionsDialogTest::roundTripThroughTheSettingsFile() {
    TestServices services;
    {
        MainWindow w(services.Services());
        WithOptions(w, [](OptionsDialog& d) {
            QTest::keyClick(d.ComboGrid, Qt::Key_Down);
            QTest::keyClick(d.ComboGrid, Qt::Key_Down);  // 200x200
            TypeInto(d.TextAreaSize, "80");
            TypeInto(d.TextSteelMu, "1500");
            TypeInto(d.TextSteelMaxB, "1.8");
            TypeInto(d.TextRjacFin, "0.9");
            TypeInto(d.TextMagBHmax, "60");
            TypeInto(d.TextDProv1, "0.7");
            QTest::mouseClick(d.CheckShowCrossSections, Qt::LeftButton);
            QTest::mouseClick(d.cmdOK, Qt::LeftButton);
        });
        w.close();
    }
    const QByteArray ini = services.settings.ReadRawFile();
    QVERIFY(ini.contains("[Grid]"));
    QVERIFY(ini.contains("ComboGrid=2"));
    QVERIFY(ini.contains("[Vezozo]"));
    QVERIFY(ini.contains("TextMagBHmax=60"));
    QVERIFY(ini.contains("[frmOptions]"));
    QVERIFY(ini.contains("CheckShowCrossSections=0"));
    QVERIFY(ini.contains("[Steel]"));
    QVERIFY(ini.contains("[frmComments]"));

    MainWindow again(services.Services());
    const Model& m = again.model();
    QCOMPARE(m.project.GridSize, 200);
    QCOMPARE(m.project.AreaSize, 80.0f);
    QCOMPARE(m.project.GridStep, 0.0004);
    QCOMPARE(m.project.SteelMu, 1500.0);
    QCOMPARE(m.project.SteelSaturationB, 1.8);
    QCOMPARE(m.project.RjacFin, 0.9);
    QCOMPARE(m.project.MagBHmax, 60000.0);
    QCOMPARE(m.project.WireDiameter1, 0.7);
    QVERIFY(!m.ShowCrossSections);
    QCOMPARE(again.Picture1->Surface().PenWidth(), 2);
    QCOMPARE(again.Label4->text(), QString("80"));
    // All 21 settings are there.
    int keys = 0;
    for (const QByteArray& line : ini.split('\n')) {
        keys += line.contains('=') ? 1 : 0;
    }
    QCOMPARE(keys, 21);
}

void OptionsDialogTest::commaDecimalAndIndexTextsReadBack() {
    TestServices services;
    // As typed into the file by hand: an unquoted comma, an index with a comma.
    services.settings.WriteRawFile(
        "[R_Jacoby]\nTextRjac1=0,9995\n[Grid]\nComboGrid=1,9\n[Coils]\nTextMaxTok1=\"2,5\"\n");
    MainWindow w(services.Services());
    QCOMPARE(w.model().project.Rjac1, 0.9995);
    QCOMPARE(w.frmOptions().TextRjac1->text(), QString("0,9995"));
    QCOMPARE(w.model().project.GridSize, 100);  // the comma ends the index
    QCOMPARE(w.model().project.SliderFullScale1, 2.5);
    QVERIFY(services.dialogs.messages.empty());
}

void OptionsDialogTest::magnetRuleBounds() {
    TestServices services;
    MainWindow w(services.Services());
    const struct {
        const char* bhmax;
        bool accepted;
    } cases[] = {{"25", true}, {"100", true}, {"24.9", false}, {"100.1", false}, {"60", true}};
    for (const auto& c : cases) {
        services.dialogs.messages.clear();
        const double before = w.model().project.MagBHmax;
        bool openAfterOk = false;
        WithOptions(w, [&](OptionsDialog& d) {
            TypeInto(d.TextMagBr, "1");
            TypeInto(d.TextMagHc, "100");
            TypeInto(d.TextMagBHmax, c.bhmax);
            QTest::mouseClick(d.cmdOK, Qt::LeftButton);
            openAfterOk = d.isVisible();
            if (openAfterOk) {
                // The user's texts stay for correcting.
                QCOMPARE(d.TextMagBHmax->text(), QString(c.bhmax));
            }
        });
        QCOMPARE(openAfterOk, !c.accepted);
        if (c.accepted) {
            QVERIFY(services.dialogs.messages.empty());
            QCOMPARE(w.model().project.MagBHmax, QString(c.bhmax).toDouble() * 1000);
        } else {
            QCOMPARE(services.dialogs.messages.size(), std::size_t{1});
            QCOMPARE(services.dialogs.messages[0].text, kMagnetMessage);
            QCOMPARE(services.dialogs.messages[0].title, QString("Tesvid"));
            QVERIFY(services.dialogs.messages[0].systemModal);
            QCOMPARE(w.model().project.MagBHmax, before);
        }
    }
}

void OptionsDialogTest::unusableValuesAreRefusedWithTheDialogKeptOpen() {
    TestServices services;
    MainWindow w(services.Services());
    const struct {
        const char* field;
        const char* text;
        const char* named;
    } cases[] = {{"TextAreaSize", "0", "area"},     {"TextSteelMu", "-5", "Mu"},
                 {"TextDProv1", "0", "coil 1"},     {"TextDProv2", "abc", "coil 2"},
                 {"TextRjac0", "1.5", "initial"},   {"TextRjac1", "-0,1", "main"},
                 {"TextRjacFin", "2", "final"},     {"TextMainSteps", "40000", "passes"},
                 {"TextMainSteps", "-1", "passes"}, {"TextMagBr", "0", "Br"},
                 {"TextMagHc", "0", "Hc"}};
    const Model before = w.model();
    for (const auto& c : cases) {
        services.dialogs.messages.clear();
        bool open = false;
        QWidget* focused = nullptr;
        WithOptions(w, [&](OptionsDialog& d) {
            TypeInto(d.findChild<QLineEdit*>(c.field), c.text);
            QTest::mouseClick(d.cmdOK, Qt::LeftButton);
            open = d.isVisible();
            focused = d.focusWidget();
        });
        QVERIFY2(open, c.field);
        QCOMPARE(services.dialogs.messages.size(), std::size_t{1});
        QVERIFY2(services.dialogs.messages[0].text.contains(c.named),
                 qPrintable(services.dialogs.messages[0].text));
        QCOMPARE(focused->objectName(), QString(c.field));
        QCOMPARE(w.model().project.AreaSize, before.project.AreaSize);
        QCOMPARE(w.model().project.SteelMu, before.project.SteelMu);
        QCOMPARE(w.model().project.Rjac0, before.project.Rjac0);
        QCOMPARE(w.model().project.MainSteps, before.project.MainSteps);
        QCOMPARE(w.model().project.MagHc, before.project.MagHc);
    }
    // The bounds themselves are usable.
    services.dialogs.messages.clear();
    WithOptions(w, [](OptionsDialog& d) {
        TypeInto(d.TextRjac0, "0");
        TypeInto(d.TextRjacFin, "1");
        TypeInto(d.TextMainSteps, "32767");
        QTest::mouseClick(d.cmdOK, Qt::LeftButton);
    });
    QVERIFY(services.dialogs.messages.empty());
    QCOMPARE(w.model().project.MainSteps, 32767);
    QCOMPARE(w.model().project.RjacFin, 1.0);
}

void OptionsDialogTest::unusableStoredValuesFallBackToTheDefaults() {
    TestServices services;
    services.settings.WriteRawFile(
        "[Grid]\nTextAreaSize=0\nComboGrid=7\n"
        "[R_Jacoby]\nTextRjac0=2\n"
        "[Steel]\nTextSteelMu=-3\n"
        "[Coils]\nTextDProv1=none\n"
        "[Misc]\nTextMainSteps=99999\nTextKMu=0.2\n"
        "[Vezozo]\nTextMagHc=0\nTextMagBHmax=500\n"
        "[frmOptions]\nCheckShowCrossSections=5\nCheckShowIntermediate=1\n");
    MainWindow w(services.Services());
    const Model& m = w.model();
    QCOMPARE(m.project.AreaSize, 100.0f);
    QCOMPARE(m.project.GridSize, 50);
    QCOMPARE(m.project.Rjac0, 0.995);
    QCOMPARE(m.project.SteelMu, 2000.0);
    QCOMPARE(m.project.WireDiameter1, 1.0);
    QCOMPARE(m.project.MainSteps, 10);
    QCOMPARE(m.project.MagHc, 100000.0);
    QVERIFY(m.ShowCrossSections);
    // Usable values are taken over, also a magnet outside the OK rule.
    QVERIFY(m.ShowIntermediate);
    QCOMPARE(m.project.ReluctivityRelaxation, 0.2);
    QCOMPARE(m.project.MagBHmax, 500000.0);
}

void OptionsDialogTest::cancelAndEscapeChangeNothing() {
    TestServices services;
    MainWindow w(services.Services());
    const double rjac1 = w.model().project.Rjac1;
    WithOptions(w, [](OptionsDialog& d) {
        TypeInto(d.TextRjac1, "0.5");
        TypeInto(d.TextAreaSize, "300");
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(!d.isVisible());
    });
    QCOMPARE(w.model().project.Rjac1, rjac1);
    QCOMPARE(w.model().project.AreaSize, 100.0f);
    QCOMPARE(w.Label4->text(), QString("100"));
    WithOptions(w, [](OptionsDialog& d) {
        QCOMPARE(d.TextRjac1->text(), QString("0.9995"));  // refilled from the model
        TypeInto(d.TextRjac1, "0.6");
        QTest::mouseClick(d.cmdCancel, Qt::LeftButton);
        QVERIFY(!d.isVisible());
    });
    QCOMPARE(w.model().project.Rjac1, rjac1);
}

void OptionsDialogTest::stepLabelFollowsGridAndArea() {
    TestServices services;
    MainWindow w(services.Services());
    WithOptions(w, [&](OptionsDialog& d) {
        QCOMPARE(d.LabelGridStep->text(), QString("2"));
        d.ComboGrid->setFocus();
        QTest::keyClick(d.ComboGrid, Qt::Key_End);  // 400x400
        QCOMPARE(d.ComboGrid->currentText(), QString("400x400"));
        QCOMPARE(d.LabelGridStep->text(), QString("0.25"));
        TypeInto(d.TextAreaSize, "200");
        QCOMPARE(d.LabelGridStep->text(), QString("0.5"));
        QCOMPARE(w.model().project.GridSize, 50);  // nothing else until OK
        QTest::mouseClick(d.cmdCancel, Qt::LeftButton);
    });
}

void OptionsDialogTest::helpOpensTheOptionsTopic() {
    TestServices services;
    MainWindow w(services.Services());
    WithOptions(w, [&](OptionsDialog& d) {
        QTest::mouseClick(d.CommandHelp, Qt::LeftButton);
        QCOMPARE(services.dialogs.messages.size(), std::size_t{1});
        QCOMPARE(services.dialogs.messages[0].title, QString("Options"));
        QCOMPARE(services.dialogs.messages[0].text,
                 QString("Unable to display Help Contents. There is no Help associated with "
                         "this project."));
        QCOMPARE(services.dialogs.messages[0].icon, MessageIcon::Information);
        services.help.file = "tesvid.html";
        QTest::mouseClick(d.CommandHelp, Qt::LeftButton);
        QCOMPARE(services.help.shown, std::vector<int>({50}));
        QCOMPARE(services.help.owners[0], static_cast<QWidget*>(&d));
        QVERIFY(d.isVisible());
        QTest::mouseClick(d.cmdCancel, Qt::LeftButton);
    });
}

void OptionsDialogTest::commentKeepsItsSpacesAndLines() {
    TestServices services;
    {
        MainWindow w(services.Services());
        WithOptions(w, [](OptionsDialog& d) {
            // Typed keys are ASCII only; the accented and Cyrillic letters are pasted.
            d.TextComments->setFocus();
            QTest::keyClicks(d.TextComments, "Pole piece ");
            d.TextComments->insertPlainText(QString::fromUtf8("\u00e9"));
            QTest::keyClick(d.TextComments, Qt::Key_Return);
            QTest::keyClicks(d.TextComments, "gap 2 mm ");
            d.TextComments->insertPlainText(QString::fromUtf8("\u0416  "));
            QTest::mouseClick(d.cmdOK, Qt::LeftButton);
        });
        const std::string& c = w.model().project.Comments;
        QCOMPARE(c.size(), std::size_t{200});
        QCOMPARE(QByteArray::fromStdString(c.substr(0, 26)),
                 QByteArray("Pole piece \xe9\r\ngap 2 mm ?  "));
        QVERIFY(c.find_first_not_of(' ', 26) == std::string::npos);
        w.close();
    }
    MainWindow again(services.Services());
    const std::string& c = again.model().project.Comments;
    QCOMPARE(QByteArray::fromStdString(c.substr(0, 26)),
             QByteArray("Pole piece \xe9\r\ngap 2 mm ?  "));
    QCOMPARE(c.size(), std::size_t{200});
    // Confirming the dialog leaves it as it was, trailing spaces and all.
    const std::string stored = c;
    WithOptions(again, [](OptionsDialog& d) { QTest::mouseClick(d.cmdOK, Qt::LeftButton); });
    QCOMPARE(again.model().project.Comments, stored);
    // A text longer than the field is cut to 200 characters.
    WithOptions(again, [](OptionsDialog& d) {
        d.TextComments->setPlainText(QString(250, QLatin1Char('x')));
        QTest::mouseClick(d.cmdOK, Qt::LeftButton);
    });
    QCOMPARE(again.model().project.Comments, std::string(200, 'x'));
}

QTEST_MAIN(OptionsDialogTest)
#include "options_dialog_test.moc"

// The fixed layouts hold their captions: every caption fits its control, no control overlaps a
// sibling, and nothing sticks out of its group. With TESVID_SCREENSHOT_DIR set, the main window
// and the options dialog are also saved there as pictures for a person to look at.

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>

#include "app/main_window.h"
#include "app/support/test_services.h"
#include "app/support/window_driver.h"
#include "options/options_dialog.h"
#include "platform/help_viewer.h"

using namespace tesvid;
using namespace tesvid::testing;

namespace {

// Every caption fits: labels and buttons at their size hint, word-wrapped labels in their
// height, group titles within the group.
QStringList ClippedCaptions(QWidget* root) {
    QStringList clipped;
    for (QLabel* label : root->findChildren<QLabel*>()) {
        if (label->text().isEmpty() || !label->isVisibleTo(root)) {
            continue;
        }
        const bool fits = label->wordWrap()
                              ? label->heightForWidth(label->width()) <= label->height()
                              : label->sizeHint().width() <= label->width() &&
                                    label->sizeHint().height() <= label->height();
        if (!fits) {
            clipped << QStringLiteral("label \"%1\"").arg(label->text());
        }
    }
    for (QAbstractButton* button : root->findChildren<QAbstractButton*>()) {
        if (button->text().isEmpty()) {
            continue;
        }
        const QSize hint = button->sizeHint();
        // Push buttons keep a style margin of their own; only the text must fit.
        const int need = qobject_cast<QPushButton*>(button)
                             ? QFontMetrics(button->font()).horizontalAdvance(button->text()) + 6
                             : hint.width();
        if (need > button->width()) {
            clipped << QStringLiteral("button \"%1\" (%2 > %3)")
                           .arg(button->text())
                           .arg(need)
                           .arg(button->width());
        }
    }
    for (QGroupBox* group : root->findChildren<QGroupBox*>()) {
        const QFontMetrics fm(group->font());
        if (fm.horizontalAdvance(group->title()) + 16 > group->width()) {
            clipped << QStringLiteral("group \"%1\"").arg(group->title());
        }
    }
    return clipped;
}

// Siblings that overlap, and children that stick out of their parent.
QStringList Collisions(QWidget* root, const QStringList& allowedPairs) {
    QStringList found;
    QList<QWidget*> parents = root->findChildren<QWidget*>();
    parents.prepend(root);
    for (QWidget* parent : parents) {
        QList<QWidget*> children;
        for (QObject* o : parent->children()) {
            auto* w = qobject_cast<QWidget*>(o);
            if (w && !w->isWindow() && w->isVisibleTo(root) && !w->objectName().startsWith("qt_")) {
                children << w;
            }
        }
        if (qobject_cast<QGroupBox*>(parent)) {
            for (QWidget* c : children) {
                if (!parent->rect().contains(c->geometry())) {
                    found << QStringLiteral("%1 sticks out of %2")
                                 .arg(c->objectName(), parent->objectName());
                }
            }
        }
        for (int a = 0; a < children.size(); ++a) {
            for (int b = a + 1; b < children.size(); ++b) {
                if (!children[a]->geometry().intersects(children[b]->geometry())) {
                    continue;
                }
                const QString pair = children[a]->objectName() + "/" + children[b]->objectName();
                const QString reverse = children[b]->objectName() + "/" + children[a]->objectName();
                if (!allowedPairs.contains(pair) && !allowedPairs.contains(reverse)) {
                    found << pair;
                }
            }
        }
    }
    return found;
}

void SaveScreenshot(QWidget* widget, const QString& name) {
    const QString dir = qEnvironmentVariable("TESVID_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        widget->grab().save(QDir(dir).filePath(name));
    }
}

}  // namespace

class LayoutTest : public QObject {
    Q_OBJECT
  private slots:
    void mainWindowCaptionsFitAndNothingOverlaps();
    void optionsDialogCaptionsFitAndNothingOverlaps();
    void helpOpensWithTheOptionsTopicInView();
};

void LayoutTest::mainWindowCaptionsFitAndNothingOverlaps() {
    TestServices services;
    MainWindow w(services.Services());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // Something painted, for the picture.
    DragOnPicture(w, Qt::LeftButton, {{10, 20}, {12, 30}});
    ChooseMaterial(w, 1);
    DragOnPicture(w, Qt::LeftButton, {{20, 10}, {24, 40}});
    SaveScreenshot(&w, "main_window.png");

    // The coil panel group meets the bars' group on one shared pixel row, as on the form.
    const QStringList clipped = ClippedCaptions(&w);
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(", ")));
    const QStringList collisions = Collisions(w.centralWidget(), {"Frame7/Frame6"});
    QVERIFY2(collisions.isEmpty(), qPrintable(collisions.join(", ")));
}

void LayoutTest::optionsDialogCaptionsFitAndNothingOverlaps() {
    TestServices services;
    MainWindow w(services.Services());
    OptionsDialog& dialog = w.frmOptions();
    dialog.Var_to_Text();
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.size(), QSize(480, 426));
    SaveScreenshot(&dialog, "options_dialog.png");
    const QStringList clipped = ClippedCaptions(&dialog);
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(", ")));
    const QStringList collisions = Collisions(&dialog, {});
    QVERIFY2(collisions.isEmpty(), qPrintable(collisions.join(", ")));
    dialog.hide();
}

void LayoutTest::helpOpensWithTheOptionsTopicInView() {
    QWidget owner;
    HelpWindowViewer help(QDir(TESVID_SOURCE_DIR).filePath("help/tesvid.html"));
    QVERIFY(!help.Show(&owner, kOptionsHelpContext).has_value());
    QTextBrowser* window = help.Window();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    // The topic's heading is the first thing in view.
    const QTextCursor top = window->cursorForPosition(QPoint(10, 10));
    QCOMPARE(top.block().text(), QString("The Options dialog"));
    SaveScreenshot(window, "help_options.png");
    help.Show(&owner, 0);
    SaveScreenshot(window, "help_contents.png");
    help.Close();
}

QTEST_MAIN(LayoutTest)
#include "layout_test.moc"

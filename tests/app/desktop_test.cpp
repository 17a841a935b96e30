// Undo and Redo, Save Picture, suffixes, Open Recent, shortcuts, title, unsaved changes.

#include <QAction>
#include <QSignalSpy>
#include <QApplication>
#include <QMenu>
#include <QTemporaryDir>

#include "app/support/window_driver.h"
#include "batch/result_picture.h"
#include "model/material_code.h"
#include "platform/qimage_surface.h"

using namespace tesvid;
using namespace tesvid::testing;

namespace {

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

void TypeWireDiameter(OptionsDialog& d) {
    TypeInto(d, "wireDiameter1Edit", "0.7");
    Click(d, "okButton");
}

QImage ReadPng(const QString& path) {
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

}  // namespace

class DesktopTest : public QObject {
    Q_OBJECT
  private slots:
    void strokesUndoAndRedoByKeysOnTheDrawingOnly();
    void savePictureWritesTheAreaOrTheResultPicture();
    void unsavedChangesAreMarkedAndAskedAbout();
    void openRecentKeepsEightProjectsAndDropsMissingOnes();
};

void DesktopTest::strokesUndoAndRedoByKeysOnTheDrawingOnly() {
    Session s;
    MainWindow& w = s.w;
    std::vector<QImage> after{Area(w)};
    auto stroke = [&](const std::vector<Node>& path) {
        DragOnPicture(w, Qt::LeftButton, path);
        QVERIFY(Area(w) != after.back());
        after.push_back(Area(w));
    };
    stroke({{10, 20}, {12, 30}});
    ChooseMaterial(w, 1);  // iron, over the coil's edge
    stroke({{5, 5}, {30, 25}, {11, 22}});
    Click(w, "lineToolButton");
    stroke({{40, 2}, {20, 45}});

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
}

void DesktopTest::savePictureWritesTheAreaOrTheResultPicture() {
    QTemporaryDir dir;
    Session s;
    MainWindow& w = s.w;
    FakeDialogs& dialogs = s.services.dialogs;
    PaintTestCoil(w);
    // Typed without a suffix: the type's suffix is added, for a project as for a picture, and
    // the picture's dialog offers the project's name as a picture.
    dialogs.fileAnswers = {dir.filePath("coil"), dir.filePath("drawing")};
    Trigger(w, "saveProjectAction");
    Trigger(w, "savePictureAction");
    QCOMPARE(dialogs.dialogInitialNames.back(), dir.filePath("coil.png"));
    QVERIFY(QFile::exists(dir.filePath("coil.tvd")));
    QCOMPARE(ReadPng(dir.filePath("drawing.png")), Area(w));

    // A result: the same picture as tesvid-batch --png draws of the same field.
    Click(w, "runButton");
    HoverOverPicture(w, 5, 25);  // the probe's cross-hair is not saved
    dialogs.fileAnswers = {dir.filePath("result.png")};
    Trigger(w, "savePictureAction");
    QVERIFY(!WriteResultPicture(w.model(), dir.filePath("batch.png").toStdString()));
    QCOMPARE(ReadPng(dir.filePath("result.png")), ReadPng(dir.filePath("batch.png")));

    // A file that cannot be written is named, and nothing is left of it.
    const QString bad = dir.filePath("coil.tvd/x.png");
    dialogs.fileAnswers = {bad};
    Trigger(w, "savePictureAction");
    QCOMPARE(dialogs.messages.size(), std::size_t{1});
    QVERIFY(dialogs.messages[0].text.contains(bad));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 4);
}

void DesktopTest::unsavedChangesAreMarkedAndAskedAbout() {
    QTemporaryDir dir;
    Session s;
    MainWindow& w = s.w;
    FakeDialogs& dialogs = s.services.dialogs;
    QCOMPARE(w.windowTitle(), QString("Untitled - Tesvid"));
    // Each kind of change: a stroke, an undo, a typed current, a value of the options.
    const std::function<void()> changes[] = {
        [&] {
            DragOnPicture(w, Qt::LeftButton, {{10, 10}, {20, 20}});
        },
        [&] { Key(w, Qt::CTRL | Qt::Key_Z); }, [&] { TypeInto(w, "currentEdit2", "3"); },
        [&] { WithOptions(w, TypeWireDiameter); }};
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

void DesktopTest::openRecentKeepsEightProjectsAndDropsMissingOnes() {
    QTemporaryDir dir;
    TestServices services;
    {
        MainWindow w(services.Services());
        QVERIFY(!Child<QMenu>(w, "recentMenu").isEnabled());
        for (int k = 1; k <= 9; ++k) {
            services.dialogs.fileAnswers = {dir.filePath(QString("p%1.tvd").arg(k))};
            Trigger(w, "saveProjectAction");
        }
        // The newest first; p1 fell off the end.
        const QList<QAction*> entries = Child<QMenu>(w, "recentMenu").actions();
        QCOMPARE(entries.size(), 8);
        QCOMPARE(entries.front()->text(), "&1 " + dir.filePath("p9.tvd"));
        QCOMPARE(entries.back()->text(), "&8 " + dir.filePath("p2.tvd"));
        QVERIFY(QFile::remove(dir.filePath("p8.tvd")));
    }
    // The list outlives the session; a file gone is dropped, with a message that names it.
    MainWindow w(services.Services());
    QMenu& recent = Child<QMenu>(w, "recentMenu");
    recent.actions().at(1)->trigger();
    QCOMPARE(services.dialogs.messages.size(), std::size_t{1});
    QVERIFY(services.dialogs.messages[0].text.contains(dir.filePath("p8.tvd")));
    QCOMPARE(recent.actions().size(), 7);
    recent.actions().at(3)->trigger();  // p5
    QCOMPARE(w.windowTitle(), QString("p5.tvd - Tesvid"));
    QVERIFY(recent.actions().front()->text().endsWith("p5.tvd") && recent.actions().size() == 7);
}

QTEST_MAIN(DesktopTest)
#include "desktop_test.moc"

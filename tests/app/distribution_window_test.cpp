#include <QApplication>
#include <QShowEvent>
#include <QTest>
#include <QWidget>

#include <string>
#include <vector>

#include "platform/picture_box.h"
#include "view/forms/distribution_window.h"

using namespace tesvid;

namespace {

// Records the order in which windows are shown.
class ShowRecorder : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            shown.push_back(watched->objectName().toStdString());
        }
        return false;
    }
    std::vector<std::string> shown;
};

Model FieldModel(int n) {
    Model m;
    m.project.GridSize = static_cast<std::int16_t>(n);
    m.project.AreaSize = 100;
    m.project.GridStep = 0.1 / n;
    m.field.B.Create(n);
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            m.field.B(i, j) = static_cast<float>(0.001 * (i + 1) * (n - j + 1));
        }
    }
    return m;
}

int DifferingPixels(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            count += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
        }
    }
    return count;
}

}  // namespace

class DistributionWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void windowsHoldOnlyTheirPictureUnderTheirCaptions() {
        QWidget main;
        DistributionWindows windows(&main);
        QVERIFY(!windows.Created());
        DistributionWindow& form2 = windows.Form2();
        DistributionWindow& form3 = windows.Form3();
        QCOMPARE(form2.windowTitle(), QString("R distribution"));
        QCOMPARE(form3.windowTitle(), QString("Z distribution"));
        QVERIFY(form2.isWindow());
        for (DistributionWindow* w : {&form2, &form3}) {
            const auto children = w->findChildren<QWidget*>();
            QCOMPARE(children.size(), 1);
            QCOMPARE(children.front()->objectName(), QString("Picture1"));
            QVERIFY(qobject_cast<PictureBox*>(children.front()) != nullptr);
            QCOMPARE(w->minimumSize(), w->maximumSize());
            QCOMPARE(w->GraphImage().size(),
                     QSize(DistributionWindow::kPictureWidth, DistributionWindow::kPictureHeight));
        }
        // The same windows on every request.
        QCOMPARE(&windows.Form2(), &form2);
    }

    void crossSectionWindowsArePlacedBesideTheMainWindowOnlyWhenAsked() {
        QWidget main;
        main.resize(640, 480);
        main.move(100, 60);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        DistributionWindows windows(&main);
        Model m = FieldModel(50);

        m.ShowCrossSections = false;
        windows.ShowCrossSectionWindows(m);
        QVERIFY(!windows.Created());

        m.ShowCrossSections = true;
        ShowRecorder recorder;
        windows.Form2().installEventFilter(&recorder);
        windows.Form3().installEventFilter(&recorder);
        windows.ShowCrossSectionWindows(m);
        QVERIFY(windows.Form2().isVisible());
        QVERIFY(windows.Form3().isVisible());
        QVERIFY(!windows.Form2().isModal());
        QCOMPARE(recorder.shown, (std::vector<std::string>{"Form2", "Form3"}));
        QCOMPARE(windows.Form2().pos(), main.pos() + QPoint(473, 243));
        QCOMPARE(windows.Form3().pos(), main.pos() + QPoint(473, 40));
        QCOMPARE(CrossSectionOffset(GraphAxis::R), QPoint(7095 / 15, 3645 / 15));

        // Moved by the user, a window is shown again where it stands.
        windows.Form3().move(main.pos() + QPoint(10, 10));
        windows.Close();
        QVERIFY(!windows.Form2().isVisible());
        windows.Show();
        QVERIFY(windows.Form3().isVisible());
        QCOMPARE(windows.Form3().pos(), main.pos() + QPoint(10, 10));
    }

    void drawGrafRedrawsTheGraphsWithoutShowingThem() {
        QWidget main;
        DistributionWindows windows(&main);
        Model m = FieldModel(100);
        const QImage blank = windows.Form2().GraphImage();
        windows.DrawDistributionGraph(m, 30, 40);
        QVERIFY(!windows.Form2().isVisible());
        const QImage r = windows.Form2().GraphImage();
        const QImage z = windows.Form3().GraphImage();
        QVERIFY(DifferingPixels(blank, r) > 500);
        QVERIFY(DifferingPixels(r, z) > 100);
        // The red probe marker of the R graph stands at x = 30 of 101 units.
        const int markerX = static_cast<int>(30 * DistributionWindow::kPictureWidth / 101.0 + 0.5);
        QCOMPARE(QColor(r.pixel(markerX, DistributionWindow::kPictureHeight / 2)),
                 QColor(255, 0, 0));

        // A point off the grid leaves the graphs as they are.
        windows.DrawDistributionGraph(m, -1, -1);
        QCOMPARE(DifferingPixels(r, windows.Form2().GraphImage()), 0);
        QCOMPARE(DifferingPixels(z, windows.Form3().GraphImage()), 0);
    }

    void mouseOnTheGraphChangesNothing() {
        QWidget main;
        DistributionWindows windows(&main);
        Model m = FieldModel(50);
        windows.DrawDistributionGraph(m, 10, 10);
        windows.Show();
        QVERIFY(QTest::qWaitForWindowExposed(&windows.Form2()));
        const QImage before = windows.Form2().GraphImage();
        QTest::mouseClick(&windows.Form2().Picture1(), Qt::LeftButton, {}, QPoint(40, 40));
        QTest::mouseMove(&windows.Form2().Picture1(), QPoint(80, 90));
        QCOMPARE(DifferingPixels(before, windows.Form2().GraphImage()), 0);
    }
};

QTEST_MAIN(DistributionWindowTest)
#include "distribution_window_test.moc"

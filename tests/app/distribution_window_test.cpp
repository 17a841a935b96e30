// The distribution windows: placed beside the main window where the screen allows, once.

#include <QTest>

#include "app/main_window.h"
#include "app/support/test_services.h"
#include "app/support/window_driver.h"
#include "app/distribution_window.h"

using namespace tesvid;
using namespace tesvid::testing;

class DistributionWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void placedBesideTheMainWindowWhereTheScreenAllows() {
        // A column of two 300 x 220 frames, 4 pixels apart and from the main window's frame.
        const QSize graph(300, 220);
        const QRect main(100, 50, 800, 520);
        const struct {
            QRect screen;
            QPoint z;
        } cases[] = {
            {QRect(0, 0, 1600, 1000), QPoint(904, 50)},     // room on the right
            {QRect(-400, 0, 1400, 1000), QPoint(-204, 50)},  // room on the left only
            {QRect(0, 0, 1000, 1000), QPoint(700, 50)},     // no room: at the screen's edge
            {QRect(0, 0, 1000, 400), QPoint(700, 0)},       // too low: from the screen's top
        };
        for (const auto& c : cases) {
            const DistributionPlaces places = PlaceBeside(main, graph, graph, c.screen);
            QCOMPARE(places.z, c.z);
            QCOMPARE(places.r, c.z + QPoint(0, 224));
        }
    }

    void resultPlacesThemOnceAndTheyStayWhereTheUserLeftThem() {
        TestServices services;
        MainWindow w(services.Services());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        Click(w, "resultButton");
        auto& r = Child(w, "rDistributionWindow");
        auto& z = Child(w, "zDistributionWindow");
        QVERIFY(r.isVisible() && z.isVisible());
        QVERIFY(r.y() > z.y());
        r.move(r.pos() + QPoint(-30, 40));
        const QPoint moved = r.pos();
        Click(w, "editorButton");
        Click(w, "resultButton");
        QCOMPARE(r.pos(), moved);
    }
};

QTEST_MAIN(DistributionWindowTest)
#include "distribution_window_test.moc"

// Deferred painting: a held-back window paints when asked and, at the latest, when the deferral ends,
// so a window is never left unpainted after a transfer.

#include "ui/deferred_painting.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace orx;

namespace {

struct CountingWindow : QWidget
{
    int paints = 0;
    void paintEvent(QPaintEvent*) override { ++paints; }
};

TEST(DeferredPainting, PaintsWhenAskedAndWhenItEnds)
{
    CountingWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QApplication::processEvents();
    const int atStart = window.paints;
    {
        DeferredPainting deferred({&window});
        window.update();
        QApplication::processEvents();
        EXPECT_EQ(window.paints, atStart) << "held back while events run";
        deferred.paintNow();
        EXPECT_EQ(window.paints, atStart + 1);
        window.update();
        QApplication::processEvents();
    }
    EXPECT_EQ(window.paints, atStart + 2) << "what was held back is painted at the end";
    window.update();
    QApplication::processEvents();
    EXPECT_EQ(window.paints, atStart + 3) << "and the window paints by itself again";
}

} // namespace

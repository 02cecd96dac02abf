#include "ui/focus_on_hover.h"
#include "ui/pending_events.h"
#include "ui/qt_dialogs.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace orx;

TEST(QtDialogs, FileFilterTranslation)
{
    const struct
    {
        const char* in;
        const char* out;
    } cases[] = {{"All File(*,*)|*.*", "All File(*,*) (*)"},
                 {"Memory data|*.csv;*.txt|All|*.*", "Memory data (*.csv *.txt);;All (*)"},
                 {"", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(qtFileFilter(QString::fromLatin1(c.in)), QString::fromLatin1(c.out)) << c.in;
}

TEST(PendingEvents, RunsQueuedEventsAndTellsTheObserver)
{
    int observed = 0;
    bool timerRan = false;
    setPendingEventsObserver([&] { ++observed; });
    QTimer::singleShot(0, [&] { timerRan = true; });
    letPendingEventsRun();
    setPendingEventsObserver({});
    letPendingEventsRun();
    EXPECT_TRUE(timerRan);
    EXPECT_EQ(observed, 1);
}

TEST(FocusOnHover, PointerOverAButtonTakesTheFocus)
{
    QWidget window;
    auto* button = new QPushButton(QStringLiteral("EXIT"), &window);
    auto* other = new QPushButton(QStringLiteral("Other"), &window);
    other->move(0, 50);
    giveFocusOnHover(button);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    other->setFocus();
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(button, &enter);
    EXPECT_TRUE(button->hasFocus());
}

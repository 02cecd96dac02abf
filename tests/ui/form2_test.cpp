// The progress window: Escape asks to cancel like its Cancel button and closing it (which the transfer
// tests use); the connect's window has no Cancel and closing it asks for nothing.

#include "ui/form2.h"

#include <QPushButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

using namespace orx;

TEST(Form2, CancelAndItsEquivalents)
{
    const struct
    {
        const char* name;
        bool cancellable;
        std::function<void(Form2&)> act;
        bool cancelRequested;
    } cases[] = {
        {"Escape", true, [](Form2& w) { QTest::keyClick(&w, Qt::Key_Escape); }, true},
        {"nothing done", true, [](Form2&) {}, false},
        {"the connect's window closed", false, [](Form2& w) { w.close(); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget main;
        Form2 window(&main);
        if (c.cancellable)
            window.allowCancel();
        window.show();
        EXPECT_EQ(window.findChild<QPushButton*>(QStringLiteral("cmdcancel")) != nullptr, c.cancellable);
        c.act(window);
        EXPECT_EQ(window.cancelRequested(), c.cancelRequested);
    }
}

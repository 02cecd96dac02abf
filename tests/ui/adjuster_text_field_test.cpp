// The editor's toolkit pieces: the adjuster reports every change of its value, the program's too; the
// text field limits what the user types or pastes but keeps what the program writes.

#include "ui/adjuster.h"
#include "ui/text_field.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace orx;

namespace {

TEST(Adjuster, ReportsEveryChangeWithinMinusOneToOne)
{
    Adjuster adjuster(QStringLiteral("adj"));
    QList<int> seen;
    // The owner's handler: read the value, then set it back to 0 at once.
    QObject::connect(&adjuster, &Adjuster::valueChanged, [&](int value) {
        seen.append(value);
        adjuster.setValue(0);
    });
    adjuster.upArrow()->click();
    adjuster.downArrow()->click();
    adjuster.setValue(0); // no change
    adjuster.setValue(5);
    adjuster.setValue(-7);
    QTest::keyClick(&adjuster, Qt::Key_Up);
    QTest::keyClick(&adjuster, Qt::Key_Down);
    EXPECT_EQ(seen, (QList<int>{-1, 0, 1, 0, 1, 0, -1, 0, -1, 0, 1, 0}));
    EXPECT_EQ(adjuster.value(), 0);
}

TEST(TextField, LimitsUserInputButKeepsProgramTexts)
{
    const struct
    {
        const char* name;
        const char* programText; // written first by the program
        int deletes;             // then Backspace pressed this often at the end
        const char* typed;
        const char* pasted;
        const char* result;
    } cases[] = {
        {"typing stops at the limit", "", 0, "123456", "", "1234"},
        {"refused characters", "", 0, "1,2;3", "", "12;3"},
        {"a paste that holds a refused character is refused", "1", 0, "", "2,3", "1"},
        {"a paste past the limit is refused", "12", 0, "", "345", "12"},
        {"a paste that fits", "12", 0, "", "34", "1234"},
        {"the program's long text is kept", "123456789", 0, "", "", "123456789"},
        {"and it cannot grow", "123456789", 0, "0", "0", "123456789"},
        {"but it can be shortened", "123456789", 2, "", "", "1234567"},
        {"the program may write a refused character", "1,2", 0, "", "", "1,2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TextField field(QStringLiteral("f"), 4, QStringLiteral(","));
        field.setText(QString::fromLatin1(c.programText));
        field.end(false);
        for (int i = 0; i < c.deletes; ++i)
            QTest::keyClick(&field, Qt::Key_Backspace);
        QTest::keyClicks(&field, QString::fromLatin1(c.typed));
        QApplication::clipboard()->setText(QString::fromLatin1(c.pasted));
        field.end(false);
        field.paste();
        EXPECT_EQ(field.text(), QString::fromLatin1(c.result));
    }
}

TEST(TextField, SettingTheSameTextIsNoChange)
{
    TextField field(QStringLiteral("f"), 7, QString());
    QSignalSpy changes(&field, &QLineEdit::textChanged);
    field.setText(QStringLiteral("1.000"));
    field.setText(QStringLiteral("1.000"));
    EXPECT_EQ(changes.count(), 1);
}

} // namespace

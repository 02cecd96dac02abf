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
    // The program's text written first, Backspace pressed this often at its end, then typed, then pasted.
    const std::tuple<const char*, int, const char*, const char*, const char*> cases[] = {
        {"", 0, "123456", "", "1234"},           // typing stops at the limit
        {"", 0, "1,2;3", "", "12;3"},            // refused characters
        {"1", 0, "", "2,3", "1"},                // a paste that holds a refused character is refused
        {"12", 0, "", "345", "12"},              // a paste past the limit is refused
        {"12", 0, "", "34", "1234"},             // a paste that fits
        {"123456789", 0, "0", "0", "123456789"}, // the program's long text is kept and cannot grow
        {"123456789", 2, "", "", "1234567"},     // but it can be shortened
        {"1,2", 0, "", "", "1,2"},               // the program may write a refused character
    };
    for (const auto& [programText, deletes, typed, pasted, result] : cases) {
        TextField field(QStringLiteral("f"), 4, QStringLiteral(","));
        field.setText(QString::fromLatin1(programText));
        field.end(false);
        for (int i = 0; i < deletes; ++i)
            QTest::keyClick(&field, Qt::Key_Backspace);
        QTest::keyClicks(&field, QString::fromLatin1(typed));
        QApplication::clipboard()->setText(QString::fromLatin1(pasted));
        field.end(false);
        field.paste();
        EXPECT_EQ(field.text(), QString::fromLatin1(result)) << programText << " " << typed << " " << pasted;
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

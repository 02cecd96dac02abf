#include "ui/numeric_field.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

using namespace orx;

namespace {

struct FieldFixture : ::testing::Test
{
    QWidget window;
    QWidget* group = new QWidget(&window);
    NumericField* field = new NumericField(QStringLiteral("setv"), NumericField::Pattern::Fixed3, group);
    QLineEdit* other = new QLineEdit(&window);
    QSignalSpy changed{field, &NumericField::valueChanged};
    QSignalSpy keys{field, &NumericField::keyReleased};
    QSignalSpy mouse{field, &NumericField::mouseReleased};
    QSignalSpy clicks{field, &NumericField::clicked};

    void SetUp() override
    {
        group->resize(200, 50);
        other->move(0, 60);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    QString shown() const { return field->findChild<QLineEdit*>()->text(); }
    int userNotifications() const { return int(keys.size() + mouse.size() + clicks.size()); }
};

} // namespace

TEST_F(FieldFixture, HoldsTheExactValueAndShowsItsPattern)
{
    const double widened = double(8.24f); // 8.2399997711...
    field->setValue(widened);
    EXPECT_EQ(field->value(), widened);
    EXPECT_EQ(field->text(), "8.240");
    EXPECT_EQ(shown(), "8.240");
    EXPECT_GT(8.24, field->value()) << "the field must not round what it holds";
}

TEST_F(FieldFixture, CodeWritesChangeTheValueButNeverNotifyAUserAction)
{
    field->setValue(5);
    field->setValue(5);
    field->setValue(0.25);
    EXPECT_EQ(changed.size(), 2);
    EXPECT_EQ(shown(), "0.250");
    EXPECT_EQ(userNotifications(), 0);
}

TEST_F(FieldFixture, TypingUpdatesTheValueByTheLeadingNumberAndEachKeyReleaseNotifies)
{
    field->setFocus();
    field->findChild<QLineEdit*>()->selectAll();
    QTest::keyClicks(field, QStringLiteral("12.5"));
    EXPECT_EQ(field->value(), 12.5);
    EXPECT_EQ(field->text(), "12.500");
    EXPECT_EQ(keys.size(), 4);
    EXPECT_EQ(changed.size(), 3) << "1, 12, 12. (no change), 12.5";
    QTest::keyClicks(field, QStringLiteral("x")); // refused
    EXPECT_EQ(field->value(), 12.5);
}

TEST_F(FieldFixture, LosingTheFocusShowsThePatternAndNotifiesOnlyTheOperatorsMove)
{
    const struct
    {
        const char* name;
        std::function<void(FieldFixture&)> leave;
        bool notifies;
    } cases[] = {
        {"Tab", [](FieldFixture& f) { f.other->setFocus(Qt::TabFocusReason); }, true},
        {"Backtab", [](FieldFixture& f) { f.other->setFocus(Qt::BacktabFocusReason); }, true},
        {"click elsewhere", [](FieldFixture& f) { f.other->setFocus(Qt::MouseFocusReason); }, true},
        {"shortcut", [](FieldFixture& f) { f.other->setFocus(Qt::ShortcutFocusReason); }, true},
        {"program", [](FieldFixture& f) { f.other->setFocus(Qt::OtherFocusReason); }, false},
        {"another window", [](FieldFixture& f) { f.other->setFocus(Qt::ActiveWindowFocusReason); }, false},
        {"menu", [](FieldFixture& f) { f.other->setFocus(Qt::PopupFocusReason); }, false},
        {"field disabled", [](FieldFixture& f) { f.field->setEnabled(false); }, false},
        {"group disabled", [](FieldFixture& f) { f.group->setEnabled(false); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        group->setEnabled(true);
        field->setEnabled(true);
        field->setFocus();
        field->findChild<QLineEdit*>()->selectAll();
        QTest::keyClicks(field, QStringLiteral("3."));
        ASSERT_EQ(shown(), "3.");
        clicks.clear();
        c.leave(*this);
        ASSERT_FALSE(field->hasFocus());
        EXPECT_EQ(shown(), "3.000");
        EXPECT_EQ(clicks.size(), c.notifies ? 1 : 0);
    }
}

TEST_F(FieldFixture, ArrowsStepByTheFieldsStep)
{
    const struct
    {
        double step;
        int key;
        double expected;
    } cases[] = {{0.1, Qt::Key_Up, 1.1}, {0.001, Qt::Key_Down, 1.099}, {1, Qt::Key_Up, 2.099}};
    field->setValue(1);
    field->setFocus();
    for (const auto& c : cases) {
        field->setStep(c.step);
        QTest::keyClick(field, Qt::Key(c.key));
        EXPECT_NEAR(field->value(), c.expected, 1e-12);
    }
    EXPECT_EQ(keys.size(), 3);
}

TEST_F(FieldFixture, ClickingTheFieldNotifiesTheReleaseAndTheClick)
{
    field->setValue(1);
    field->setStep(0.5);
    QTest::mouseClick(field->findChild<QLineEdit*>(), Qt::LeftButton);
    EXPECT_EQ(mouse.size(), 1);
    EXPECT_EQ(clicks.size(), 1);
    // The up arrow sits at the top right corner.
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(field->width() - 5, 4));
    EXPECT_EQ(field->value(), 1.5);
    EXPECT_EQ(mouse.size(), 2);
    EXPECT_EQ(clicks.size(), 2);
    QTest::mouseRelease(field, Qt::LeftButton, {}, QPoint(field->width() - 5, 4));
    EXPECT_EQ(mouse.size(), 3) << "a release without a press on the field";
    EXPECT_EQ(clicks.size(), 2) << "is no click";
}

TEST_F(FieldFixture, HandlerCorrectionDuringTypingIsShown)
{
    // A limit rule that holds the value at 20.6 (single precision widened).
    QObject::connect(field, &NumericField::valueChanged, [this](double v) {
        if (v > double(20.6f))
            field->setValue(double(20.6f));
    });
    field->setFocus();
    field->findChild<QLineEdit*>()->selectAll();
    QTest::keyClicks(field, QStringLiteral("30"));
    EXPECT_EQ(field->value(), double(20.6f));
    EXPECT_EQ(shown(), "20.600");
}

#include "ui/numeric_field.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
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

TEST_F(FieldFixture, CodeWritesHoldTheExactValueAndNeverNotifyAUserAction)
{
    const double widened = double(8.24f); // 8.2399997711...
    field->setValue(widened);
    field->setValue(widened);
    EXPECT_EQ(field->value(), widened);
    EXPECT_EQ(shown(), "8.240");
    EXPECT_EQ(changed.size(), 1);
    EXPECT_EQ(userNotifications(), 0);
}

// Typing updates the value by the leading number, each key release notifies, and a handler's
// correction (a limit of 20.6) is shown at once.
TEST_F(FieldFixture, TypingUpdatesTheValueByTheLeadingNumberAndShowsAHandlersCorrection)
{
    QObject::connect(field, &NumericField::valueChanged, [this](double v) {
        if (v > double(20.6f))
            field->setValue(double(20.6f));
    });
    field->setFocus();
    field->findChild<QLineEdit*>()->selectAll();
    QTest::keyClicks(field, QStringLiteral("12.5"));
    EXPECT_EQ(field->value(), 12.5);
    EXPECT_EQ(keys.size(), 4);
    EXPECT_EQ(changed.size(), 3) << "1, 12, 12. (no change), 12.5";
    QTest::keyClicks(field, QStringLiteral("x")); // refused
    EXPECT_EQ(field->value(), 12.5);
    field->findChild<QLineEdit*>()->selectAll();
    QTest::keyClicks(field, QStringLiteral("30"));
    EXPECT_EQ(field->value(), double(20.6f));
    EXPECT_EQ(shown(), "20.600");
}

TEST_F(FieldFixture, LosingTheFocusShowsThePatternAndNotifiesOnlyTheOperatorsMove)
{
    // The focus goes to the other field for a reason, or the field or its group is disabled.
    constexpr int FieldDisabled = -1, GroupDisabled = -2;
    const std::pair<int, bool> cases[] = {
        {Qt::TabFocusReason, true},      {Qt::BacktabFocusReason, true}, {Qt::MouseFocusReason, true},
        {Qt::ShortcutFocusReason, true}, {Qt::OtherFocusReason, false},  {Qt::ActiveWindowFocusReason, false},
        {Qt::PopupFocusReason, false},   {FieldDisabled, false},         {GroupDisabled, false},
    };
    for (const auto& [leave, notifies] : cases) {
        SCOPED_TRACE(leave);
        group->setEnabled(true);
        field->setEnabled(true);
        field->setFocus();
        field->findChild<QLineEdit*>()->selectAll();
        QTest::keyClicks(field, QStringLiteral("3."));
        ASSERT_EQ(shown(), "3.");
        clicks.clear();
        if (leave >= 0)
            other->setFocus(Qt::FocusReason(leave));
        else
            (leave == FieldDisabled ? static_cast<QWidget*>(field) : group)->setEnabled(false);
        ASSERT_FALSE(field->hasFocus());
        EXPECT_EQ(shown(), "3.000");
        EXPECT_EQ(clicks.size(), notifies ? 1 : 0);
    }
}

TEST_F(FieldFixture, ArrowsStepByTheFieldsStep)
{
    field->setValue(1);
    field->setFocus();
    for (const auto& [step, key, expected] :
         {std::tuple{0.1, Qt::Key_Up, 1.1}, {0.001, Qt::Key_Down, 1.099}, {1.0, Qt::Key_Up, 2.099}}) {
        field->setStep(step);
        QTest::keyClick(field, key);
        EXPECT_NEAR(field->value(), expected, 1e-12);
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

#include "ui/option_group.h"

#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

using namespace orx;

namespace {

struct Pair
{
    QWidget window;
    OptionGroup group{QStringLiteral("output")};
    QRadioButton* off = new QRadioButton(QStringLiteral("OFF"), &window);
    QRadioButton* on = new QRadioButton(QStringLiteral("ON"), &window);
    QList<int> handled;

    Pair()
    {
        off->setChecked(true);
        on->move(0, 30);
        group.addOption(off);
        group.addOption(on);
        QObject::connect(&group, &OptionGroup::clicked, [this](int index) { handled.append(index); });
    }
};

} // namespace

TEST(OptionGroup, CodeSelectionRunsTheHandlerOnlyOnChange)
{
    Pair pair;
    EXPECT_EQ(pair.group.selectedIndex(), 0);
    const struct
    {
        int select;
        QList<int> handled;
        int selected;
    } steps[] = {
        {0, {}, 0},     // already selected: nothing
        {1, {1}, 1},    // change: handler
        {1, {1}, 1},    // again: nothing
        {7, {1}, 1},    // names no option: nothing
        {-1, {1}, 1},   // names no option: nothing
        {0, {1, 0}, 0}, // back
    };
    for (const auto& step : steps) {
        pair.group.select(step.select);
        EXPECT_EQ(pair.handled, step.handled) << "select " << step.select;
        EXPECT_EQ(pair.group.selectedIndex(), step.selected);
        EXPECT_EQ(pair.on->isChecked(), step.selected == 1);
    }
}

TEST(OptionGroup, OperatorClickRunsTheHandlerOnce)
{
    Pair pair;
    pair.window.show();
    QTest::mouseClick(pair.on, Qt::LeftButton);
    QTest::mouseClick(pair.on, Qt::LeftButton);
    EXPECT_EQ(pair.handled, QList<int>{1});
    EXPECT_EQ(pair.group.selectedIndex(), 1);
}

TEST(OptionGroup, HandlerMaySelectAnotherOption)
{
    // A handler that refuses the choice and selects the other option (as the GPIB option does on error).
    Pair pair;
    QObject::connect(&pair.group, &OptionGroup::clicked, [&](int index) {
        if (index == 1)
            pair.group.select(0);
    });
    pair.group.select(1); // returns only after the handler ran, and with its choice in place
    EXPECT_EQ(pair.handled, QList<int>({1, 0}));
    EXPECT_EQ(pair.group.selectedIndex(), 0);
    EXPECT_TRUE(pair.off->isChecked());
    EXPECT_FALSE(pair.on->isChecked());
}

TEST(OptionGroup, ClearingTheSelectedOptionLeavesNoneAndRunsNothing)
{
    Pair pair;
    pair.group.select(1);
    pair.handled.clear();
    pair.group.setOptionSelected(0, false); // not the selected one: no change
    EXPECT_EQ(pair.group.selectedIndex(), 1);
    pair.group.setOptionSelected(1, false);
    EXPECT_EQ(pair.group.selectedIndex(), -1);
    EXPECT_FALSE(pair.on->isChecked());
    EXPECT_FALSE(pair.off->isChecked());
    EXPECT_TRUE(pair.handled.isEmpty());
    pair.group.setOptionSelected(1, true);
    EXPECT_EQ(pair.handled, QList<int>{1});
}

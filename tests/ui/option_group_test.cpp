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
    // select, then the handler's calls so far and the selected index
    const std::tuple<int, QList<int>, int> steps[] = {
        {0, {}, 0}, {1, {1}, 1}, {1, {1}, 1}, {7, {1}, 1}, {-1, {1}, 1}, {0, {1, 0}, 0},
    };
    for (const auto& [select, handled, selected] : steps) {
        pair.group.select(select);
        EXPECT_EQ(pair.handled, handled) << "select " << select;
        EXPECT_EQ(pair.group.selectedIndex(), selected);
        EXPECT_EQ(pair.on->isChecked(), selected == 1);
    }
    pair.window.show(); // an operator's click on the selected option runs nothing
    QTest::mouseClick(pair.off, Qt::LeftButton);
    QTest::mouseClick(pair.on, Qt::LeftButton);
    QTest::mouseClick(pair.on, Qt::LeftButton);
    EXPECT_EQ(pair.handled, QList<int>({1, 0, 1}));
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
    EXPECT_TRUE(pair.off->isChecked() && !pair.on->isChecked());
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
    EXPECT_FALSE(pair.on->isChecked() || pair.off->isChecked());
    EXPECT_TRUE(pair.handled.isEmpty());
    pair.group.setOptionSelected(1, true);
    EXPECT_EQ(pair.handled, QList<int>{1});
}

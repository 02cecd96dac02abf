// The pure rules of the memory and auto-mode groups: the one memory number, the fields' limits, the
// order of the auto-range lines and the lists of memory numbers in messages.

#include "memory/memory_rules.h"

#include <gtest/gtest.h>
#include <optional>

using namespace orx;

namespace {

using Held = std::optional<double>;

TEST(MemoryRules, OneWholeNumberPerMemoryField)
{
    // Halves go to the even neighbour, in the command as in the copy's index.
    for (const auto& [value, number, text] : {std::tuple{4.5, 4, "04"},
                                              {5.5, 6, "06"},
                                              {0.5, 0, "00"},
                                              {7.49, 7, "07"},
                                              {99.5, 99, "99"},
                                              {150.0, 99, "99"},
                                              {-3.0, 0, "00"},
                                              {-0.5, 0, "00"}}) {
        EXPECT_EQ(memoryNumberOf(value), number) << value;
        EXPECT_EQ(memoryNumberText(value), text) << value;
    }
}

TEST(MemoryRules, FieldLimits)
{
    const std::tuple<Held (*)(double), double, Held> cases[] = {
        {recordRule, 150, 99},  {recordRule, -3, 0},        {recordRule, 99, {}}, {delayRule, 0.99, 1},
        {delayRule, 1, {}},     {delayRule, 60000, 59999},  {cycleRule, -1, 0},   {cycleRule, 0, {}},
        {cycleRule, 99999, {}}, {cycleRule, 100000, 99999},
    };
    for (const auto& [rule, value, held] : cases)
        EXPECT_EQ(rule(value), held) << value;
}

TEST(MemoryRules, TheAutoFieldBeingEditedGivesWay)
{
    // The edited value, the other one, then startMemoryRule and endMemoryRule of them.
    const std::tuple<const char*, double, double, Held, Held> cases[] = {
        {"50 against 30", 50, 30, 30, {}},   {"5 against 10", 5, 10, {}, 10},
        {"equal", 20, 20, {}, {}},           {"150 against 30: held to 99, then to the end", 150, 30, 30, 99},
        {"-4 against 0", -4, 0, 0, 0},       {"-4 against 10", -4, 10, 0, 10},
        {"120 against 99", 120, 99, 99, 99},
    };
    for (const auto& [name, edited, other, start, end] : cases) {
        EXPECT_EQ(startMemoryRule(edited, other), start) << name;
        EXPECT_EQ(endMemoryRule(edited, other), end) << name;
    }
}

TEST(MemoryRules, CeaseLineFirstOnlyForARangeWhollyAboveTheHeldOne)
{
    const std::tuple<double, double, int, int, bool> cases[] = {
        {25, 30, 10, 20, true},  {2, 5, 10, 20, false},   {15, 18, 10, 20, false}, {20, 30, 10, 20, false},
        {21, 21, 10, 20, true},  {10, 30, 10, 20, false}, {0, 0, 0, 0, false},     {5, 9, 0, 0, true},
        {25, 10, 10, 20, false}, // an end at or below the held start goes start first
    };
    for (const auto& [start, end, heldStart, heldEnd, ceaseFirst] : cases)
        EXPECT_EQ(ceaseLineFirst(start, end, heldStart, heldEnd), ceaseFirst)
            << start << "-" << end << " held " << heldStart << "-" << heldEnd;
}

TEST(MemoryRules, MemoryListText)
{
    for (const auto& [numbers, text] : {std::pair{QList<int>{}, ""},
                                        {{7, 3}, "03, 07"},
                                        {{10, 11}, "10, 11"},
                                        {{3, 7, 10, 11, 12, 13, 20}, "03, 07, 10 to 13, 20"},
                                        {{5, 5, 6, 7}, "05 to 07"}})
        EXPECT_EQ(memoryListText(numbers), QString::fromLatin1(text));
    QList<int> all;
    for (int i = 0; i < 100; ++i)
        all.append(i);
    EXPECT_EQ(memoryListText(all), "00 to 99");
}

} // namespace

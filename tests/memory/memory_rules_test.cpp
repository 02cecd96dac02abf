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
    const struct
    {
        double value;
        int number;
        const char* text;
    } cases[] = {
        {4.5, 4, "04"}, // halves go to the even neighbour, in the command as in the copy's index
        {5.5, 6, "06"},   {0.5, 0, "00"},  {7.49, 7, "07"}, {99.4, 99, "99"},
        {99.5, 99, "99"}, {150, 99, "99"}, {-3, 0, "00"},   {-0.5, 0, "00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(memoryNumberOf(c.value), c.number) << c.value;
        EXPECT_EQ(memoryNumberText(c.value), c.text) << c.value;
    }
}

TEST(MemoryRules, FieldLimits)
{
    const struct
    {
        Held (*rule)(double);
        double value;
        Held held;
    } cases[] = {
        {recordRule, 150, 99},  {recordRule, -3, 0},        {recordRule, 99, {}}, {delayRule, 0.99, 1},
        {delayRule, 1, {}},     {delayRule, 60000, 59999},  {cycleRule, -1, 0},   {cycleRule, 0, {}},
        {cycleRule, 99999, {}}, {cycleRule, 100000, 99999},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.rule(c.value), c.held) << c.value;
}

TEST(MemoryRules, TheAutoFieldBeingEditedGivesWay)
{
    const struct
    {
        const char* name;
        double edited;
        double other;
        Held start; // startMemoryRule(edited, other)
        Held end;   // endMemoryRule(edited, other)
    } cases[] = {
        {"50 against 30", 50, 30, 30, {}},   {"5 against 10", 5, 10, {}, 10},
        {"equal", 20, 20, {}, {}},           {"150 against 30: held to 99, then to the end", 150, 30, 30, 99},
        {"-4 against 0", -4, 0, 0, 0},       {"-4 against 10", -4, 10, 0, 10},
        {"120 against 99", 120, 99, 99, 99},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(startMemoryRule(c.edited, c.other), c.start) << c.name;
        EXPECT_EQ(endMemoryRule(c.edited, c.other), c.end) << c.name;
    }
}

TEST(MemoryRules, CeaseLineFirstOnlyForARangeWhollyAboveTheHeldOne)
{
    const struct
    {
        double start, end;
        int heldStart, heldEnd;
        bool ceaseFirst;
    } cases[] = {
        {25, 30, 10, 20, true},  {2, 5, 10, 20, false},   {15, 18, 10, 20, false}, {20, 30, 10, 20, false},
        {21, 21, 10, 20, true},  {10, 30, 10, 20, false}, {0, 0, 0, 0, false},     {5, 9, 0, 0, true},
        {25, 10, 10, 20, false}, // an end at or below the held start goes start first
    };
    for (const auto& c : cases)
        EXPECT_EQ(ceaseLineFirst(c.start, c.end, c.heldStart, c.heldEnd), c.ceaseFirst)
            << c.start << "-" << c.end << " held " << c.heldStart << "-" << c.heldEnd;
}

TEST(MemoryRules, MemoryListText)
{
    const struct
    {
        QList<int> numbers;
        const char* text;
    } cases[] = {
        {{}, ""},
        {{3}, "03"},
        {{7, 3}, "03, 07"},
        {{10, 11}, "10, 11"},
        {{3, 7, 10, 11, 12, 13, 20}, "03, 07, 10 to 13, 20"},
        {{5, 5, 6, 7}, "05 to 07"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(memoryListText(c.numbers), QString::fromLatin1(c.text));
    QList<int> all;
    for (int i = 0; i < 100; ++i)
        all.append(i);
    EXPECT_EQ(memoryListText(all), "00 to 99");
}

} // namespace

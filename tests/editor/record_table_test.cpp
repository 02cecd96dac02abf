// Filling the editor's record table from a file's record lines. (Completing it for saving is tested in
// the window: untouched records, an empty voltage and a half-filled record each saved.)

#include "editor/record_table.h"

#include <gtest/gtest.h>

using namespace orx;

namespace {

MemoryRecordTexts texts(const char* v, const char* c, const char* d, const char* ovp, const char* ocp,
                        const char* ovpOn, const char* ocpOn)
{
    return {v, c, d, ovp, ocp, ovpOn, ocpOn};
}

TEST(LoadRecordLines, LinesFillTheTableByTheirNumbers)
{
    const MemoryRecordTexts full4 = texts("4.000", "1.000", "10", "5.000", "1.100", "True", "False");
    const struct
    {
        const char* name;
        QStringList lines;
        std::map<int, MemoryRecordTexts> records; // every other record stays never set
    } cases[] = {
        {"only records 3 and 7, with \", \" and \",\" between fields",
         {"03, 1.000, 2.000, 5, 3.000, 4.000, True, False", "7,1,2,3,4,5,false,TRUE"},
         {{3, texts("1.000", "2.000", "5", "3.000", "4.000", "True", "False")},
          {7, texts("1", "2", "3", "4", "5", "false", "TRUE")}}},
        {"100 and -1 are dropped", {"100, 9, 9, 9, 9, 9, True, True", "-1, 8, 8, 8, 8, 8, True, True"}, {}},
        {"the later line wins",
         {"5, 1, 1, 1, 1, 1, True, True", "5.0, 2, 2, 2, 2, 2, False, False"},
         {{5, texts("2", "2", "2", "2", "2", "False", "False")}}},
        {"a short line keeps the previous line's later fields",
         {"04, 4.000, 1.000, 10, 5.000, 1.100, True, False", "05, 6.500"},
         {{4, full4}, {5, texts("6.500", "1.000", "10", "5.000", "1.100", "True", "False")}}},
        {"the first line finds the buffer empty", {"9, 1.5"}, {{9, texts("1.5", "", "", "", "", "", "")}}},
        {"fields past the eighth are dropped",
         {"1, 1, 2, 3, 4, 5, True, False, 9, 10, 11"},
         {{1, texts("1", "2", "3", "4", "5", "True", "False")}}},
        {"lines without a 16-bit record number are skipped and leave the buffer",
         {"04, 4.000, 1.000, 10, 5.000, 1.100, True, False", "", ",,,,,,,", "abc, 9, 9, 9, 9, 9, x, x",
          "40000, 9, 9, 9, 9, 9, x, x", "5x, 9, 9, 9, 9, 9, x, x", "1e10, 9, 9, 9, 9, 9, x, x", "05, 6.500"},
         {{4, full4}, {5, texts("6.500", "1.000", "10", "5.000", "1.100", "True", "False")}}},
        {"a record number outside 0 to 99 still fills the buffer",
         {"100, 1, 2, 3, 4, 5, True, True", "6, 7"},
         {{6, texts("7", "2", "3", "4", "5", "True", "True")}}},
        {"halves go to the even record",
         {"2.5, a", "3.5, b", "-0.4, c"},
         {{2, texts("a", "", "", "", "", "", "")},
          {4, texts("b", "", "", "", "", "", "")},
          {0, texts("c", "", "", "", "", "", "")}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordTable table;
        int linesSeen = 0;
        loadRecordLines(table, c.lines, [&] { ++linesSeen; });
        EXPECT_EQ(linesSeen, c.lines.size());
        for (int i = 0; i < kMemoryCount; ++i) {
            const auto expected = c.records.find(i);
            EXPECT_EQ(table[static_cast<size_t>(i)],
                      expected == c.records.end() ? MemoryRecordTexts{} : expected->second)
                << "record " << i;
        }
    }
}

} // namespace

// The file check: each rule's problem at its line and field with what the panel uses instead, and a
// clean file without any.

#include "memory/held_record.h"
#include "memory/memory_check.h"

#include <gtest/gtest.h>

using namespace orx;

namespace {

// Each problem as "line|field|found|instead".
QStringList brief(const QList<FileProblem>& problems)
{
    QStringList out;
    for (const FileProblem& p : problems)
        out.append(QStringLiteral("%1|%2|%3|%4").arg(p.line).arg(p.field, p.found, p.instead));
    return out;
}

TEST(FileCheck, FindsEachProblemAtItsLineAndField)
{
    const QString h = QStringLiteral("Record,header");
    const QString good = QStringLiteral("05, 12.500, 1.000, 10, 13.000, 1.100, True, False");
    // The file's lines, the model index and the problems found.
    const std::tuple<QStringList, int, QStringList> cases[] = {
        {{h, good, "06,5,15,20,6,16,false,TRUE", "", ",,,,,,,", "07, 8.24, 10.3, 59999, 22, 22, TRUE, fAlSe",
          "08, 20.6, 10.3, 1, 22, 0, True, True", "09, 5, 20.6, 1, 22, 0, True, True"},
         0,
         {}}, // both ranges, limits exactly, any case of the words, empty rows
        {{h, "120, 1, 1, 10, 2, 1, True, True", "-3, 1, 1, 10, 2, 1, True, True"},
         0,
         {"2|Record|120|99", "3|Record|-3|00"}},
        {{h, "x7, 1, 1, 10, 2, 1, True, True"}, 0, {"2|Record|x7|00"}},
        {{h, good, "5, 1, 1, 10, 2, 1, True, True"}, 0, {"3|Record|5|05"}}, // repeated
        {{h, "05, 1.000", good, "06, 1, 2, 10, 3, 4, True"}, 0, {"2|Current (A)||", "4|OCP status||"}},
        {{h, "05, 25, 1, 10, 26, 1, True, True"}, 0, {"2|Voltage (V)|25|20.600", "2|OVP (V)|26|22.000"}},
        {{h, "05, 12, 15, 10, 13, 1, True, True"}, 0, {"2|Current (A)|15|10.300"}}, // high range
        {{h, "05, 5, 30, 10, 6, 1, True, True"}, 0, {"2|Current (A)|30|20.600"}},
        {{h, "05, 20, 5, 10, 21, 1, True, True"}, 1, {"2|Current (A)|5|4.120"}},
        {{h, "05, 20, 4.120, 10, 21, 7.700, True, True"}, 1, {}}, // limits written as the panel writes them
        {{h, "05, -1, -1, 0, 0.5, -2, True, True"},
         0,
         {"2|Voltage (V)|-1|0.000", "2|Current (A)|-1|0.000", "2|Delay (100ms)|0|1", "2|OVP (V)|0.5|1.000",
          "2|OCP (A)|-2|0.000"}},
        {{h, "05, 12V, , 10, 13, 1, True, True"}, 0, {"2|Voltage (V)|12V|12.000", "2|Current (A)||0.000"}},
        {{h, "05, 1, 1, 10, 2, 1, off, "}, 0, {"2|OVP status|off|True", "2|OCP status||True"}},
        {{h, "05, 12, 1, 10, 5, 1, True, False", "06, 12, 1, 10, 5, 1, False, False"},
         0,
         {"2|OVP (V)|5|5.000"}}, // below the set-point only matters with OVP on
        {{h, "05, 12,5, 1, 10, 13, 1, True, False"},
         0,
         {"2|OVP status|1|True", "2|OVP (V)|10|10.000", "2|Field 9|False|"}}, // a decimal comma
        {{"00, 1, 1, 10, 2, 1, True, True", "01, 1, 1, 10, 2, 1, True, True"}, 0, {"1|Record|00|"}},
        {{h}, 0, {"1|Record||"}},
        {{}, 0, {"1|Record||"}},
    };
    for (const auto& [lines, model, expected] : cases) {
        SCOPED_TRACE(lines.join(u'|').toStdString());
        const QList<FileProblem> problems = checkMemoryLines(lines, model);
        EXPECT_EQ(brief(problems), expected);
        for (const FileProblem& p : problems)
            EXPECT_FALSE(p.message.isEmpty());
    }
}

// What an upload stores is what the comparison and the verification expect back, to the digit.
TEST(FileCheck, TheValuesAnUploadStores)
{
    const QStringList fields = {"37", "12.3456", "1", "10.6", "13", "1.5", "true", "FALSE"};
    EXPECT_EQ(heldRecord(fields, limitsOfModel(0)).texts(),
              (MemoryRecordTexts{"12.346", "1.000", "11", "13.000", "1.500", "True", "False"}));
}

} // namespace

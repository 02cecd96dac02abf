#include "connection/identity.h"

#include <gtest/gtest.h>

using namespace orx;

TEST(Identity, PrefixIsExactAndCaseSensitive)
{
    const struct
    {
        const char* answer;
        bool orx;
        bool maker;
    } cases[] = {{"QZ.Inc,ORX-A100,SN1,1.0", true, true},
                 {"qz.inc,ORX-A100,SN1,1.0", false, false},
                 {"QZ.Inc,orx-a100,SN1,1.0", false, true},
                 {"QZ.Inc,OR", false, true},
                 {"QZ", false, true},
                 {" QZ.Inc,ORX-A100", false, false},
                 {"", false, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(isOrxIdentity(QString::fromLatin1(c.answer)), c.orx) << c.answer;
        EXPECT_EQ(isMakerAnswer(QString::fromLatin1(c.answer)), c.maker) << c.answer;
    }
}

TEST(Identity, ModelFieldIsTheSecondField)
{
    const struct
    {
        QString identity;
        QString model;
    } cases[] = {
        {QStringLiteral("QZ.Inc,ORX-B200,SN1,1.0") + QString(16, u' '), QStringLiteral("ORX-B200")},
        {QStringLiteral("QZ.Inc,ORX-B200,"), QStringLiteral("ORX-B200")},
        {QStringLiteral("QZ.Inc,,x"), QString()},
        // Without a second comma: the rest, trailing blanks and line ends removed.
        {QStringLiteral("QZ.Inc,ORX-C300\r\n") + QString(23, u' '), QStringLiteral("ORX-C300")},
        {QStringLiteral("QZ.Inc,ORX-C300 X   "), QStringLiteral("ORX-C300 X")},
        {QStringLiteral("no comma at all"), QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(modelFieldOf(c.identity), c.model) << c.identity.toStdString();
}

TEST(Identity, GpibAddressTexts)
{
    const struct
    {
        const char* text;
        std::optional<int> address;
        const char* normalised;
    } cases[] = {{"8", 8, "8"},        {"0", 0, "0"},
                 {"30", 30, "30"},     {" 12 ", 12, " 12 "},
                 {"31", {}, "8"},      {"-1", {}, "8"},
                 {"", {}, "8"},        {"abc", {}, "8"},
                 {"12abc", {}, "8"},   {"99999999999", {}, "8"},
                 {"5.4", 5, "5.4"},    {"1e3", {}, "8"},
                 {"30.5", 30, "30.5"}, {"30.6", {}, "8"}};
    for (const auto& c : cases) {
        EXPECT_EQ(gpibAddressOf(QString::fromLatin1(c.text)), c.address) << c.text;
        EXPECT_EQ(normalisedGpibAddressText(QString::fromLatin1(c.text)), QString::fromLatin1(c.normalised))
            << c.text;
    }
}

TEST(Identity, PortOfListEntry)
{
    EXPECT_EQ(comPortOfEntry(QStringLiteral("COM3")), 3);
    EXPECT_EQ(comPortOfEntry(QStringLiteral("COM1")), 1);
    EXPECT_EQ(comPortOfEntry(QString()), 0);
}

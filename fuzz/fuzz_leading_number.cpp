// The leading-number rule and the number formats, on arbitrary text.
// Properties: a value formatted "#0.000" reads back to the same text; a text that is one number
// reads the same by both rules; the truncated display never lies above the value by a digit.

#include "base/numbers.h"
#include "fuzz_check.h"

#include <cmath>
#include <cstdint>

using namespace orx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text =
        QString::fromLatin1(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const double value = leadingNumber(text);
    FUZZ_CHECK(std::isfinite(value));

    const QString fixed = format3(value);
    FUZZ_CHECK(format3(leadingNumber(fixed)) == fixed);
    FUZZ_CHECK(fixed.size() >= 5 && fixed[fixed.size() - 4] == u'.');
    const QString whole = formatWhole(value);
    FUZZ_CHECK(formatWhole(leadingNumber(whole)) == whole);

    // Both rules read a lone number alike; only the strict one also allows carriage returns around it.
    if (const auto exact = parseNumber(text); exact && !text.contains(u'\r'))
        FUZZ_CHECK(*exact == value);

    const QString truncated = formatTruncated3(value);
    FUZZ_CHECK(formatTruncated3(leadingNumber(truncated)) == truncated);
    if (std::fabs(value) < 1e9) // the cut lies between the value and one thousandth towards zero
        FUZZ_CHECK(std::fabs(leadingNumber(truncated)) <= std::fabs(value) &&
                   std::fabs(value) - std::fabs(leadingNumber(truncated)) < 0.0010000001);

    if (const auto whole16 = wholeNumber16(value))
        FUZZ_CHECK(*whole16 == wholeNumberClamped16(value));
    return 0;
}

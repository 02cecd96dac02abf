// The virtual instrument's command parser, on arbitrary lines.
//
// Input: the first byte picks the model; the rest is lines separated by LF, each arriving 100 ms
// after the previous one. Properties: an answer is one line (no CR or LF); the active settings and
// every memory stay within the model's limits and the delay within 1..59999; the error queue stays
// within its capacity; the sequence never names a memory outside 0..99.

#include "fuzz_check.h"
#include "sim/instrument.h"

#include <QByteArrayList>
#include <cstdint>

using namespace orx::sim;

namespace {

void checkWithinLimits(const Settings& s, const MilliLimits& limits)
{
    FUZZ_CHECK(s.voltage >= 0 && s.voltage <= limits.voltMaxHigh);
    FUZZ_CHECK(s.current >= 0 && s.current <= limits.currMaxLow);
    FUZZ_CHECK(s.ovpLevel >= 0 && s.ovpLevel <= limits.ovpMax);
    FUZZ_CHECK(s.ocpLevel >= 0 && s.ocpLevel <= limits.ocpMax);
    FUZZ_CHECK(s.delay >= kMinDelay && s.delay <= kMaxDelay);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const int model = data[0] % 3;
    Instrument orx(model);
    orx.setLoadOhms(double(data[0]) / 16.0);
    const MilliLimits limits = milliLimits(model);
    const QByteArray text(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    qint64 nowMs = 0;
    for (const QByteArray& line : text.split('\n')) {
        nowMs += 100;
        if (const auto answer = orx.handleLine(QString::fromLatin1(line), nowMs))
            FUZZ_CHECK(!answer->contains(u'\r') && !answer->contains(u'\n'));
        checkWithinLimits(orx.active(), limits);
        FUZZ_CHECK(orx.pendingErrors() <= 10);
        FUZZ_CHECK(orx.autoPlan().first >= 0 && orx.autoPlan().last <= 99 &&
                   orx.autoPlan().first <= orx.autoPlan().last);
        if (orx.autoRunning())
            FUZZ_CHECK(orx.autoMemory() >= 0 && orx.autoMemory() <= 99);
    }
    for (int memory = 0; memory < kMemoryCount; ++memory)
        checkWithinLimits(orx.memory(memory), limits);
    return 0;
}

// The identity answer and the address field rules, on arbitrary answers.
// Properties: an ORX identity is also the maker's; the model field is a part of the answer without
// commas; an address that is accepted lies in 0..30 and its normalised text names it.

#include "connection/identity.h"
#include "fuzz_check.h"

#include <cstdint>

using namespace orx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString answer =
        QString::fromLatin1(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (isOrxIdentity(answer))
        FUZZ_CHECK(isMakerAnswer(answer) && answer.startsWith(u"QZ.Inc,ORX"));

    const QString model = modelFieldOf(answer);
    FUZZ_CHECK(model.size() <= answer.size());
    FUZZ_CHECK(!model.contains(u','));
    if (!model.isEmpty())
        FUZZ_CHECK(answer.contains(model));

    const QString normalised = normalisedGpibAddressText(answer);
    const auto address = gpibAddressOf(normalised);
    FUZZ_CHECK(address && *address >= 0 && *address <= 30);
    if (const auto typed = gpibAddressOf(answer))
        FUZZ_CHECK(*typed >= 0 && *typed <= 30 && *address == *typed);

    const int port = comPortOfEntry(answer);
    (void)port; // any value: the port list only ever holds "COM1" to "COM4"
    return 0;
}

#pragma once
// The state of the stand-in GPIB driver library, exported as fake_gpib_bus: a test that loads the
// library scripts the bus through it and reads back which driver calls were made.

#include <optional>
#include <string>
#include <vector>

namespace orx::test {

struct FakeGpibBus
{
    int failingAddress = -1;           // ibdev at this address fails, with a negative descriptor
    bool failWithDescriptor = false;   // or with a descriptor and ERR
    std::string failingCalls;          // the calls that report ERR, any of "ibwrt ibrd ibloc"
    std::optional<std::string> answer; // what the next ibrd receives; nothing: a time-out
    std::optional<long> reportedCount; // what ThreadIbcntl claims whatever crossed, as a faulty driver
    std::vector<std::string> calls;    // for example "ibdev 0 8 0 11 1 0", "ibwrt 1 *IDN?"
    int status = 0, error = 0, nextDescriptor = 1;
    long count = 0;
};

} // namespace orx::test

extern "C" orx::test::FakeGpibBus fake_gpib_bus;

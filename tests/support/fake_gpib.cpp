// A stand-in for the GPIB driver library: the calls the GPIB service uses, scripted and recorded
// through fake_gpib_bus. Built twice: complete, and without ibloc to stand for a library lacking a call.

#include "fake_gpib.h"

orx::test::FakeGpibBus fake_gpib_bus;

static orx::test::FakeGpibBus& bus = fake_gpib_bus;

// Sets what ThreadIbsta, ThreadIberr and ThreadIbcntl report.
static int finish(bool failed, long count = 0)
{
    bus.error = failed ? 6 : 0; // EABO, a time-out
    bus.count = count;
    return bus.status = failed ? 0x8000 : 0x2100; // ERR, or CMPL and END
}

// Records the call; true when the test made it fail.
template <typename... Numbers>
static bool record(std::string call, Numbers... numbers)
{
    const bool fails = bus.failingCalls.find(call) != std::string::npos;
    ((call += ' ' + std::to_string(numbers)), ...);
    bus.calls.push_back(call);
    return fails;
}

extern "C" {

int ibdev(int board, int pad, int sad, int tmo, int eot, int eos)
{
    record("ibdev", board, pad, sad, tmo, eot, eos);
    const bool failed = pad == bus.failingAddress;
    finish(failed);
    return failed && !bus.failWithDescriptor ? -1 : bus.nextDescriptor++;
}

int ibwrt(int ud, const void* buf, long count)
{
    const bool failed = record("ibwrt", ud);
    bus.calls.back() += ' ' + std::string(static_cast<const char*>(buf), count);
    return finish(failed, failed ? 0 : count);
}

int ibrd(int ud, void* buf, long count)
{
    if (record("ibrd", ud) || !bus.answer)
        return finish(true);
    const auto n = static_cast<long>(bus.answer->copy(static_cast<char*>(buf), static_cast<size_t>(count)));
    bus.answer.reset();
    return finish(false, n);
}

#ifndef FAKE_GPIB_WITHOUT_IBLOC
int ibloc(int ud)
{
    return finish(record("ibloc", ud));
}
#endif

int ibonl(int ud, int v)
{
    record("ibonl", ud, v);
    return finish(false);
}

int ThreadIbsta()
{
    return bus.status;
}

int ThreadIberr()
{
    return bus.error;
}

long ThreadIbcntl()
{
    return bus.reportedCount.value_or(bus.count);
}
}

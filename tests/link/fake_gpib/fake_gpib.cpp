// A stand-in for the GPIB driver library: the calls the GPIB service uses, plus control calls that let
// a test script the bus (failing addresses, failing calls, queued answers) and read back what was
// called. Built twice: complete, and without ibloc to stand for a library that lacks a call.

#include <algorithm>
#include <cstring>
#include <deque>
#include <set>
#include <string>

namespace {

constexpr int kErr = 0x8000;
constexpr int kEnd = 0x2000;
constexpr int kCmpl = 0x0100;
constexpr int kEdvr = 0; // system error
constexpr int kEabo = 6; // I/O aborted (time-out)

struct Bus
{
    int status = 0;
    int error = 0;
    long count = 0;
    int nextDescriptor = 1;
    int failingAddress = -1;
    bool failWithNegativeDescriptor = true;
    std::set<std::string> failingCalls;
    std::deque<std::string> answers;
    long countOverride = 0;
    bool overrideCount = false;
    std::string lastWrite;
    std::string log;
};

Bus bus;

void logCall(const std::string& entry)
{
    if (!bus.log.empty())
        bus.log += ';';
    bus.log += entry;
}

int finish(bool failed, long count, int error = kEabo)
{
    bus.status = failed ? kErr : (kCmpl | kEnd);
    bus.error = failed ? error : 0;
    bus.count = count;
    return bus.status;
}

bool callFails(const char* name)
{
    return bus.failingCalls.count(name) != 0;
}

} // namespace

extern "C" {

// --- the driver calls ---

int ibdev(int board, int pad, int sad, int tmo, int eot, int eos)
{
    logCall("ibdev " + std::to_string(board) + ' ' + std::to_string(pad) + ' ' + std::to_string(sad) + ' ' +
            std::to_string(tmo) + ' ' + std::to_string(eot) + ' ' + std::to_string(eos));
    if (pad == bus.failingAddress) {
        finish(true, 0, kEdvr);
        return bus.failWithNegativeDescriptor ? -1 : bus.nextDescriptor++;
    }
    finish(false, 0);
    return bus.nextDescriptor++;
}

int ibwrt(int ud, const void* buf, long count)
{
    logCall("ibwrt " + std::to_string(ud) + ' ' + std::to_string(count));
    bus.lastWrite.assign(static_cast<const char*>(buf), static_cast<size_t>(count));
    const bool failed = callFails("ibwrt");
    return finish(failed, failed ? 0 : count);
}

int ibrd(int ud, void* buf, long count)
{
    logCall("ibrd " + std::to_string(ud));
    if (callFails("ibrd") || bus.answers.empty())
        return finish(true, 0);
    const std::string answer = bus.answers.front();
    bus.answers.pop_front();
    const long n = std::min<long>(count, static_cast<long>(answer.size()));
    std::memcpy(buf, answer.data(), static_cast<size_t>(n));
    return finish(false, n);
}

#ifndef FAKE_GPIB_WITHOUT_IBLOC
int ibloc(int ud)
{
    logCall("ibloc " + std::to_string(ud));
    return finish(callFails("ibloc"), 0);
}
#endif

int ibonl(int ud, int v)
{
    logCall("ibonl " + std::to_string(ud) + ' ' + std::to_string(v));
    return finish(false, 0);
}

int ThreadIbsta(void)
{
    return bus.status;
}

int ThreadIberr(void)
{
    return bus.error;
}

long ThreadIbcntl(void)
{
    return bus.overrideCount ? bus.countOverride : bus.count;
}

// --- control calls for the tests ---

void fake_gpib_reset(void)
{
    bus = Bus{};
}

// ibdev at this address fails: with a negative descriptor, or (negative = 0) with a descriptor and ERR.
void fake_gpib_fail_address(int pad, int negative)
{
    bus.failingAddress = pad;
    bus.failWithNegativeDescriptor = negative != 0;
}

// "ibwrt", "ibrd" or "ibloc" reports ERR from now on.
void fake_gpib_fail_call(const char* name)
{
    bus.failingCalls.insert(name);
}

void fake_gpib_queue_answer(const char* bytes, long count)
{
    bus.answers.emplace_back(bytes, static_cast<size_t>(count));
}

// ThreadIbcntl reports this count whatever was transferred, as a faulty driver might.
void fake_gpib_override_count(long count)
{
    bus.overrideCount = true;
    bus.countOverride = count;
}

// The bytes of the last ibwrt; returns their number and copies at most `size` of them.
long fake_gpib_last_write(char* buf, long size)
{
    const long n = std::min<long>(size, static_cast<long>(bus.lastWrite.size()));
    std::memcpy(buf, bus.lastWrite.data(), static_cast<size_t>(n));
    return static_cast<long>(bus.lastWrite.size());
}

// Every driver call so far, separated by ';', for example "ibdev 0 8 0 11 1 0;ibwrt 1 5".
const char* fake_gpib_log(void)
{
    return bus.log.c_str();
}
}

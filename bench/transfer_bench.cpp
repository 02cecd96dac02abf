// How close the download and the upload of all 100 memories come to their physical floor.
//
// The main window talks over the real serial service to a virtual instrument on a pseudo-terminal
// that paces both directions at 9600 baud (10 bits a character). The wire time of a transfer is the
// time all its characters need on the wire, counted as they are written and received. The download
// should take at most 5% more than its wire time; the upload waits half a second after each record
// by design, so its floor is 100 x 0.5 s plus its wire time, and it should come within 5% of that.
// Its settings read no answer and go out while the program waits, so it is also shown beside the
// waits alone.

#include "bench_support.h"

#include "app/form1.h"
#include "base/program_state.h"
#include "connection/connector.h"
#include "link/clock.h"
#include "link/gpib_library_service.h"
#include "link/qt_serial_service.h"
#include "sim/instrument.h"

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>

using namespace orx;
using namespace orx::bench;

namespace {

constexpr int kBaud = 9600;
constexpr int kMemories = 100;
constexpr double kPauseSeconds = 0.5;

// Memory i: both ranges, both switch states, a different delay each.
sim::Settings benchMemory(int i)
{
    sim::Settings s;
    s.voltage = 500 + (i * 197) % 20000;
    s.current = s.voltage > 8240 ? (i * 53) % 10300 : (i * 211) % 20600;
    s.ovpLevel = 21000;
    s.ocpLevel = 21000;
    s.ovpOn = i % 2 == 0;
    s.ocpOn = i % 3 == 0;
    s.delay = 1 + i;
    return s;
}

double seconds(const SteadyClock& clock, qint64 since)
{
    return double(clock.nanoseconds() - since) / 1e9;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const auto server = startPacedInstrument(dir.path(), kBaud);
    if (!server)
        return 1;
    server->withInstrument([](sim::Instrument& orx) {
        for (int i = 0; i < kMemories; ++i)
            orx.setMemory(i, benchMemory(i));
    });

    ProgramState state;
    initialiseAtStart(state, dir.path());
    QtSerialService realSerial;
    CountingSerial serial(realSerial);
    GpibLibraryService gpib{QString()};
    FileDialogs dialogs(dir.filePath(QStringLiteral("memories.csv")));
    SteadyClock clock;
    Form1 form(state, Form1Services{serial, gpib, dialogs, clock, [] { return false; },
                                    [] {
                                    }});
    if (!form.load())
        return 1;
    form.timer2().stop();
    form.connector().Timer2_Timer();
    if (state.ConnectDone != 1) {
        std::fprintf(stderr, "the panel did not find the virtual instrument\n");
        return 1;
    }

    serial.characters = 0;
    qint64 start = clock.nanoseconds();
    const double cpuBefore = processCpuSeconds();
    form.controls().sallfile->click();
    const double download = seconds(clock, start);
    const double downloadCpu = processCpuSeconds() - cpuBefore;
    const double downloadWire = wireSeconds(serial.characters, kBaud);
    std::printf("download of %d memories at %d baud over a paced pty\n", kMemories, kBaud);
    std::printf("  measured:  %.3f s\n", download);
    std::printf("  wire time: %.3f s (%lld characters)\n", downloadWire,
                static_cast<long long>(serial.characters));
    std::printf("  ratio:     %.3f (target: at most 1.05)\n", download / downloadWire);
    std::printf("  processor: %.3f s (panel and virtual instrument together)\n", downloadCpu);

    server->withInstrument([](sim::Instrument& orx) {
        for (int i = 0; i < kMemories; ++i)
            orx.setMemory(i, sim::factorySettings(0));
    });
    serial.characters = 0;
    start = clock.nanoseconds();
    form.controls().rallfile->click();
    const double upload = seconds(clock, start);
    const double uploadWire = wireSeconds(serial.characters, kBaud);
    const double floor = kMemories * kPauseSeconds + uploadWire;
    std::printf("upload of %d records\n", kMemories);
    std::printf("  measured:  %.3f s\n", upload);
    std::printf("  floor:     %.3f s (%d x %.1f s + %.3f s wire time for %lld characters)\n", floor,
                kMemories, kPauseSeconds, uploadWire, static_cast<long long>(serial.characters));
    std::printf("  ratio:     %.3f (target: at most 1.05)\n", upload / floor);
    // Commands that read no answer leave while the program already waits, so most of the wire time
    // hides inside the waits; the waits alone are the lower bound that remains.
    std::printf("  waits alone: %.3f s; ratio to them %.3f\n", kMemories * kPauseSeconds,
                upload / (kMemories * kPauseSeconds));

    int wrong = 0;
    server->withInstrument([&wrong](sim::Instrument& orx) {
        for (int i = 0; i < kMemories; ++i)
            wrong += orx.memory(i) == benchMemory(i) ? 0 : 1;
    });
    std::printf("memories restored: %d of %d\n", kMemories - wrong, kMemories);
    server->stop();
    return wrong == 0 && dialogs.messages == 0 ? 0 : 1;
}

// How close the transfers of all 100 memories come to their physical floor.
//
// The main window talks over the real serial service to a virtual instrument on a pseudo-terminal
// that paces both directions at 9600 baud (10 bits a character). The wire time of a transfer is the
// time all its characters need on the wire, counted as they are written and received.
//
// The download's lines are first recorded, then sent again through the command link alone, with no
// window around it: that is what the link itself manages on this machine now. The link alone, the
// download and the comparison with a file (the same lines) run in turns, so that a change in the
// machine's load hits them alike; the download and the comparison should take at most 1.03 x their
// wire time. The upload waits half a second after each record by design; with its verification, the
// read-back of every memory comes on top, so its floor is 100 x 0.5 s plus the read-back's wire time.

#include "bench_support.h"

#include "app/form1.h"
#include "base/program_state.h"
#include "connection/connector.h"
#include "link/clock.h"
#include "link/command_link.h"
#include "link/gpib_library_service.h"
#include "link/qt_serial_service.h"
#include "sim/instrument.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

using namespace orx;
using namespace orx::bench;

namespace {

constexpr int kBaud = 9600;
constexpr int kMemories = 100;
constexpr int kRounds = 3;
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

struct Figure
{
    double seconds = 0;
    double wireSeconds = 0;
    double cpuSeconds = 0;
};

// Runs `transfer` once and adds its time, wire time and processor time to `figure`.
void measure(Figure& figure, CountingSerial& serial, const Clock& clock,
             const std::function<void()>& transfer)
{
    serial.characters = 0;
    const double cpuBefore = processCpuSeconds();
    const qint64 start = clock.nanoseconds();
    transfer();
    figure.seconds += double(clock.nanoseconds() - start) / 1e9;
    figure.cpuSeconds += processCpuSeconds() - cpuBefore;
    figure.wireSeconds += wireSeconds(serial.characters, kBaud);
}

void print(const char* title, const Figure& f, const Figure& link)
{
    std::printf("%s\n", title);
    std::printf("  measured:  %.3f s, wire time %.3f s, ratio %.3f (target: at most 1.03; the link alone "
                "%.3f)\n",
                f.seconds, f.wireSeconds, f.seconds / f.wireSeconds, link.seconds / link.wireSeconds);
    std::printf("  processor: %.3f s per 100 memories (panel and virtual instrument together)\n",
                f.cpuSeconds / kRounds);
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
    const QString file = dir.filePath(QStringLiteral("memories.csv"));
    FileDialogs dialogs(file);
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

    // The download once to learn its lines (and to leave the panel as every later one finds it).
    serial.recording = true;
    form.controls().sallfile->click();
    serial.recording = false;
    const QList<QByteArray> lines = serial.written;
    const auto linkAlone = [&] {
        for (const QByteArray& line : lines) {
            const QString command = QString::fromLatin1(line.chopped(1)); // without its carriage return
            if (command.endsWith(u'?'))
                form.link().query(command);
            else
                form.link().SendCommand(command);
        }
    };
    Figure link, download, compare;
    for (int round = 0; round < kRounds; ++round) {
        measure(link, serial, clock, linkAlone);
        measure(download, serial, clock, [&] { form.controls().sallfile->click(); });
        measure(compare, serial, clock, [&] { form.controls().cmpfile->click(); });
    }
    std::printf("%d memories at %d baud over a paced pty, %d rounds in turns\n", kMemories, kBaud, kRounds);
    std::printf("the link alone, the download's %lld lines\n", static_cast<long long>(lines.size()));
    std::printf("  measured:  %.3f s, wire time %.3f s, ratio %.3f\n", link.seconds, link.wireSeconds,
                link.seconds / link.wireSeconds);
    print("download", download, link);
    print("compare with the file just downloaded", compare, link);

    server->withInstrument([](sim::Instrument& orx) {
        for (int i = 0; i < kMemories; ++i)
            orx.setMemory(i, sim::factorySettings(0));
    });
    form.controls().verifyUpload->setChecked(true);
    Figure upload;
    serial.written.clear();
    serial.recording = true;
    measure(upload, serial, clock, [&] { form.controls().rallfile->click(); });
    serial.recording = false;
    // The upload reads no answer: what came back and what was written after the last save is the
    // verification's.
    qint64 written = 0;
    qint64 writtenAfterSaves = 0;
    for (const QByteArray& line : serial.written) {
        written += line.size();
        writtenAfterSaves = line.startsWith("*SAV") ? 0 : writtenAfterSaves + line.size();
    }
    const double readBackWire = wireSeconds(serial.characters - written + writtenAfterSaves, kBaud);
    const double floor = kMemories * kPauseSeconds + readBackWire;
    std::printf("upload of %d records with its verification\n", kMemories);
    std::printf("  measured:  %.3f s\n", upload.seconds);
    std::printf("  floor:     %.3f s (%d x %.1f s + %.3f s wire time of the read-back)\n", floor, kMemories,
                kPauseSeconds, readBackWire);
    std::printf("  ratio:     %.3f (target: at most 1.05)\n", upload.seconds / floor);

    int wrong = 0;
    server->withInstrument([&wrong](sim::Instrument& orx) {
        for (int i = 0; i < kMemories; ++i)
            wrong += orx.memory(i) == benchMemory(i) ? 0 : 1;
    });
    std::printf("memories restored: %d of %d\n", kMemories - wrong, kMemories);
    server->stop();
    // The only message is the verification's own, and it found every memory as uploaded.
    return wrong == 0 && dialogs.messages == 1 ? 0 : 1;
}

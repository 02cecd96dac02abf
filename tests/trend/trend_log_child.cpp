// A panel that monitors an in-process instrument as fast as it can, with the trend window logging to
// the file named on the command line, for the kill test. The load changes at every tick, so that
// every line differs. After each tick, once its line is in the log, it prints
//   <wall-clock ms> <volts>,<amperes>
// on standard output, as the displays show them (a reading that went missing as nothing), and flushes.
// Usage: trend_log_child <log file>

#include "support/panel_harness.h"

#include "base/numbers.h"
#include "trend/trend_window.h"

#include <QApplication>
#include <cstdio>

using namespace orx;

namespace {

constexpr int kMostTicks = 1'000'000; // ends by itself should the test never kill it

QByteArray text(const std::optional<double>& value)
{
    return value ? formatTruncated3(*value).toLatin1() : QByteArray();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: trend_log_child <log file>\n");
        return 2;
    }
    test::PanelHarness h;
    sim::Instrument orx{0};
    h.gpib.setInterfaceAvailable(false);
    h.serial.attachInstrument(1, &orx, 9600);
    h.clock.setWallStart(QDateTime::currentMSecsSinceEpoch());
    h.connected();
    h.form->timer1().setInterval(3'600'000); // the ticks below are run by hand
    h.c().setv->setValue(5);
    emit h.c().setv->keyReleased();
    h.c().output->select(1);
    h.c().mnuTrend->trigger();
    auto* window = h.form->findChild<TrendWindow*>();
    h.dialogs.fileAnswers.enqueue(QString::fromLocal8Bit(argv[1]));
    window->findChild<QPushButton*>("logToFile")->click();
    if (!window->recorder().logging()) {
        std::fprintf(stderr, "the log did not start\n");
        return 1;
    }
    // Connected after the window, so this runs once the window has written the tick's line.
    QObject::connect(&h.form->monitoring(), &MonitoringLoop::ticked, [&](const TickReadings& r) {
        std::printf("%lld %s,%s\n", static_cast<long long>(h.clock.wallMilliseconds()),
                    text(r.volts).constData(), text(r.amperes).constData());
        std::fflush(stdout);
    });
    for (int i = 0; i < kMostTicks && h.form->timer1().isActive(); ++i) {
        orx.setLoadOhms(5.0 + (i % 37) * 0.25);
        h.clock.advanceMilliseconds(1000);
        h.form->monitoring().Timer1_Timer();
    }
    return 0;
}

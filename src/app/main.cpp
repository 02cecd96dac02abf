// ORX Panel: the control panel for ORX programmable DC power supplies.

#include "app/command_line.h"
#include "app/demo_mode.h"
#include "app/startup.h"
#include "base/model_limits.h"

#include <QApplication>
#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const orx::CommandLine line = orx::parseCommandLine(arguments);
    if (line.exits) {
        std::fputs(qPrintable(line.out), stdout);
        std::fputs(qPrintable(line.err), stderr);
        return line.exitCode;
    }

    QApplication app(argc, argv);
    // Preferences (QSettings) live in ~/.config/ORX/ORX Panel.conf.
    QApplication::setOrganizationName(QStringLiteral("ORX"));
    QApplication::setApplicationName(QStringLiteral("ORX Panel"));
    QApplication::setApplicationVersion(QStringLiteral(ORX_VERSION));
    std::unique_ptr<orx::DemoInstrument> instrument;
    if (line.simulate) {
        instrument = std::make_unique<orx::DemoInstrument>(line.modelIndex);
        QString error;
        if (!instrument->start(&error)) {
            std::fprintf(stderr, "orx-panel: cannot start the virtual instrument: %s\n", qPrintable(error));
            return 1;
        }
        std::printf("Virtual %s on %s (COM1, %d baud)\n",
                    qPrintable(orx::kModelNames[static_cast<size_t>(line.modelIndex)]),
                    qPrintable(instrument->devicePath()), orx::DemoInstrument::kBaud);
        std::fflush(stdout);
    }
    return orx::runProgram(app, line.remotePort);
}

// ORX Panel: the control panel for ORX programmable DC power supplies.

#include "app/demo_mode.h"
#include "app/startup.h"
#include "base/model_limits.h"

#include <QApplication>
#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ORX Panel"));

    const orx::DemoRequest demo = orx::parseDemoArguments(QApplication::arguments().mid(1));
    if (!demo.error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(demo.error));
        return 2;
    }
    std::unique_ptr<orx::DemoInstrument> instrument;
    if (demo.simulate) {
        instrument = std::make_unique<orx::DemoInstrument>(demo.modelIndex);
        QString error;
        if (!instrument->start(&error)) {
            std::fprintf(stderr, "orx-panel: cannot start the virtual instrument: %s\n", qPrintable(error));
            return 1;
        }
        std::printf("Virtual %s on %s (COM1, %d baud)\n",
                    qPrintable(orx::kModelNames[static_cast<size_t>(demo.modelIndex)]),
                    qPrintable(instrument->devicePath()), orx::DemoInstrument::kBaud);
        std::fflush(stdout);
    }
    return orx::runProgram(app);
}

#include "app/startup.h"

#include "app/form1.h"
#include "app/single_instance.h"
#include "base/program_state.h"
#include "link/clock.h"
#include "link/gpib_library_service.h"
#include "link/qt_serial_service.h"
#include "remote/remote_preference.h"
#include "ui/qt_dialogs.h"

#include <QApplication>

namespace orx {

int runProgram(QApplication& app, std::optional<quint16> remotePort)
{
    ProgramState state;
    initialiseAtStart(state, QCoreApplication::applicationDirPath());

    SingleInstanceLock lock;
    QtSerialService serial;
    GpibLibraryService gpib;
    QtDialogs dialogs;
    SteadyClock clock;
    Form1 form(state, Form1Services{serial, gpib, dialogs, clock, [&lock] { return !lock.acquire(); },
                                    [] {
                                        QCoreApplication::exit(0);
                                    }});
    dialogs.setParent(&form);
    if (!form.load())
        return 0;
    startRemoteAsPreferred(form.remote(), remotePort);
    form.show();
    return app.exec();
}

} // namespace orx

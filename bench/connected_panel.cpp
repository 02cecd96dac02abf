#include "connected_panel.h"

#include "connection/connector.h"
#include "panel/form1_controls.h"
#include "ui/numeric_field.h"
#include "ui/option_group.h"

#include <cstdio>

namespace orx::bench {

ConnectedPanel::ConnectedPanel(const QString& folder)
{
    initialiseAtStart(state, folder);
}

ConnectedPanel::~ConnectedPanel() = default;

bool ConnectedPanel::connect(SerialService& serial)
{
    return connect(serial, dialogs);
}

bool ConnectedPanel::connect(SerialService& serial, Dialogs& shown)
{
    form = std::make_unique<Form1>(state, Form1Services{serial, gpib, shown, clock, [] { return false; },
                                                        [] {
                                                        }});
    form->load();
    form->timer2().stop();
    form->connector().Timer2_Timer();
    if (state.ConnectDone != 1)
        std::fprintf(stderr, "the panel did not connect\n");
    return state.ConnectDone == 1;
}

void ConnectedPanel::startMonitoring()
{
    const Form1Controls& c = form->controls();
    c.setv->setValue(5);
    emit c.setv->keyReleased();
    c.output->select(1);
}

} // namespace orx::bench

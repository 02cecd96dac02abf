#include "connected_panel.h"

#include "connection/connector.h"

#include <cstdio>

namespace orx::bench {

ConnectedPanel::ConnectedPanel(const QString& folder)
{
    initialiseAtStart(state, folder);
}

ConnectedPanel::~ConnectedPanel() = default;

bool ConnectedPanel::connect(SerialService& serial)
{
    form = std::make_unique<Form1>(state, Form1Services{serial, gpib, dialogs, clock, [] { return false; },
                                                        [] {
                                                        }});
    form->load();
    form->timer2().stop();
    form->connector().Timer2_Timer();
    if (state.ConnectDone != 1)
        std::fprintf(stderr, "the panel did not connect\n");
    return state.ConnectDone == 1;
}

} // namespace orx::bench

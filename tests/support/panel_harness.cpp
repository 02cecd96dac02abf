#include "support/panel_harness.h"

#include "connection/connector.h"

namespace orx::test {

PanelHarness::PanelHarness()
{
    initialiseAtStart(state, QStringLiteral("/nonexistent/orx-test"));
}

PanelHarness::~PanelHarness() = default;

Form1& PanelHarness::create()
{
    form = std::make_unique<Form1>(state, Form1Services{rewriting, gpib, dialogs, clock,
                                                        [this] { return anotherCopy; }, [this] { ++endings; },
                                                        passTimeOnClock(clock)});
    return *form;
}

bool PanelHarness::createAndLoad()
{
    create();
    return form->load();
}

void PanelHarness::runConnect()
{
    form->timer2().stop();
    form->connector().Timer2_Timer();
}

Form1& PanelHarness::connected()
{
    createAndLoad();
    runConnect();
    return *form;
}

} // namespace orx::test

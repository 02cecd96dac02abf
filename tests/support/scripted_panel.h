#pragma once
// A connected-looking main window on a scripted port that answers each command from a table: a
// command missing from the table gets no answer (a time-out on the manual clock). Every command
// written is recorded, and a test may look at the window at the moment each one goes out.

#include "app/form1.h"
#include "base/program_state.h"
#include "support/link_rig.h"

#include <QHash>
#include <functional>
#include <memory>

namespace orx::test {

struct ScriptedPanel : ScriptedServices
{
    QHash<QByteArray, QByteArray> answers;                    // command -> answer line (with its line feed)
    QList<QByteArray> sent;                                   // every command, without its carriage return
    std::function<void(const QByteArray& command)> onCommand; // runs as each command is written
    int endings = 0;                                          // times the window ended the program
    std::unique_ptr<Form1> form;

    // An ORX-A100 at 5 V / 1 A, OVP 6 V on, OCP 2 A off, no trip, output on, measuring 12.3456 V and
    // 0.5 A; time-outs are silent as after a connect.
    ScriptedPanel();

    const Form1Controls& c() const { return form->controls(); }
};

} // namespace orx::test

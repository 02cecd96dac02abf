#pragma once
// Passes everything to another serial service, but rewrites what comes back: a test uses it to make
// a virtual instrument answer with an identity (or any text) of its choosing.

#include "link/forwarding_serial.h"

#include <QList>
#include <QPair>

namespace orx::test {

class RewritingSerial : public ForwardingSerial
{
public:
    using ForwardingSerial::ForwardingSerial;

    // Every occurrence of `from` in the received bytes becomes `to`.
    void replace(const QByteArray& from, const QByteArray& to) { m_rules.append({from, to}); }

    QByteArray takeInput() override
    {
        QByteArray input = inner().takeInput();
        for (const auto& [from, to] : m_rules)
            input.replace(from, to);
        return input;
    }

private:
    QList<QPair<QByteArray, QByteArray>> m_rules;
};

} // namespace orx::test

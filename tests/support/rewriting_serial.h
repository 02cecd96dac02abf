#pragma once
// Passes everything to another serial service, but rewrites what comes back: a test uses it to make
// a virtual instrument answer with an identity (or any text) of its choosing.

#include "link/serial_service.h"

#include <QList>
#include <QPair>

namespace orx::test {

class RewritingSerial : public SerialService
{
public:
    explicit RewritingSerial(SerialService& inner) : m_inner(inner) {}

    // Every occurrence of `from` in the received bytes becomes `to`.
    void replace(const QByteArray& from, const QByteArray& to) { m_rules.append({from, to}); }

    void setPortNumber(int port) override { m_inner.setPortNumber(port); }
    int portNumber() const override { return m_inner.portNumber(); }
    void setSettings(const QString& settings) override { m_inner.setSettings(settings); }
    QString settings() const override { return m_inner.settings(); }
    bool setOpen(bool open) override { return m_inner.setOpen(open); }
    bool isOpen() const override { return m_inner.isOpen(); }
    void write(const QByteArray& text) override { m_inner.write(text); }
    void waitForInput(int msecs) override { m_inner.waitForInput(msecs); }
    QByteArray takeInput() override
    {
        QByteArray input = m_inner.takeInput();
        for (const auto& [from, to] : m_rules)
            input.replace(from, to);
        return input;
    }

private:
    SerialService& m_inner;
    QList<QPair<QByteArray, QByteArray>> m_rules;
};

} // namespace orx::test

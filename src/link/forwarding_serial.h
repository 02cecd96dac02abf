#pragma once
// A serial service that passes every call to another one; a subclass overrides the calls it wants to
// watch or change (tests rewrite answers, benchmarks count characters).

#include "link/serial_service.h"

namespace orx {

class ForwardingSerial : public SerialService
{
public:
    explicit ForwardingSerial(SerialService& inner) : m_inner(inner) {}

    void setPortNumber(int port) override { m_inner.setPortNumber(port); }
    int portNumber() const override { return m_inner.portNumber(); }
    void setSettings(const QString& settings) override { m_inner.setSettings(settings); }
    QString settings() const override { return m_inner.settings(); }
    bool setOpen(bool open) override { return m_inner.setOpen(open); }
    bool isOpen() const override { return m_inner.isOpen(); }
    OpenFailure lastOpenFailure() const override { return m_inner.lastOpenFailure(); }
    bool devicePresent() const override { return m_inner.devicePresent(); }
    void write(const QByteArray& text) override { m_inner.write(text); }
    QByteArray takeInput() override { return m_inner.takeInput(); }
    void waitForInput(int msecs) override { m_inner.waitForInput(msecs); }

protected:
    SerialService& inner() { return m_inner; }

private:
    SerialService& m_inner;
};

} // namespace orx

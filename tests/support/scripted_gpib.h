#pragma once
// A GPIB device service driven by a test: records every call, answers reads from a queue.

#include "link/gpib_service.h"

#include <QQueue>
#include <QStringList>
#include <optional>

namespace orx::test {

class ScriptedGpib : public GpibService
{
public:
    int primaryAddress() const override { return m_address; }
    bool setPrimaryAddress(int address) override
    {
        calls.append(QStringLiteral("address %1").arg(address));
        if (address < 0 || address > 30)
            return false;
        m_address = address;
        return true;
    }
    bool applyConfiguration() override
    {
        calls.append(QStringLiteral("apply"));
        return !(failApplyAt && *failApplyAt == m_address);
    }
    bool write(const QByteArray& text) override
    {
        calls.append(QStringLiteral("write ") + QString::fromLatin1(text));
        written.append(text);
        return !writeFails;
    }
    std::optional<QByteArray> read() override
    {
        calls.append(QStringLiteral("read"));
        if (answers.isEmpty())
            return std::nullopt;
        return answers.dequeue();
    }
    bool goToLocal() override
    {
        calls.append(QStringLiteral("local"));
        return true;
    }

    std::optional<int> failApplyAt;            // applying the configuration fails at this address
    bool writeFails = false;                   // every write is refused
    QQueue<std::optional<QByteArray>> answers; // read results; nullopt = the read fails
    QStringList calls;
    QByteArrayList written;

private:
    int m_address = 8;
};

} // namespace orx::test

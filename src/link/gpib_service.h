#pragma once
// The GPIB device service: a primary address, an operation that applies the configuration (opens the
// device at that address), write, read and go-to-local. Each operation reports failure instead of
// raising it; a service without a usable GPIB interface fails to apply its configuration.

#include <QByteArray>
#include <optional>

namespace orx {

class GpibService
{
public:
    virtual ~GpibService() = default;

    virtual int primaryAddress() const = 0;
    virtual bool setPrimaryAddress(int address) = 0; // 0 to 30; false for any other value
    virtual bool applyConfiguration() = 0;
    virtual bool write(const QByteArray& text) = 0;
    virtual std::optional<QByteArray> read() = 0; // nullopt when the read failed
    virtual bool goToLocal() = 0;
};

} // namespace orx

#pragma once
// The serial-port service as the command link and the connection code see it: a port number, a
// settings text such as "9600,n,8,1", an open/closed state, a write of a whole text and a read of
// everything received so far. No handshaking is used.

#include <QByteArray>
#include <QString>

namespace orx {

// Why a port could not be opened.
enum class OpenFailure
{
    None,       // the last opening succeeded (or none was tried)
    NoSuchPort, // the device does not exist (never did, or has vanished)
    InUse,      // another program holds it, or the user may not open it
    Other,
};

class SerialService
{
public:
    virtual ~SerialService() = default;

    virtual void setPortNumber(int port) = 0; // 1 to 4 (COM1 to COM4)
    virtual int portNumber() const = 0;

    // Baud rate, parity, data bits and stop bits, as in "9600,n,8,1". Applied at once when open.
    virtual void setSettings(const QString& settings) = 0;
    virtual QString settings() const = 0;

    // Opens or closes the port. Opening returns false when the port does not exist or cannot be
    // opened (held by another program, unplugged); the port then stays closed.
    virtual bool setOpen(bool open) = 0;
    virtual bool isOpen() const = 0;
    // Why the last opening failed.
    virtual OpenFailure lastOpenFailure() const { return OpenFailure::None; }
    // Whether the port's device is there now (a USB adapter plugged in), learnt without opening it or
    // sending anything. A service that cannot tell says it is there.
    virtual bool devicePresent() const { return true; }

    // Transmits the whole text. Does nothing when the port is not open.
    virtual void write(const QByteArray& text) = 0;

    // Everything received since the last call (possibly nothing); empties the receive buffer.
    virtual QByteArray takeInput() = 0;

    // Blocks until input is waiting or `msecs` have passed, whichever comes first, without letting
    // other events run. It never returns early for any other reason (a closed or failed port waits
    // out the time), so a caller that loops on it never spins.
    virtual void waitForInput(int msecs) = 0;
};

} // namespace orx

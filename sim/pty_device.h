#pragma once
// The POSIX pieces of the pty server: a pseudo-terminal pair in raw mode, the baud rate a client set
// on it, and a symbolic link that gives the device a stable name.

#include <QString>
#include <optional>

namespace orx::sim {

struct PtyPair
{
    int master = -1;    // non-blocking; the server's end
    int slave = -1;     // the server's own handle on the client's end, kept open between clients
    QString devicePath; // e.g. /dev/pts/7, what a client opens
};

// A new pseudo-terminal with its client end in raw mode (no echo, no line editing, no CR/LF
// translation). Nothing on failure, with the reason in `error`.
std::optional<PtyPair> openPty(QString* error);
void closePty(PtyPair& pty);

bool setRawMode(int fd);

// The baud rate a terminal is set to (on Linux the master end reports the client end's settings);
// 0 for a speed that is not a plain serial rate.
int terminalBaud(int fd);

// The termios speed constant of a baud rate (B9600 ...); 0 when there is none.
unsigned speedConstant(int baud);

// Makes `link` a symbolic link to `target`, replacing an older symbolic link there. Refuses to
// replace anything that is not a symbolic link.
bool placeSymlink(const QString& link, const QString& target, QString* error);
// Removes `link` if it is a symbolic link that still points to `target` (never someone else's).
void removeSymlinkTo(const QString& link, const QString& target);

} // namespace orx::sim

#include "sim/pty_device.h"

#include <QFile>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace orx::sim {
namespace {

struct SpeedEntry
{
    int baud;
    speed_t speed;
};

constexpr std::array<SpeedEntry, 12> kSpeeds = {{{50, B50},
                                                 {300, B300},
                                                 {600, B600},
                                                 {1200, B1200},
                                                 {2400, B2400},
                                                 {4800, B4800},
                                                 {9600, B9600},
                                                 {19200, B19200},
                                                 {38400, B38400},
                                                 {57600, B57600},
                                                 {115200, B115200},
                                                 {230400, B230400}}};

void setError(QString* error, const QString& what)
{
    if (error)
        *error = what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
}

QByteArray pathBytes(const QString& path)
{
    return QFile::encodeName(path);
}

} // namespace

std::optional<PtyPair> openPty(QString* error)
{
    PtyPair pty;
    pty.master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (pty.master < 0) {
        setError(error, QStringLiteral("posix_openpt"));
        return std::nullopt;
    }
    char name[128] = {};
    if (grantpt(pty.master) != 0 || unlockpt(pty.master) != 0 ||
        ptsname_r(pty.master, name, sizeof name) != 0) {
        setError(error, QStringLiteral("pseudo-terminal set-up"));
        closePty(pty);
        return std::nullopt;
    }
    pty.devicePath = QString::fromLocal8Bit(name);
    pty.slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (pty.slave < 0 || !setRawMode(pty.slave)) {
        setError(error, QStringLiteral("opening ") + pty.devicePath);
        closePty(pty);
        return std::nullopt;
    }
    const int flags = fcntl(pty.master, F_GETFL);
    if (flags < 0 || fcntl(pty.master, F_SETFL, flags | O_NONBLOCK) != 0) {
        setError(error, QStringLiteral("non-blocking pty"));
        closePty(pty);
        return std::nullopt;
    }
    return pty;
}

void closePty(PtyPair& pty)
{
    if (pty.slave >= 0)
        ::close(pty.slave);
    if (pty.master >= 0)
        ::close(pty.master);
    pty.slave = -1;
    pty.master = -1;
    pty.devicePath.clear();
}

bool setRawMode(int fd)
{
    termios t{};
    if (tcgetattr(fd, &t) != 0)
        return false;
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    return tcsetattr(fd, TCSANOW, &t) == 0;
}

int terminalBaud(int fd)
{
    termios t{};
    if (tcgetattr(fd, &t) != 0)
        return 0;
    const speed_t speed = cfgetospeed(&t);
    for (const SpeedEntry& e : kSpeeds) {
        if (e.speed == speed)
            return e.baud;
    }
    return 0;
}

unsigned speedConstant(int baud)
{
    for (const SpeedEntry& e : kSpeeds) {
        if (e.baud == baud)
            return e.speed;
    }
    return 0;
}

bool placeSymlink(const QString& link, const QString& target, QString* error)
{
    const QByteArray linkName = pathBytes(link);
    struct stat st
    {};
    if (::lstat(linkName.constData(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            if (error)
                *error = link + QStringLiteral(" exists and is not a symbolic link");
            return false;
        }
        if (::unlink(linkName.constData()) != 0) {
            setError(error, QStringLiteral("removing the old link ") + link);
            return false;
        }
    }
    if (::symlink(pathBytes(target).constData(), linkName.constData()) != 0) {
        setError(error, QStringLiteral("making the link ") + link);
        return false;
    }
    return true;
}

void removeSymlinkTo(const QString& link, const QString& target)
{
    if (link.isEmpty())
        return;
    const QByteArray linkName = pathBytes(link);
    char buffer[4096];
    const ssize_t n = ::readlink(linkName.constData(), buffer, sizeof buffer - 1);
    if (n < 0)
        return;
    if (QByteArray(buffer, n) == pathBytes(target))
        ::unlink(linkName.constData());
}

} // namespace orx::sim

#pragma once
// Sets or unsets one environment variable for the life of the guard, then puts the old state back.

#include <QByteArray>
#include <QtGlobal>
#include <optional>

namespace orx::test {

class EnvGuard
{
public:
    EnvGuard(const char* name, const std::optional<QByteArray>& value)
        : m_name(name), m_wasSet(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }
    EnvGuard(const EnvGuard&) = delete;
    EnvGuard& operator=(const EnvGuard&) = delete;
    ~EnvGuard()
    {
        if (m_wasSet)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_wasSet;
    QByteArray m_old;
};

} // namespace orx::test

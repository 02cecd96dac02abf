#include "connection/identity.h"

#include "base/numbers.h"

namespace orx {

bool isOrxIdentity(const QString& answer)
{
    return answer.left(10) == QStringLiteral("QZ.Inc,ORX");
}

bool isMakerAnswer(const QString& answer)
{
    return answer.left(2) == QStringLiteral("QZ");
}

QString modelFieldOf(const QString& identity)
{
    const qsizetype p1 = identity.indexOf(u',');
    if (p1 < 0)
        return QString();
    const qsizetype p2 = identity.indexOf(u',', p1 + 1);
    if (p2 >= 0)
        return identity.mid(p1 + 1, p2 - p1 - 1);
    QString rest = identity.mid(p1 + 1);
    while (!rest.isEmpty() && (rest.back() == u' ' || rest.back() == u'\r' || rest.back() == u'\n'))
        rest.chop(1);
    return rest;
}

std::optional<int> gpibAddressOf(const QString& text)
{
    const auto value = parseNumber(text);
    if (!value)
        return std::nullopt;
    const double whole = wholeNumber(*value);
    if (whole < 0 || whole > 30)
        return std::nullopt;
    return static_cast<int>(whole);
}

QString normalisedGpibAddressText(const QString& text)
{
    return gpibAddressOf(text) ? text : QStringLiteral("8");
}

int comPortOfEntry(const QString& entry)
{
    return entry.isEmpty() ? 0 : static_cast<int>(leadingNumber(entry.right(1)));
}

} // namespace orx

#include "sim/command_syntax.h"

#include "base/numbers.h"

#include <charconv>
#include <limits>
#include <string>

namespace orx::sim {
namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

QStringView trimmedView(QStringView text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    return text.mid(first, last - first);
}

// The text as ASCII for the number parsers, or nothing when it holds any other character.
std::optional<std::string> asciiOf(QStringView text)
{
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (QChar c : text) {
        if (c.unicode() >= 128)
            return std::nullopt;
        out.push_back(static_cast<char>(c.unicode()));
    }
    return out;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

CommandText splitCommand(const QString& line)
{
    QStringView text = trimmedView(line);
    if (text.startsWith(u':'))
        text = text.mid(1);
    qsizetype end = 0;
    while (end < text.size() && !isBlank(text[end]))
        ++end;
    CommandText out;
    out.header = text.left(end).toString();
    out.argument = trimmedView(text.mid(end)).toString();
    out.hasArgument = !out.argument.isEmpty();
    return out;
}

std::optional<double> parseDecimal(QStringView text)
{
    return parseNumber(text);
}

std::optional<qint64> parseInteger(QStringView text)
{
    const auto ascii = asciiOf(trimmedView(text));
    if (!ascii || ascii->empty())
        return std::nullopt;
    const char* first = ascii->data();
    const char* last = first + ascii->size();
    const bool negative = *first == '-';
    if (*first == '+' || *first == '-')
        ++first;
    if (first == last)
        return std::nullopt;
    for (const char* p = first; p != last; ++p) {
        if (!isDigit(*p))
            return std::nullopt;
    }
    qint64 value = 0;
    const auto result = std::from_chars(first, last, value);
    if (result.ec == std::errc::result_out_of_range)
        return negative ? std::numeric_limits<qint64>::min() : std::numeric_limits<qint64>::max();
    return negative ? -value : value;
}

std::optional<bool> parseSwitch(QStringView text)
{
    const QStringView t = trimmedView(text);
    if (t == u"1" || t == u"ON")
        return true;
    if (t == u"0" || t == u"OFF")
        return false;
    return std::nullopt;
}

std::optional<bool> parseRange(QStringView text)
{
    const QStringView t = trimmedView(text);
    if (t == u"HIGH")
        return true;
    if (t == u"LOW")
        return false;
    return std::nullopt;
}

} // namespace orx::sim

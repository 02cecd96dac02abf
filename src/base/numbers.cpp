#include "base/numbers.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace orx {
namespace {

bool isIgnored(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The text with every ignored character removed, as plain ASCII (other characters end any number).
std::string compacted(QStringView text)
{
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (QChar c : text) {
        if (isIgnored(c))
            continue;
        out.push_back(c.unicode() < 128 ? static_cast<char>(c.unicode()) : '\x7f');
    }
    return out;
}

// Moves `i` past a sign that stands there.
void skipSign(const std::string& s, size_t& i)
{
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
}

// Moves `i` past the digits that start there; how many it passed.
size_t skipDigits(const std::string& s, size_t& i)
{
    const size_t start = i;
    while (i < s.size() && isDigit(s[i]))
        ++i;
    return i - start;
}

// Length of the longest prefix of `s` that forms a number by the leading-number rule, with the
// exponent letter normalised to 'e' in `s` itself. Zero when there is no digit at all.
size_t numberPrefix(std::string& s)
{
    size_t i = 0;
    skipSign(s, i);
    size_t digits = skipDigits(s, i);
    if (i < s.size() && s[i] == '.')
        digits += skipDigits(s, ++i);
    if (digits == 0)
        return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        size_t j = i + 1;
        skipSign(s, j);
        if (skipDigits(s, j) > 0) {
            s[i] = 'e';
            i = j;
        }
    }
    return i;
}

bool isBlankOrLineEnd(QChar c)
{
    return isIgnored(c) || c == u'\r';
}

// The value of the number that the first `length` characters of `s` form (see numberPrefix).
double valueOfPrefix(const std::string& s, size_t length)
{
    const char* first = s.data();
    const bool negative = s[0] == '-';
    if (s[0] == '+' || s[0] == '-')
        ++first;
    double value = 0.0;
    const auto result = std::from_chars(first, s.data() + length, value);
    if (result.ec == std::errc::result_out_of_range) {
        // Either far too large or far too small: tell the two apart by the sign of the exponent.
        const size_t e = s.find('e');
        const bool tiny = e != std::string::npos && e < length && s[e + 1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::max();
    }
    return negative ? -value : value;
}

} // namespace

double leadingNumber(QStringView text)
{
    std::string s = compacted(text);
    const size_t length = numberPrefix(s);
    return length == 0 ? 0.0 : valueOfPrefix(s, length);
}

std::optional<double> parseNumber(QStringView text)
{
    while (!text.isEmpty() && isBlankOrLineEnd(text.front()))
        text = text.mid(1);
    while (!text.isEmpty() && isBlankOrLineEnd(text.back()))
        text.chop(1);
    std::string s;
    for (QChar c : text) {
        if (c.unicode() >= 128 || isBlankOrLineEnd(c))
            return std::nullopt;
        s.push_back(static_cast<char>(c.unicode()));
    }
    const size_t length = numberPrefix(s);
    if (length == 0 || length != s.size())
        return std::nullopt;
    return valueOfPrefix(s, length);
}

double wholeNumber(double value)
{
    // nearbyint follows the default rounding mode, which is to nearest with ties to even.
    return std::nearbyint(value);
}

std::optional<qint16> wholeNumber16(double value)
{
    const double whole = wholeNumber(value);
    if (!(whole >= -32768.0 && whole <= 32767.0))
        return std::nullopt;
    return static_cast<qint16>(whole);
}

qint16 wholeNumberClamped16(double value)
{
    return static_cast<qint16>(qBound(-32768.0, wholeNumber(value), 32767.0));
}

QString formatFixed(double value, int decimals, int minIntDigits)
{
    if (!std::isfinite(value))
        value = std::isnan(value) ? 0.0 : std::copysign(std::numeric_limits<double>::max(), value);
    // The exact decimal expansion with a few spare digits; rounding is then done on the digits so
    // that a tie (such as 0.0625 to three places) goes away from zero.
    std::array<char, 400> buffer{};
    const int spare = 30;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                      std::chars_format::fixed, decimals + spare);
    std::string digits(buffer.data(), result.ptr);
    const size_t point = digits.find('.');
    std::string whole = digits.substr(0, point);
    std::string fraction = digits.substr(point + 1, static_cast<size_t>(decimals));
    const bool roundUp = digits[point + 1 + static_cast<size_t>(decimals)] >= '5';
    if (roundUp) {
        std::string all = whole + fraction;
        int i = static_cast<int>(all.size()) - 1;
        while (i >= 0 && all[static_cast<size_t>(i)] == '9') {
            all[static_cast<size_t>(i)] = '0';
            --i;
        }
        if (i < 0)
            all.insert(all.begin(), '1');
        else
            ++all[static_cast<size_t>(i)];
        whole = all.substr(0, all.size() - static_cast<size_t>(decimals));
        fraction = all.substr(all.size() - static_cast<size_t>(decimals));
    }
    size_t firstNonZero = whole.find_first_not_of('0');
    whole = firstNonZero == std::string::npos ? std::string() : whole.substr(firstNonZero);
    if (static_cast<int>(whole.size()) < minIntDigits)
        whole.insert(0, static_cast<size_t>(minIntDigits) - whole.size(), '0');
    const bool isZero = whole.find_first_not_of('0') == std::string::npos &&
                        fraction.find_first_not_of('0') == std::string::npos;
    std::string out = (value < 0 && !isZero) ? "-" : "";
    out += whole;
    if (decimals > 0)
        out += "." + fraction;
    return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

QString formatTruncated3(double value)
{
    if (!std::isfinite(value))
        return formatFixed(value, 3);
    // The shortest fixed-point text that reads back as the same double: the decimal digits the
    // instrument sent, without the binary representation's tail.
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                      std::chars_format::fixed);
    std::string digits(buffer.data(), result.ptr);
    const size_t point = digits.find('.');
    std::string whole = point == std::string::npos ? digits : digits.substr(0, point);
    std::string fraction = point == std::string::npos ? std::string() : digits.substr(point + 1);
    fraction.resize(3, '0');
    const bool isZero = whole.find_first_not_of('0') == std::string::npos && fraction == "000";
    const std::string out = (value < 0 && !isZero ? "-" : "") + whole + "." + fraction;
    return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

QString format3(double value)
{
    return formatFixed(value, 3);
}

// The whole-number patterns show the value's whole number, so that a field, the wire and a file all
// name the one number the value stands for (2.5 shows as 2, never as 3).
QString formatWhole(double value)
{
    return formatFixed(wholeNumber(value), 0);
}

QString formatTwoDigit(double value)
{
    return formatFixed(wholeNumber(value), 0, 2);
}

QString formatVolts(double value)
{
    return format3(value) + u'V';
}

QString formatAmperes(double value)
{
    return format3(value) + u'A';
}

} // namespace orx

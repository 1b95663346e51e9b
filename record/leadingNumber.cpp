#include "leadingNumber.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <string>

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

double leadingNumber(const QString &text)
{
    // Past this many significant digits a double cannot tell the difference.
    constexpr std::size_t maxDigits = 800;
    // Far beyond any double; stops the exponent arithmetic from overflowing.
    constexpr long long maxExponent = 1'000'000;

    auto it = text.cbegin();
    const auto end = text.cend();
    // Blanks, tabs and line feeds are skipped anywhere in the number: "1 2" is 12.
    const auto peek = [&] {
        while (it != end && isBlank(*it))
            ++it;
        return it == end ? QChar() : *it;
    };

    bool negative = false;
    if (const QChar c = peek(); c == u'+' || c == u'-') {
        negative = c == u'-';
        ++it;
    }
    std::string digits;    // significant digits, without leading zeros
    long long exponent = 0; // power of ten applied to digits read as a whole number
    for (; isDigit(peek()); ++it) {
        if (digits.size() < maxDigits) {
            if (!digits.empty() || *it != u'0')
                digits += char(it->unicode());
        } else if (exponent < maxExponent) {
            ++exponent;
        }
    }
    if (peek() == u'.') {
        for (++it; isDigit(peek()); ++it) {
            if (digits.size() >= maxDigits)
                continue;
            if (!digits.empty() || *it != u'0')
                digits += char(it->unicode());
            if (exponent > -maxExponent)
                --exponent;
        }
    }
    if (digits.empty())
        return 0;
    if (const QChar c = peek(); c == u'E' || c == u'e' || c == u'D' || c == u'd') {
        ++it;
        bool negativeExponent = false;
        if (const QChar s = peek(); s == u'+' || s == u'-') {
            negativeExponent = s == u'-';
            ++it;
        }
        long long written = 0;
        for (; isDigit(peek()); ++it)
            written = std::min(written * 10 + (it->unicode() - u'0'), maxExponent);
        exponent += negativeExponent ? -written : written;
    }

    const std::string number = digits + 'e' + std::to_string(exponent);
    double value = 0;
    if (std::from_chars(number.data(), number.data() + number.size(), value).ec == std::errc::result_out_of_range)
        value = exponent + qsizetype(digits.size()) > 0 ? DBL_MAX : 0;
    return negative ? -value : value;
}

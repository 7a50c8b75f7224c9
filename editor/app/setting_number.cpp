#include "editor/app/setting_number.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quillet {

namespace {

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

constexpr int32_t kMin32 = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax32 = std::numeric_limits<int32_t>::max();

} // namespace

int32_t ParseSettingNumber(std::u16string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }

    // Significant digits, leading zeros dropped, and the place of the decimal point in them.
    std::u16string digits;
    int64_t pointAt = 0; // digits before the point
    bool any = false;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        any = true;
        if (digits.empty() && text[i] == u'0')
            continue;
        digits.push_back(text[i]);
        ++pointAt;
    }
    if (i < text.size() && text[i] == u'.') {
        ++i;
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            any = true;
            if (digits.empty() && text[i] == u'0') {
                --pointAt;
                continue;
            }
            digits.push_back(text[i]);
        }
    }
    if (!any)
        return 0;

    // The exponent counts only when digits follow its letter (and sign).
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        size_t j = i + 1;
        bool expNegative = false;
        if (j < text.size() && (text[j] == u'+' || text[j] == u'-')) {
            expNegative = text[j] == u'-';
            ++j;
        }
        if (j < text.size() && IsDigit(text[j])) {
            int64_t exponent = 0;
            for (; j < text.size() && IsDigit(text[j]); ++j)
                exponent = std::min<int64_t>(exponent * 10 + (text[j] - u'0'), 1'000'000'000);
            pointAt += expNegative ? -exponent : exponent;
        }
    }
    if (digits.empty())
        return 0;

    // More than ten whole digits is beyond 32 bits whatever they are.
    if (pointAt > 10)
        return negative ? kMin32 : kMax32;
    int64_t whole = 0;
    for (int64_t k = 0; k < pointAt; ++k)
        whole = whole * 10 + (k < int64_t(digits.size()) ? digits[size_t(k)] - u'0' : 0);

    // The first dropped digit decides, the rest only break a tie.
    int first = 0;
    bool restNonZero = false;
    if (pointAt >= 0) {
        if (pointAt < int64_t(digits.size())) {
            first = digits[size_t(pointAt)] - u'0';
            for (size_t k = size_t(pointAt) + 1; k < digits.size(); ++k)
                restNonZero = restNonZero || digits[k] != u'0';
        }
    } else {
        restNonZero = true; // 0.0…d: less than a half
    }
    if (first > 5 || (first == 5 && (restNonZero || whole % 2 == 1)))
        ++whole;

    if (negative)
        whole = -whole;
    if (whole > kMax32)
        return kMax32;
    if (whole < kMin32)
        return kMin32;
    return int32_t(whole);
}

std::u16string ToDecimalText(int32_t value) {
    std::u16string text;
    int64_t v = value;
    bool negative = v < 0;
    if (negative)
        v = -v;
    do {
        text.insert(text.begin(), char16_t(u'0' + v % 10));
        v /= 10;
    } while (v != 0);
    if (negative)
        text.insert(text.begin(), u'-');
    return text;
}

} // namespace quillet

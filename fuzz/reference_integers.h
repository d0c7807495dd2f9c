// Plain models of the integer rules of what the program reads, written apart
// from the code they check: digit strings are compared with the limits as
// text, with no arithmetic that could overflow.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>

namespace ref {

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The signed value of `digits` (one or more decimal digits) if it fits 32 bits.
inline std::optional<std::int32_t> SignedDecimal(bool negative, std::string_view digits) {
    digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size()));
    const std::string_view limit = negative ? "2147483648" : "2147483647";
    if (digits.size() > limit.size() || (digits.size() == limit.size() && digits > limit)) return std::nullopt;
    std::int64_t magnitude = 0;
    for (char c : digits) magnitude = magnitude * 10 + (c - '0');
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

// A whole text that is an optional sign and one or more decimal digits.
inline std::optional<std::int32_t> WholeInteger(std::string_view text) {
    bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
    if (text.empty() || !std::all_of(text.begin(), text.end(), IsDigit)) return std::nullopt;
    return SignedDecimal(negative, text);
}

// The number edit's rule: white space (space, \t to \r) skipped, an optional
// sign, then the digits up to the first other character; no digits give 0.
// Empty when the digits do not fit 32 bits.
inline std::optional<std::int32_t> LeadingInteger(std::string_view text) {
    auto white = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (!text.empty() && white(text.front())) text.remove_prefix(1);
    bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
    std::size_t digits = 0;
    while (digits < text.size() && IsDigit(text[digits])) ++digits;
    if (digits == 0) return 0;
    return SignedDecimal(negative, text.substr(0, digits));
}

}  // namespace ref

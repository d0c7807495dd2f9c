#include "win/win.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr std::size_t kLimit = 1024;  // bytes, the terminating NUL included

bool IsFlag(char c) { return c == '-' || c == '+' || c == ' ' || c == '0' || c == '#'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Formats one conversion; `directive` runs from '%' to the conversion letter.
std::string FormatOne(const std::string& directive, char conversion, va_list& args) {
    char piece[kLimit];
    switch (conversion) {
        case 's': {
            const char* text = va_arg(args, const char*);
            std::snprintf(piece, sizeof piece, directive.c_str(), text ? text : "(null)");
            break;
        }
        case 'c':
            std::snprintf(piece, sizeof piece, directive.c_str(), va_arg(args, int));
            break;
        case 'd':
        case 'i':
            std::snprintf(piece, sizeof piece, directive.c_str(), va_arg(args, int));
            break;
        default:  // u, x, X
            std::snprintf(piece, sizeof piece, directive.c_str(), va_arg(args, unsigned));
            break;
    }
    return piece;
}

}  // namespace

int wsprintfA(char* buffer, const char* format, ...) {
    if (!buffer || !format) return 0;
    va_list args;
    va_start(args, format);
    std::string out;
    for (const char* p = format; *p && out.size() < kLimit; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        const char* start = p++;
        if (*p == '%') {
            out += '%';
            continue;
        }
        while (IsFlag(*p)) ++p;
        while (IsDigit(*p)) ++p;
        if (*p == '.') {
            ++p;
            while (IsDigit(*p)) ++p;
        }
        std::string directive(start, p);  // without size modifiers, which are all 32-bit here
        while (*p == 'l' || *p == 'h') ++p;
        char conversion = *p;
        if (std::strchr("sdiuxXc", conversion) == nullptr || conversion == '\0') {
            out.append(start, p);  // not a conversion: copied as it stands
            if (!*p) break;
            out += *p;
            continue;
        }
        out += FormatOne(directive + conversion, conversion, args);
    }
    va_end(args);
    if (out.size() > kLimit - 1) out.resize(kLimit - 1);
    std::memcpy(buffer, out.c_str(), out.size() + 1);
    return static_cast<int>(out.size());
}

// The framework's integer conversions against plain models of their rules:
// StrToInt and StrToIntDef (a whole text of sign and digits, 32 bits) and
// LeadingInteger (the number edit's rule). The input is the text as typed.
#include "reference_integers.h"
#include "scratch.h"

#include "vcl/sysutils.h"

#include <climits>
#include <optional>
#include <string>

namespace {

using fuzz::Check;

void CheckStrToInt(const std::string& text) {
    const std::optional<std::int32_t> expected = ref::WholeInteger(text);
    std::optional<int> got;
    try {
        got = vcl::StrToInt(text);
    } catch (const vcl::EConvertError& error) {
        Check(error.Message() == "'" + text + "' is not a valid integer value", "StrToInt's message names the text",
              fuzz::Printable(error.Message()));
    }
    Check(got == expected, "StrToInt takes a sign and digits that fit 32 bits, and nothing else",
          fuzz::Printable(text) + " gave " + (got ? std::to_string(*got) : "an error"));
    for (int fallback : {INT_MIN, 7})
        Check(vcl::StrToIntDef(text, fallback) == expected.value_or(fallback), "StrToIntDef agrees with StrToInt",
              fuzz::Printable(text));
    if (got) Check(vcl::StrToInt(vcl::IntToStr(*got)) == *got, "IntToStr writes what StrToInt reads back");
}

void CheckLeadingInteger(const std::string& text) {
    const std::optional<std::int32_t> expected = ref::LeadingInteger(text);
    // Asked with two markers, so that "out of range" is told apart from a value equal to one.
    for (int outOfRange : {INT_MIN, INT_MAX}) {
        int got = vcl::LeadingInteger(text, outOfRange);
        Check(got == expected.value_or(outOfRange), "LeadingInteger follows the number edit's rule",
              fuzz::Printable(text) + " gave " + std::to_string(got));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckStrToInt(text);
    CheckLeadingInteger(text);
    return 0;
}

// The virtual board's settings file. The input is the file: parsed over two
// different sets of settings, and read from disk, it must give what a plain
// model of the file's rules gives, or fail and change nothing; what was read
// must save and read back unchanged.
#include "reference_integers.h"
#include "scratch.h"

#include "settings.h"

#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

using fuzz::Check;
using kivo::BoardSettings;

// The model: one "[KIVO]" heading before any key; blank lines and lines
// starting with ';' or '#' are comments; every other line is "key=value" with
// a known key, each key once; names and values lose spaces, tabs and CRs at
// both ends; a value is an optional sign and decimal digits fitting 32 bits
// (the viewport four of them, comma-separated); every value in its range.
struct Range {
    std::int32_t min, max;
};
constexpr const char* kControlKeys[] = {"brightness", "saturation", "hue", "sharpness", "contrast"};
constexpr Range kControlRanges[] = {{-128, 127}, {0, 511}, {-128, 127}, {-8, 8}, {0, 511}};
constexpr Range kIndexRange{0, 2};
constexpr std::int32_t kRawWidth = 1024, kRawHeight = 832;

std::string_view Strip(std::string_view s) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

std::optional<std::int32_t> Integer(std::string_view text) { return ref::WholeInteger(Strip(text)); }

std::optional<std::int32_t> InRange(std::string_view text, Range range) {
    auto value = Integer(text);
    if (!value || *value < range.min || *value > range.max) return std::nullopt;
    return value;
}

std::optional<std::vector<std::int32_t>> IntegerList(std::string_view text) {
    std::vector<std::int32_t> values;
    for (std::size_t start = 0;;) {
        auto comma = text.find(',', start);
        auto value = Integer(text.substr(start, comma == std::string_view::npos ? text.size() - start : comma - start));
        if (!value) return std::nullopt;
        values.push_back(*value);
        if (comma == std::string_view::npos) return values;
        start = comma + 1;
    }
}

bool UsableViewport(const std::vector<std::int32_t>& v) {
    return v.size() == 4 && 0 <= v[0] && v[0] < v[2] && v[2] <= kRawWidth && 0 <= v[1] && v[1] < v[3] &&
           v[3] <= kRawHeight;
}

// Sets one key; false when the key is unknown or its value is not usable.
bool SetKey(BoardSettings& s, std::string_view key, std::string_view value) {
    if (key == "connector") {
        auto v = InRange(value, kIndexRange);
        if (v) s.connector = *v;
        return v.has_value();
    }
    for (int c = 0; c < 3; ++c)
        if (key == "standard" + std::to_string(c)) {
            auto v = InRange(value, kIndexRange);
            if (v) s.standards[static_cast<std::size_t>(c)] = *v;
            return v.has_value();
        }
    for (std::size_t i = 0; i < std::size(kControlKeys); ++i)
        if (key == kControlKeys[i]) {
            auto v = InRange(value, kControlRanges[i]);
            if (v) s.controls[i] = *v;
            return v.has_value();
        }
    if (key == "viewport") {
        auto v = IntegerList(value);
        if (!v || !UsableViewport(*v)) return false;
        s.viewport = {(*v)[0], (*v)[1], (*v)[2], (*v)[3]};
        return true;
    }
    return false;
}

std::optional<BoardSettings> ModelRead(std::string_view text, BoardSettings s) {
    if (text.find('\0') != std::string_view::npos) return std::nullopt;
    bool heading = false;
    std::set<std::string, std::less<>> seen;
    std::size_t start = 0;
    while (start < text.size()) {
        auto feed = text.find('\n', start);
        std::string_view line = Strip(text.substr(start, feed == std::string_view::npos ? text.size() - start : feed - start));
        start = feed == std::string_view::npos ? text.size() : feed + 1;
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line == "[KIVO]") {
            if (heading) return std::nullopt;
            heading = true;
            continue;
        }
        auto equals = line.find('=');
        if (!heading || equals == std::string_view::npos) return std::nullopt;
        std::string_view key = Strip(line.substr(0, equals));
        if (!seen.emplace(key).second || !SetKey(s, key, line.substr(equals + 1))) return std::nullopt;
    }
    if (!heading) return std::nullopt;
    return s;
}

std::string Describe(const BoardSettings& s) { return fuzz::Printable(kivo::FormatSettings(s)); }

BoardSettings Other() {
    BoardSettings s;
    s.connector = 2;
    s.standards = {2, 1, 0};
    s.controls = {-128, 511, 127, -8, 0};
    s.viewport = {255, 255, 1023, 831};
    return s;
}

void CheckParse(std::string_view text, const BoardSettings& base) {
    const std::optional<BoardSettings> expected = ModelRead(text, base);
    BoardSettings s = base;
    bool parsed = kivo::ParseSettings(text, s);
    Check(parsed == expected.has_value(), parsed ? "the file is taken though the rules refuse it"
                                                 : "the file is refused though the rules take it");
    Check(s == expected.value_or(base), parsed ? "the file reads as the rules say" : "a refused file changes nothing",
          Describe(s));
    if (!parsed) return;
    Check(kivo::IsValid(s), "what is read is valid", Describe(s));
    BoardSettings back;
    Check(kivo::ParseSettings(kivo::FormatSettings(s), back) && back == s, "the settings' text reads back the same",
          Describe(s));
}

void CheckFileRead(const std::string& file, const BoardSettings& base) {
    const std::string path = fuzz::ScratchFolder() + "/QORDCI32.ini", saved = fuzz::ScratchFolder() + "/saved.ini";
    fuzz::WriteWholeFile(path, file);
    const std::optional<BoardSettings> expected = ModelRead(file, base);
    BoardSettings s = base;
    kivo::SettingsRead result = kivo::ReadSettingsFile(path, s);
    Check(result == (expected ? kivo::SettingsRead::Read : kivo::SettingsRead::Corrupt),
          "the file reads, or is corrupt, as the rules say");
    Check(s == expected.value_or(base), "the file read from disk reads as the rules say", Describe(s));
    Check(fuzz::ReadWholeFile(path) == file, "reading changes nothing in the file");
    if (!expected) return;
    Check(kivo::SaveSettingsFile(saved, s), "what was read saves");
    BoardSettings back = base == BoardSettings{} ? Other() : BoardSettings{};
    Check(kivo::ReadSettingsFile(saved, back) == kivo::SettingsRead::Read && back == s,
          "what was saved reads back the same", Describe(back));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file(reinterpret_cast<const char*>(data), size);
    for (const BoardSettings& base : {BoardSettings{}, Other()}) CheckParse(file, base);
    CheckFileRead(file, Other());
    return 0;
}

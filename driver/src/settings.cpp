#include "settings.h"

#include "files.h"

#include <charconv>
#include <optional>
#include <set>
#include <vector>

namespace kivo {
namespace {

constexpr const char* kControlKeys[kControls] = {"brightness", "saturation", "hue", "sharpness", "contrast"};
constexpr std::size_t kLargestFile = 64 * 1024;

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

std::optional<std::int32_t> ParseInt(std::string_view s) {
    s = Trim(s);
    // from_chars takes a '-' but no '+'; a '+' goes first, unless a second sign follows it.
    if (s.starts_with('+') && !s.substr(1).starts_with('-')) s.remove_prefix(1);
    std::int32_t value{};
    auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || error != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return value;
}

std::optional<std::vector<std::int32_t>> ParseList(std::string_view s, std::size_t count) {
    std::vector<std::int32_t> values;
    for (;;) {
        auto comma = s.find(',');
        auto value = ParseInt(s.substr(0, comma));
        if (!value) return std::nullopt;
        values.push_back(*value);
        if (comma == std::string_view::npos) break;
        s.remove_prefix(comma + 1);
    }
    if (values.size() != count) return std::nullopt;
    return values;
}

bool InRange(std::int32_t value, std::int32_t low, std::int32_t high) { return value >= low && value <= high; }

}  // namespace

bool IsValid(const BoardSettings& s) {
    if (!InRange(s.connector, 0, kConnectors - 1)) return false;
    for (int standard : s.standards)
        if (!InRange(standard, 0, kStandards - 1)) return false;
    for (int i = 0; i < kControls; ++i)
        if (!InRange(s.controls[static_cast<std::size_t>(i)], kControlRanges[static_cast<std::size_t>(i)].min,
                     kControlRanges[static_cast<std::size_t>(i)].max))
            return false;
    return IsValidViewport(s.viewport);
}

std::string FormatSettings(const BoardSettings& s) {
    std::string text = "; The virtual KIVO board's settings (QORDCI32.DLL).\n[KIVO]\n";
    auto line = [&](const std::string& key, const std::string& value) { text += key + "=" + value + "\n"; };
    line("connector", std::to_string(s.connector));
    for (int c = 0; c < kConnectors; ++c)
        line("standard" + std::to_string(c), std::to_string(s.standards[static_cast<std::size_t>(c)]));
    for (int i = 0; i < kControls; ++i) line(kControlKeys[i], std::to_string(s.controls[static_cast<std::size_t>(i)]));
    line("viewport", std::to_string(s.viewport.left) + "," + std::to_string(s.viewport.top) + "," +
                         std::to_string(s.viewport.right) + "," + std::to_string(s.viewport.bottom));
    return text;
}

bool ParseSettings(std::string_view text, BoardSettings& settings) {
    if (text.find('\0') != std::string_view::npos) return false;
    BoardSettings s = settings;
    std::set<std::string, std::less<>> seen;
    bool heading = false;
    while (!text.empty()) {
        auto newline = text.find('\n');
        std::string_view line = Trim(text.substr(0, newline));
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line == "[KIVO]") {
            if (heading) return false;
            heading = true;
            continue;
        }
        auto equals = line.find('=');
        if (!heading || equals == std::string_view::npos) return false;
        std::string_view key = Trim(line.substr(0, equals)), value = line.substr(equals + 1);
        if (!seen.emplace(key).second) return false;
        if (key == "connector") {
            auto v = ParseInt(value);
            if (!v) return false;
            s.connector = *v;
        } else if (key == "viewport") {
            auto v = ParseList(value, 4);
            if (!v) return false;
            s.viewport = {(*v)[0], (*v)[1], (*v)[2], (*v)[3]};
        } else if (key.size() == 9 && key.starts_with("standard") && key[8] >= '0' && key[8] < '0' + kConnectors) {
            auto v = ParseInt(value);
            if (!v) return false;
            s.standards[static_cast<std::size_t>(key[8] - '0')] = *v;
        } else {
            int control = -1;
            for (int i = 0; i < kControls; ++i)
                if (key == kControlKeys[i]) control = i;
            auto v = ParseInt(value);
            if (control < 0 || !v) return false;
            s.controls[static_cast<std::size_t>(control)] = *v;
        }
    }
    if (!heading || !IsValid(s)) return false;
    settings = s;
    return true;
}

SettingsRead ReadSettingsFile(const std::string& path, BoardSettings& settings) {
    std::string text;
    switch (ReadWholeFile(path, kLargestFile, text)) {
        case ReadStatus::Missing: settings = BoardSettings{}; return SettingsRead::Missing;
        case ReadStatus::Unreadable: return SettingsRead::Unreadable;
        case ReadStatus::TooLarge: return SettingsRead::Corrupt;
        case ReadStatus::Ok: break;
    }
    return ParseSettings(text, settings) ? SettingsRead::Read : SettingsRead::Corrupt;
}

bool SaveSettingsFile(const std::string& path, const BoardSettings& settings) {
    std::string text = FormatSettings(settings);
    std::span<const std::byte> part(reinterpret_cast<const std::byte*>(text.data()), text.size());
    return WriteFileAtomically(path, std::span(&part, 1), true);
}

}  // namespace kivo

#include "vcl/inifiles.h"

#include "win/win.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

namespace vcl {
namespace {

struct Lines {
    std::vector<AnsiString> text;  // without line ends
    AnsiString lineEnd = "\n";
};

std::optional<Lines> ReadLines(const AnsiString& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) return std::nullopt;
    Lines lines;
    AnsiString line;
    while (std::getline(in, line)) lines.text.push_back(line);
    // The file's line end is that of its first line. In a file of LF lines a
    // CR before the line feed belongs to its line, so a write keeps it.
    if (!lines.text.empty() && lines.text.front().ends_with('\r')) {
        lines.lineEnd = "\r\n";
        for (AnsiString& text : lines.text)
            if (text.ends_with('\r')) text.pop_back();
    }
    return lines;
}

// Names match in full, bytes past a NUL too, in any ASCII case.
bool SameName(const AnsiString& a, const AnsiString& b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return lower(x) == lower(y); });
}

// The section name of a "[name]" line, if it is one.
std::optional<AnsiString> SectionOf(const AnsiString& line) {
    AnsiString trimmed = Trim(line);
    if (trimmed.size() < 2 || trimmed.front() != '[') return std::nullopt;
    auto close = trimmed.find(']');
    if (close == AnsiString::npos) return std::nullopt;
    return Trim(trimmed.substr(1, close - 1));
}

// The key of a "key=value" line, if it is one; comments are no keys.
std::optional<AnsiString> KeyOf(const AnsiString& line) {
    auto equals = line.find('=');
    if (equals == AnsiString::npos) return std::nullopt;
    AnsiString key = Trim(line.substr(0, equals));
    if (key.empty() || key.front() == ';') return std::nullopt;
    return key;
}

bool IsQuoted(const AnsiString& value) {
    return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
}

AnsiString ValueOf(const AnsiString& line) {
    AnsiString value = Trim(line.substr(line.find('=') + 1));
    return IsQuoted(value) ? value.substr(1, value.size() - 2) : value;
}

// The value as it goes into its line: one that the read would trim or
// unquote goes in double quotes, so that it reads back as itself.
AnsiString Stored(const AnsiString& value) {
    bool changedByRead = Trim(value).size() != value.size() || IsQuoted(value);
    return changedByRead ? "\"" + value + "\"" : value;
}

struct Place {
    std::optional<std::size_t> section;  // index of the "[section]" line
    std::size_t sectionEnd = 0;          // one past the section's last key line
    std::optional<std::size_t> key;      // index of the first "key=" line
};

Place Find(const Lines& lines, const AnsiString& section, const AnsiString& key) {
    Place place;
    bool inside = false;
    for (std::size_t i = 0; i < lines.text.size(); ++i) {
        if (auto name = SectionOf(lines.text[i])) {
            if (inside) break;
            inside = !place.section && SameName(*name, section);
            if (inside) {
                place.section = i;
                place.sectionEnd = i + 1;
            }
            continue;
        }
        if (!inside) continue;
        auto found = KeyOf(lines.text[i]);
        if (!found) continue;
        place.sectionEnd = i + 1;
        if (!place.key && SameName(*found, key)) place.key = i;
    }
    return place;
}

}  // namespace

AnsiString TIniFile::ReadString(const AnsiString& section, const AnsiString& key, const AnsiString& fallback) const {
    auto lines = ReadLines(fileName_);
    if (!lines) return fallback;
    Place place = Find(*lines, section, key);
    return place.key ? ValueOf(lines->text[*place.key]) : fallback;
}

int TIniFile::ReadInteger(const AnsiString& section, const AnsiString& key, int fallback) const {
    return StrToIntDef(ReadString(section, key, ""), fallback);
}

void TIniFile::WriteString(const AnsiString& section, const AnsiString& key, const AnsiString& value) {
    Lines lines = ReadLines(fileName_).value_or(Lines{});
    Place place = Find(lines, section, key);
    AnsiString entry = key + "=" + Stored(value);
    if (place.key) {
        lines.text[*place.key] = entry;
    } else if (place.section) {
        lines.text.insert(lines.text.begin() + static_cast<std::ptrdiff_t>(place.sectionEnd), entry);
    } else {
        lines.text.push_back("[" + section + "]");
        lines.text.push_back(entry);
    }
    std::ostringstream out;
    for (const AnsiString& line : lines.text) out << line << lines.lineEnd;
    // A folder that cannot be made shows as the write's own failure.
    AnsiString folder = ExtractFilePath(fileName_);
    if (!folder.empty()) win::CreateFolders(folder);
    WriteFileAtomically(fileName_, out.str());
}

void TIniFile::WriteInteger(const AnsiString& section, const AnsiString& key, int value) {
    WriteString(section, key, IntToStr(value));
}

}  // namespace vcl

// The program's settings file. The input is the file: it is read key by key
// through TIniFile as the program reads it at start-up, and the result must
// be what a plain model of the profile rules reads. Then what was read is
// written back into a copy, as the shutdown writes it, and the copy must read
// back the same and keep every other line as it was.
#include "reference_integers.h"
#include "scratch.h"

#include "vcl/inifiles.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using fuzz::Check;

// The program's reads and writes, in its order; keep in step with
// src/app/settings_file.cpp.
struct Key {
    const char* section;
    const char* name;
    int fallback;
};
constexpr std::array<Key, 7> kIntegerKeys{{
    {"SYSTEM", "X", 50},
    {"SYSTEM", "Y", 50},
    {"SYSTEM", "Size", 3},
    {"SYSTEM", "UserW", 480},
    {"SYSTEM", "UserH", 360},
    {"FILE", "Format", 2},
    {"FILE", "Number", 1},
}};
constexpr std::size_t kNumber = 6;
constexpr Key kNameKey{"FILE", "Name", 0};
constexpr const char* kNameFallback = "TempFile";
constexpr const char* kSections[] = {"SYSTEM", "FILE"};

struct Stored {
    std::array<int, kIntegerKeys.size()> integers{};
    std::string name;
    bool operator==(const Stored&) const = default;
};

std::string Describe(const Stored& s) {
    std::string text;
    for (std::size_t i = 0; i < s.integers.size(); ++i)
        text += std::string(kIntegerKeys[i].name) + "=" + std::to_string(s.integers[i]) + " ";
    return text + "Name=\"" + fuzz::Printable(s.name) + "\"";
}

int ClampNumber(int number) { return number < 1 || number > 999 ? 1 : number; }

Stored ReadAsTheProgramDoes(const std::string& path) {
    vcl::TIniFile ini(path);
    Stored s;
    for (std::size_t i = 0; i < kIntegerKeys.size(); ++i)
        s.integers[i] = ini.ReadInteger(kIntegerKeys[i].section, kIntegerKeys[i].name, kIntegerKeys[i].fallback);
    s.integers[kNumber] = ClampNumber(s.integers[kNumber]);
    s.name = ini.ReadString(kNameKey.section, kNameKey.name, kNameFallback);
    return s;
}

void WriteAsTheProgramDoes(const std::string& path, const Stored& s) {
    vcl::TIniFile ini(path);
    for (std::size_t i = 0; i < kIntegerKeys.size(); ++i)
        ini.WriteInteger(kIntegerKeys[i].section, kIntegerKeys[i].name, s.integers[i]);
    ini.WriteString(kNameKey.section, kNameKey.name, s.name);
}

// The model: a file is lines ending as its first line ends (CR LF or LF); a
// "[name]" line opens a section; a "key=value" line below it is an entry,
// unless the key starts with ';'. Names and values lose the bytes 0 to 32 at
// both ends and a value one pair of enclosing quotes. Names match in full,
// in any ASCII case; the first section of a name and its first key count.
struct Entry {
    std::string key, value;
    std::size_t line;
};
struct Section {
    std::string name;
    std::size_t header;
    std::vector<Entry> entries;
};
struct Model {
    std::vector<std::string> lines;
    std::string lineEnd;
    std::vector<Section> sections;
};

std::string_view Strip(std::string_view s) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

bool SameName(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

std::vector<std::string_view> SplitAtLineFeeds(std::string_view text) {
    std::vector<std::string_view> pieces;
    while (!text.empty()) {
        auto feed = text.find('\n');
        pieces.push_back(text.substr(0, feed));
        text.remove_prefix(feed == std::string_view::npos ? text.size() : feed + 1);
    }
    return pieces;
}

std::string Unquoted(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

Model Parse(std::string_view text) {
    Model m;
    std::vector<std::string_view> pieces = SplitAtLineFeeds(text);
    bool crlf = !pieces.empty() && pieces.front().ends_with('\r');
    m.lineEnd = crlf ? "\r\n" : "\n";
    for (std::string_view piece : pieces) {
        if (crlf && piece.ends_with('\r')) piece.remove_suffix(1);
        m.lines.emplace_back(piece);
    }
    for (std::size_t i = 0; i < m.lines.size(); ++i) {
        std::string_view line = m.lines[i], stripped = Strip(line);
        if (stripped.starts_with('[') && stripped.find(']') != std::string_view::npos) {
            m.sections.push_back({std::string(Strip(stripped.substr(1, stripped.find(']') - 1))), i, {}});
            continue;
        }
        auto equals = line.find('=');
        if (m.sections.empty() || equals == std::string_view::npos) continue;
        std::string_view key = Strip(line.substr(0, equals));
        if (key.empty() || key.front() == ';') continue;
        m.sections.back().entries.push_back({std::string(key), Unquoted(Strip(line.substr(equals + 1))), i});
    }
    return m;
}

const Section* FindSection(const Model& m, std::string_view name) {
    for (const Section& section : m.sections)
        if (SameName(section.name, name)) return &section;
    return nullptr;
}

const Entry* FindEntry(const Model& m, const Key& key) {
    const Section* section = FindSection(m, key.section);
    if (!section) return nullptr;
    for (const Entry& entry : section->entries)
        if (SameName(entry.key, key.name)) return &entry;
    return nullptr;
}

Stored ReadAsTheModelSays(const Model& m) {
    Stored s;
    for (std::size_t i = 0; i < kIntegerKeys.size(); ++i) {
        const Entry* entry = FindEntry(m, kIntegerKeys[i]);
        s.integers[i] = entry ? ref::WholeInteger(entry->value).value_or(kIntegerKeys[i].fallback) : kIntegerKeys[i].fallback;
    }
    s.integers[kNumber] = ClampNumber(s.integers[kNumber]);
    const Entry* name = FindEntry(m, kNameKey);
    s.name = name ? name->value : kNameFallback;
    return s;
}

// The eight keys in the order written.
std::vector<Key> WrittenKeys() {
    std::vector<Key> keys(kIntegerKeys.begin(), kIntegerKeys.end());
    keys.push_back(kNameKey);
    return keys;
}

std::vector<std::optional<std::size_t>> KeyLines(const Model& m) {
    std::vector<std::optional<std::size_t>> lines;
    for (const Key& key : WrittenKeys()) {
        const Entry* entry = FindEntry(m, key);
        lines.push_back(entry ? std::optional(entry->line) : std::nullopt);
    }
    return lines;
}

// The lines of the file other than the eight keys and the headers of `added` sections.
std::vector<std::size_t> KeptLines(const Model& m, const std::vector<std::string_view>& added) {
    std::vector<bool> written(m.lines.size(), false);
    for (auto line : KeyLines(m))
        if (line) written[*line] = true;
    for (std::string_view name : added)
        if (const Section* section = FindSection(m, name)) written[section->header] = true;
    std::vector<std::size_t> kept;
    for (std::size_t i = 0; i < m.lines.size(); ++i)
        if (!written[i]) kept.push_back(i);
    return kept;
}

std::size_t KeptBefore(const std::vector<std::size_t>& kept, std::size_t line) {
    std::size_t count = 0;
    while (count < kept.size() && kept[count] < line) ++count;
    return count;
}

// What the write must keep: every other line, in order and unchanged; a key
// already there where it stood; a new key after the last key of its section;
// a new section after everything else; one line end throughout.
void CheckTheWriteKeptTheFile(const Model& before, const Model& after, const std::string& written) {
    std::vector<std::string_view> added;
    for (std::string_view name : kSections)
        if (!FindSection(before, name)) added.push_back(name);
    std::vector<std::size_t> keptBefore = KeptLines(before, {}), keptAfter = KeptLines(after, added);
    Check(keptBefore.size() == keptAfter.size(), "the write keeps every other line",
          std::to_string(keptBefore.size()) + " lines before, " + std::to_string(keptAfter.size()) + " after");
    for (std::size_t i = 0; i < keptBefore.size(); ++i)
        Check(before.lines[keptBefore[i]] == after.lines[keptAfter[i]], "the write keeps every other line unchanged",
              fuzz::Printable(before.lines[keptBefore[i]]) + " became " + fuzz::Printable(after.lines[keptAfter[i]]));

    std::vector<std::optional<std::size_t>> linesBefore = KeyLines(before), linesAfter = KeyLines(after);
    std::vector<Key> keys = WrittenKeys();
    for (std::size_t k = 0; k < keys.size(); ++k) {
        Check(linesAfter[k].has_value(), "every key written is in the file", keys[k].name);
        if (linesBefore[k])
            Check(KeptBefore(keptBefore, *linesBefore[k]) == KeptBefore(keptAfter, *linesAfter[k]),
                  "a key already in the file is replaced where it stands", keys[k].name);
    }
    for (std::string_view name : kSections) {
        const std::vector<Entry>& entries = FindSection(after, name)->entries;
        std::vector<std::size_t> newKeys;
        for (std::size_t k = 0; k < keys.size(); ++k)
            if (keys[k].section == name && !linesBefore[k]) newKeys.push_back(*linesAfter[k]);
        Check(entries.size() >= newKeys.size(), "new keys are entries of their section", std::string(name));
        for (std::size_t i = 0; i < newKeys.size(); ++i)
            Check(entries[entries.size() - newKeys.size() + i].line == newKeys[i],
                  "new keys go to the end of their section, in the order written", std::string(name));
    }
    for (std::string_view name : added)
        Check(keptAfter.empty() || FindSection(after, name)->header > keptAfter.back(),
              "a new section goes to the end of the file", std::string(name));

    std::string joined;
    for (const std::string& line : after.lines) joined += line + before.lineEnd;
    Check(written == joined, "the written file ends every line as the old file's first line ends");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file(reinterpret_cast<const char*>(data), size);
    const std::string path = fuzz::ScratchFolder() + "/DUVEZ.ini", copy = fuzz::ScratchFolder() + "/copy.ini";
    fuzz::WriteWholeFile(path, file);

    const Model before = Parse(file);
    const Stored read = ReadAsTheProgramDoes(path), expected = ReadAsTheModelSays(before);
    Check(read == expected, "the reads follow the profile rules", Describe(read) + "\n  expected " + Describe(expected));
    Check(fuzz::ReadWholeFile(path) == file, "reading changes nothing in the file");

    fuzz::WriteWholeFile(copy, file);
    WriteAsTheProgramDoes(copy, read);
    const std::string written = fuzz::ReadWholeFile(copy);
    const Stored reread = ReadAsTheProgramDoes(copy);
    Check(reread == read, "what was written reads back the same", Describe(reread) + "\n  written " + Describe(read));
    const Model after = Parse(written);
    Check(ReadAsTheModelSays(after) == read, "the written file reads back the same by the profile rules");
    CheckTheWriteKeptTheFile(before, after, written);
    return 0;
}

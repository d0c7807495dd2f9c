#include "vcl/sysutils.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vcl {

AnsiString IntToStr(int value) { return std::to_string(value); }

namespace {

bool ParseInteger(const AnsiString& text, int& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return false;
    long long magnitude = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > static_cast<long long>(INT_MAX) + 1) return false;
    }
    long long result = negative ? -magnitude : magnitude;
    if (result > INT_MAX || result < INT_MIN) return false;
    value = static_cast<int>(result);
    return true;
}

}  // namespace

int StrToInt(const AnsiString& text) {
    int value = 0;
    if (!ParseInteger(text, value)) throw EConvertError("'" + text + "' is not a valid integer value");
    return value;
}

int StrToIntDef(const AnsiString& text, int fallback) {
    int value = 0;
    return ParseInteger(text, value) ? value : fallback;
}

int LeadingInteger(const AnsiString& text, int outOfRange) {
    std::size_t i = 0;
    auto isWhite = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (i < text.size() && isWhite(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > static_cast<long long>(INT_MAX) + 1) return outOfRange;
    }
    long long result = negative ? -magnitude : magnitude;
    if (result > INT_MAX || result < INT_MIN) return outOfRange;
    return static_cast<int>(result);
}

namespace {

[[noreturn]] void BadFormat(const AnsiString& format) {
    throw EConvertError("Format '" + format + "' invalid or incompatible with argument");
}

}  // namespace

AnsiString Format(const AnsiString& format, std::initializer_list<FormatArg> args) {
    AnsiString out;
    auto next = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            out += format[i];
            continue;
        }
        std::size_t start = i++;
        if (i < format.size() && format[i] == '%') {
            out += '%';
            continue;
        }
        while (i < format.size() && std::strchr("-+ 0#.0123456789", format[i])) ++i;
        if (i == format.size() || next == args.end()) BadFormat(format);
        char conversion = format[i];
        AnsiString directive = format.substr(start, i - start + 1);
        char piece[512];
        if (conversion == 's' && std::holds_alternative<AnsiString>(*next)) {
            const AnsiString& text = std::get<AnsiString>(*next);
            int needed = std::snprintf(nullptr, 0, directive.c_str(), text.c_str());
            AnsiString formatted(static_cast<std::size_t>(needed), '\0');
            std::snprintf(formatted.data(), formatted.size() + 1, directive.c_str(), text.c_str());
            out += formatted;
        } else if (std::strchr("dux", conversion) && std::holds_alternative<int>(*next)) {
            std::snprintf(piece, sizeof piece, directive.c_str(), std::get<int>(*next));
            out += piece;
        } else {
            BadFormat(format);
        }
        ++next;
    }
    return out;
}

AnsiString Trim(const AnsiString& text) {
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    std::size_t first = 0, last = text.size();
    while (first < last && isBlank(text[first])) ++first;
    while (last > first && isBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

AnsiString ExtractFilePath(const AnsiString& fileName) {
    auto slash = fileName.rfind('/');
    return slash == AnsiString::npos ? AnsiString() : fileName.substr(0, slash + 1);
}

AnsiString ExtractFileName(const AnsiString& fileName) {
    auto slash = fileName.rfind('/');
    return slash == AnsiString::npos ? fileName : fileName.substr(slash + 1);
}

AnsiString ExtractFileExt(const AnsiString& fileName) {
    auto dot = fileName.rfind('.');
    auto slash = fileName.rfind('/');
    if (dot == AnsiString::npos || (slash != AnsiString::npos && dot < slash)) return {};
    return fileName.substr(dot);
}

AnsiString ChangeFileExt(const AnsiString& fileName, const AnsiString& extension) {
    AnsiString ext = ExtractFileExt(fileName);
    return fileName.substr(0, fileName.size() - ext.size()) + extension;
}

bool FileExists(const AnsiString& fileName) {
    struct stat info{};
    return stat(fileName.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool DeleteFile(const AnsiString& fileName) { return unlink(fileName.c_str()) == 0; }

namespace {

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t written = write(fd, data, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool CopyInto(int from, int to) {
    char buffer[65536];
    for (;;) {
        ssize_t got = read(from, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return true;
        if (!WriteAll(to, buffer, static_cast<std::size_t>(got))) return false;
    }
}

// A new, empty temporary file beside `fileName`, with the mode a new file gets.
int CreateTemporaryBeside(const AnsiString& fileName, AnsiString& tempName, mode_t mode) {
    tempName = fileName + ".XXXXXX";
    int fd = mkstemp(tempName.data());
    if (fd < 0) return -1;
    fchmod(fd, mode);
    return fd;
}

mode_t NewFileMode() {
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// A complete, flushed copy of `oldName` beside `newName`; false (and no
// copy left) when it cannot be made.
bool CopyBeside(const AnsiString& oldName, const AnsiString& newName, AnsiString& tempName) {
    int from = open(oldName.c_str(), O_RDONLY | O_CLOEXEC);
    if (from < 0) return false;
    struct stat info{};
    fstat(from, &info);
    int to = CreateTemporaryBeside(newName, tempName, info.st_mode & 07777);
    bool copied = to >= 0 && CopyInto(from, to) && fsync(to) == 0;
    close(from);
    if (to >= 0 && close(to) != 0) copied = false;
    if (!copied && to >= 0) unlink(tempName.c_str());
    return copied;
}

// Copies the source into a complete file beside the target, then links it
// into place only if the target does not exist.
bool MoveAcrossFileSystems(const AnsiString& oldName, const AnsiString& newName) {
    AnsiString tempName;
    if (!CopyBeside(oldName, newName, tempName)) return false;
    bool linked = link(tempName.c_str(), newName.c_str()) == 0;
    unlink(tempName.c_str());
    return linked && unlink(oldName.c_str()) == 0;
}

}  // namespace

bool RenameFile(const AnsiString& oldName, const AnsiString& newName) {
    if (renameat2(AT_FDCWD, oldName.c_str(), AT_FDCWD, newName.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno == EXDEV) return MoveAcrossFileSystems(oldName, newName);
    if (errno != EINVAL) return false;
    // A file system without no-replace renames: link, then drop the old name.
    if (link(oldName.c_str(), newName.c_str()) != 0) return false;
    return unlink(oldName.c_str()) == 0;
}

bool MoveFileReplacing(const AnsiString& oldName, const AnsiString& newName) {
    if (rename(oldName.c_str(), newName.c_str()) == 0) return true;
    if (errno != EXDEV) return false;
    AnsiString tempName;
    if (!CopyBeside(oldName, newName, tempName)) return false;
    if (rename(tempName.c_str(), newName.c_str()) != 0) {
        unlink(tempName.c_str());
        return false;
    }
    unlink(oldName.c_str());
    return true;
}

void WriteFileAtomically(const AnsiString& fileName, const AnsiString& contents) {
    struct stat info{};
    mode_t mode = stat(fileName.c_str(), &info) == 0 ? (info.st_mode & 07777) : NewFileMode();
    AnsiString tempName;
    int fd = CreateTemporaryBeside(fileName, tempName, mode);
    bool written = fd >= 0 && WriteAll(fd, contents.data(), contents.size()) && fsync(fd) == 0;
    if (fd >= 0 && close(fd) != 0) written = false;
    if (written && rename(tempName.c_str(), fileName.c_str()) == 0) return;
    int error = errno;
    if (fd >= 0) unlink(tempName.c_str());
    throw EInOutError("Unable to write to " + fileName + ": " + std::strerror(error));
}

}  // namespace vcl

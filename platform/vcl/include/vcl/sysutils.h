// Exceptions and the string and file utilities of the framework.
#pragma once

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <variant>

namespace vcl {

using AnsiString = std::string;

// The framework's base exception; its message is what the user is shown.
class Exception : public std::runtime_error {
public:
    explicit Exception(const AnsiString& message) : std::runtime_error(message), message_(message) {}
    // The whole message: what() ends at a NUL byte that a quoted text may hold.
    AnsiString Message() const { return message_; }

private:
    AnsiString message_;
};

class EConvertError : public Exception {
public:
    using Exception::Exception;
};

class EInOutError : public Exception {
public:
    using Exception::Exception;
};

AnsiString IntToStr(int value);
// An optional sign and decimal digits, nothing else; a value that does not fit
// 32 bits is no integer either. Raises EConvertError "'TEXT' is not a valid integer value".
int StrToInt(const AnsiString& text);
int StrToIntDef(const AnsiString& text, int fallback);
// The integer at the start of `text`: leading white space is skipped, an
// optional sign taken, then decimal digits up to the first other character;
// 0 when there are no digits. A value that does not fit 32 bits gives `outOfRange`.
int LeadingInteger(const AnsiString& text, int outOfRange);

// One argument of Format: an integer or a text.
using FormatArg = std::variant<int, AnsiString>;
// printf-style formatting of %d, %u, %x, %s with flags, width and precision;
// an argument of the wrong kind or a missing one raises EConvertError.
AnsiString Format(const AnsiString& format, std::initializer_list<FormatArg> args);

// Drops character codes 0 to 32 at both ends.
AnsiString Trim(const AnsiString& text);

// File names: the delimiter is '/', and a name has no drive part.
AnsiString ExtractFilePath(const AnsiString& fileName);  // up to and with the last '/'
AnsiString ExtractFileName(const AnsiString& fileName);  // after the last '/'
AnsiString ExtractFileExt(const AnsiString& fileName);   // from the last '.' of the name part
AnsiString ChangeFileExt(const AnsiString& fileName, const AnsiString& extension);

bool FileExists(const AnsiString& fileName);
bool DeleteFile(const AnsiString& fileName);
// Moves a file; fails when the new name exists already. Across file systems
// it copies, flushes and renames, so either the old or the new file is whole.
bool RenameFile(const AnsiString& oldName, const AnsiString& newName);
// Moves a file over `newName`, replacing a file of that name in one step.
// Across file systems it copies into a temporary file beside the target,
// flushes it and renames it over. On failure the target is as it was and the
// source is kept.
bool MoveFileReplacing(const AnsiString& oldName, const AnsiString& newName);

// Writes `contents` to `fileName` through a temporary file in the same folder
// and a rename: the old file stays untouched unless the new one is complete.
// Raises EInOutError naming the file when it cannot.
void WriteFileAtomically(const AnsiString& fileName, const AnsiString& contents);

}  // namespace vcl

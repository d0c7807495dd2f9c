// Settings files with the semantics of the system's profile functions: every
// read and write is its own operation on the file.
#pragma once

#include "vcl/sysutils.h"

namespace vcl {

class TIniFile {
public:
    explicit TIniFile(const AnsiString& fileName) : fileName_(fileName) {}

    const AnsiString& FileName() const { return fileName_; }

    // A missing file, section or key reads as the default. Section and key
    // names match in full without regard to ASCII case; the first of
    // duplicate keys wins. A value loses its blanks at both ends and one pair
    // of enclosing quotes.
    AnsiString ReadString(const AnsiString& section, const AnsiString& key, const AnsiString& fallback) const;
    // Text that is not an integer reads as the default.
    int ReadInteger(const AnsiString& section, const AnsiString& key, int fallback) const;

    // Creates what is missing, the file's folders too (for their user alone),
    // and keeps every other line as it was; new keys go to the end of their
    // section, new sections to the end of the file. A value that the read
    // would trim or unquote is written in double quotes, so that it reads
    // back as written. The file is replaced whole or not at all; a failure
    // raises EInOutError.
    void WriteString(const AnsiString& section, const AnsiString& key, const AnsiString& value);
    void WriteInteger(const AnsiString& section, const AnsiString& key, int value);

private:
    AnsiString fileName_;
};

}  // namespace vcl

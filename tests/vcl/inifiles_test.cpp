#include "vcl/inifiles.h"

#include "test_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

using namespace vcl;
using namespace std::string_literals;

namespace {

std::string Lines(std::initializer_list<const char*> lines, const std::string& end, bool finalEnd) {
    std::string text;
    for (const char* line : lines) text += std::string(line) + end;
    if (!finalEnd) text.resize(text.size() - end.size());
    return text;
}

const std::initializer_list<const char*> kMessyFile = {
    "garbage line without an equals sign",
    "; comment=not a key",
    "[system]",
    "X = 12 ",
    "Y=abc",
    "X=99",
    "Name=",
    "Quoted=\"  spaced  \"",
    "[ FILE ]",
    "Number=7",
};

int FilesIn(const std::string& folder) {
    return static_cast<int>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

}  // namespace

TEST(IniFileRead, FollowsTheProfileRulesWithEitherLineEnd) {
    for (const char* end : {"\n", "\r\n"}) {
        SCOPED_TRACE(end[0] == '\r' ? "CRLF" : "LF");
        sim::TempDir dir;
        sim::WriteFile(dir / "a.ini", Lines(kMessyFile, end, false));
        TIniFile ini(dir / "a.ini");
        EXPECT_EQ(ini.ReadInteger("SYSTEM", "X", 50), 12);  // names match in any case; the first key wins
        EXPECT_EQ(ini.ReadInteger("SYSTEM", "Y", 50), 50);  // not an integer
        EXPECT_EQ(ini.ReadString("SYSTEM", "Name", "TempFile"), "");
        EXPECT_EQ(ini.ReadString("SYSTEM", "Quoted", ""), "  spaced  ");
        EXPECT_EQ(ini.ReadInteger("FILE", "Number", 1), 7);  // the last line has no line end
        EXPECT_EQ(ini.ReadInteger("FILE", "Format", 2), 2);
        EXPECT_EQ(ini.ReadString("OTHER", "Name", "TempFile"), "TempFile");
        EXPECT_EQ(ini.ReadString("SYSTEM", "comment", "none"), "none");
    }
}

TEST(IniFileRead, MissingFileOrFolderAndHugeLinesReadAsTheRulesSay) {
    sim::TempDir dir;
    EXPECT_EQ(TIniFile(dir / "none.ini").ReadInteger("SYSTEM", "X", 50), 50);
    EXPECT_EQ(TIniFile(dir / "no/folder.ini").ReadString("FILE", "Name", "TempFile"), "TempFile");

    std::string huge(1 << 20, 'z');
    sim::WriteFile(dir / "big.ini", "[SYSTEM]\nBig=" + huge + "\nX=5\n");
    TIniFile ini(dir / "big.ini");
    EXPECT_EQ(ini.ReadString("SYSTEM", "Big", ""), huge);
    EXPECT_EQ(ini.ReadInteger("SYSTEM", "X", 50), 5);
}

TEST(IniFileRead, NamesMatchInFullPastANulByte) {
    sim::TempDir dir;
    sim::WriteFile(dir / "a.ini", "[SYSTEM\0old]\nX=1\n[system]\nX\0\0Name=2\nx=3\n"s);
    TIniFile ini(dir / "a.ini");
    EXPECT_EQ(ini.ReadInteger("SYSTEM", "X", 50), 3);
    EXPECT_EQ(ini.ReadString("SYSTEM", "Name", "none"), "none");

    ini.WriteInteger("SYSTEM", "X", 4);
    EXPECT_EQ(sim::ReadFile(dir / "a.ini"), "[SYSTEM\0old]\nX=1\n[system]\nX\0\0Name=2\nX=4\n"s);
}

TEST(IniFileWrite, CreatesTheFileWithKeysInTheOrderWritten) {
    sim::TempDir dir;
    TIniFile ini(dir / "new.ini");
    ini.WriteInteger("SYSTEM", "X", 50);
    ini.WriteInteger("SYSTEM", "Y", -3);
    ini.WriteInteger("FILE", "Format", 2);
    ini.WriteString("FILE", "Name", "");
    EXPECT_EQ(sim::ReadFile(dir / "new.ini"), "[SYSTEM]\nX=50\nY=-3\n[FILE]\nFormat=2\nName=\n");
}

TEST(IniFileWrite, KeepsEveryOtherLineInPlaceAndTheLineEnds) {
    sim::TempDir dir;
    sim::WriteFile(dir / "a.ini", "; my notes\r\n[SYSTEM]\r\nX=1\r\nOld=keep\r\n\r\n[Other]\r\nK=v\r\n");
    TIniFile ini(dir / "a.ini");
    ini.WriteInteger("system", "X", 640);    // replaced where it stands
    ini.WriteInteger("SYSTEM", "Size", 3);   // after the section's last key
    ini.WriteString("FILE", "Name", "shot"); // a new section at the end
    EXPECT_EQ(sim::ReadFile(dir / "a.ini"),
              "; my notes\r\n[SYSTEM]\r\nX=640\r\nOld=keep\r\nSize=3\r\n\r\n[Other]\r\nK=v\r\n[FILE]\r\nName=shot\r\n");
}

TEST(IniFileWrite, MakesItsMissingFoldersForItsUserAloneAndOnlyWhenItWrites) {
    sim::TempDir dir;
    TIniFile ini(dir / "new/deeper/a.ini");
    EXPECT_EQ(ini.ReadInteger("SYSTEM", "X", 7), 7);
    EXPECT_EQ(FilesIn(dir.Path()), 0) << "a read makes nothing";
    ini.WriteInteger("SYSTEM", "X", 1);
    EXPECT_EQ(sim::ReadFile(dir / "new/deeper/a.ini"), "[SYSTEM]\nX=1\n");
    struct stat info{};
    ASSERT_EQ(stat((dir / "new").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST(IniFileWrite, FailsWhereItsFolderCannotBeMadeAndTellsTheCaller) {
    sim::TempDir dir;
    sim::WriteFile(dir / "missing", "a file where the folder would go");
    TIniFile ini(dir / "missing/a.ini");
    try {
        ini.WriteInteger("SYSTEM", "X", 1);
        FAIL() << "the write reported success";
    } catch (const EInOutError& error) {
        EXPECT_NE(error.Message().find(dir / "missing/a.ini"), std::string::npos) << error.Message();
    }
    EXPECT_EQ(FilesIn(dir.Path()), 1);
    EXPECT_EQ(sim::ReadFile(dir / "missing"), "a file where the folder would go");
}

TEST(IniFileWrite, ADiskThatFillsUpLeavesTheOldFileWhole) {
    sim::TempDir dir;
    const std::string old = "[SYSTEM]\nX=1\n";
    sim::WriteFile(dir / "a.ini", old);
    TIniFile ini(dir / "a.ini");

    {
        sim::FileSizeLimit limit(16);  // the new file needs more than this
        EXPECT_THROW(ini.WriteString("SYSTEM", "Name", std::string(100, 'n')), EInOutError);
    }

    EXPECT_EQ(sim::ReadFile(dir / "a.ini"), old);
    EXPECT_EQ(FilesIn(dir.Path()), 1);  // no temporary file left behind
}

TEST(IniFileWrite, AReadOnlyFolderFailsAndKeepsTheOldFile) {
    sim::TempDir dir;
    const std::string old = "[SYSTEM]\nX=1\n";
    sim::WriteFile(dir / "a.ini", old);
    chmod((dir / "a.ini").c_str(), 0644);
    chmod(dir.Path().c_str(), 0555);
    // In a child that is not the super-user, for whom no folder is read-only.
    EXPECT_EXIT(
        {
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) std::_Exit(1);
            try {
                TIniFile(dir / "a.ini").WriteInteger("SYSTEM", "X", 2);
            } catch (const EInOutError&) {
                std::_Exit(3);
            }
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(3), "");
    chmod(dir.Path().c_str(), 0755);
    EXPECT_EQ(sim::ReadFile(dir / "a.ini"), old);
    EXPECT_EQ(FilesIn(dir.Path()), 1);
}

TEST(IniFileWrite, AValueReadsBackAsWrittenWhateverItsEnds) {
    struct Case {
        std::string value;
        std::string line;  // as it stands in the file
    };
    const Case cases[] = {
        {"shot", "Name=shot"},
        {"", "Name="},
        {"a \"b\" c", "Name=a \"b\" c"},
        {"\"", "Name=\""},
        {"  my shot  ", "Name=\"  my shot  \""},
        {"\t", "Name=\"\t\""},
        {"\"shot\"", "Name=\"\"shot\"\""},
        {"'shot'", "Name=\"'shot'\""},
        {"\"'", "Name=\"'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        sim::TempDir dir;
        TIniFile ini(dir / "a.ini");
        ini.WriteString("FILE", "Name", c.value);
        EXPECT_EQ(sim::ReadFile(dir / "a.ini"), "[FILE]\n" + c.line + "\n");
        EXPECT_EQ(ini.ReadString("FILE", "Name", "TempFile"), c.value);
        ini.WriteString("FILE", "Name", ini.ReadString("FILE", "Name", "TempFile"));
        EXPECT_EQ(sim::ReadFile(dir / "a.ini"), "[FILE]\n" + c.line + "\n") << "a second write changes nothing";
    }
}

TEST(IniFileWrite, AFileOfLfLinesKeepsTheCarriageReturnsInItsLines) {
    sim::TempDir dir;
    const std::string kept = "; note\r\nOld=keep\r\n[Other]\r\n";
    sim::WriteFile(dir / "a.ini", "[SYSTEM]\nX=1\n" + kept);
    TIniFile ini(dir / "a.ini");
    ini.WriteInteger("SYSTEM", "X", 2);
    ini.WriteInteger("SYSTEM", "X", 3);
    EXPECT_EQ(sim::ReadFile(dir / "a.ini"), "[SYSTEM]\nX=3\n" + kept);
    EXPECT_EQ(ini.ReadString("SYSTEM", "Old", ""), "keep");
}

#include "vcl/sysutils.h"

#include "test_files.h"

#include <sys/stat.h>

#include <filesystem>

#include <gtest/gtest.h>

using namespace vcl;

TEST(StrToInt, AcceptsAnOptionalSignAndDecimalDigitsOnly) {
    struct Case {
        const char* text;
        bool valid;
        int value;
    };
    const Case cases[] = {
        {"", false, 0},           {" 12", false, 0},         {"12 ", false, 0},         {"12x", false, 0},
        {"abc", false, 0},        {"+", false, 0},           {"-", false, 0},           {"0x1F", false, 0},
        {"99999999999", false, 0}, {"2147483648", false, 0}, {"+7", true, 7},          {"-0", true, 0},
        {"007", true, 7},         {"-12", true, -12},        {"2147483647", true, 2147483647},
        {"-2147483648", true, -2147483647 - 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        if (c.valid) {
            EXPECT_EQ(StrToInt(c.text), c.value);
        } else {
            try {
                StrToInt(c.text);
                ADD_FAILURE() << "no error";
            } catch (const EConvertError& error) {
                EXPECT_EQ(error.Message(), std::string("'") + c.text + "' is not a valid integer value");
            }
            EXPECT_EQ(StrToIntDef(c.text, 42), 42);
        }
    }
}

TEST(StrToInt, TheMessageQuotesTheWholeTextPastANulByte) {
    for (const std::string& text : {std::string(1, '\0'), std::string("1\0" "2", 3)}) {
        try {
            StrToInt(text);
            ADD_FAILURE() << "no error";
        } catch (const EConvertError& error) {
            EXPECT_EQ(error.Message(), "'" + text + "' is not a valid integer value");
        }
    }
}

TEST(LeadingInteger, TakesTheDigitsAfterBlanksAndASignUpToTheFirstOtherCharacter) {
    const std::pair<std::string, int> cases[] = {
        {"7", 7},          {" 12x", 12},         {"\t\n-5", -5},      {"+0042", 42},   {"abc", 0},
        {"", 0},           {"-", 0},             {"- 5", 0},          {"1 2", 1},      {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},        {"2147483648", -99}, {"-2147483649", -99},
        {"99999999999", -99}, {std::string(10000, '9'), -99},     {std::string(10000, ' ') + "3", 3},
        {std::string("\0" "5", 2), 0},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text.substr(0, 20));
        EXPECT_EQ(LeadingInteger(text, -99), expected);
    }
}

TEST(Format, PadsNumbersAndRefusesMismatchedArguments) {
    EXPECT_EQ(Format("%03d", {7}), "007");
    EXPECT_EQ(Format("%03d", {1000}), "1000");
    EXPECT_EQ(Format("%03d", {-5}), "-05");
    EXPECT_EQ(Format("%s-%d%%", {std::string("shot"), 12}), "shot-12%");
    EXPECT_THROW(Format("%d", {std::string("x")}), EConvertError);
    EXPECT_THROW(Format("%d %d", {1}), EConvertError);
}

TEST(Trim, DropsControlCodesAndBlanksAtBothEndsOnly) {
    EXPECT_EQ(Trim(" \t\r\n a b \x01\x1f "), "a b");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Trim(std::string("\0x\0", 3)), "x");
}

TEST(FileNames, SplitAtTheLastSlashAndTheNamesLastDot) {
    struct Case {
        const char* name;
        const char* path;
        const char* file;
        const char* ext;
        const char* changed;  // extension changed to ".ini"
    };
    const Case cases[] = {
        {"/opt/duvez/DUVEZ", "/opt/duvez/", "DUVEZ", "", "/opt/duvez/DUVEZ.ini"},
        {"/a.b/shot", "/a.b/", "shot", "", "/a.b/shot.ini"},
        {"shot.bmp001", "", "shot.bmp001", ".bmp001", "shot.ini"},
        {"dir/SHOT.BMP", "dir/", "SHOT.BMP", ".BMP", "dir/SHOT.ini"},
        {"dir/", "dir/", "", "", "dir/.ini"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ExtractFilePath(c.name), c.path);
        EXPECT_EQ(ExtractFileName(c.name), c.file);
        EXPECT_EQ(ExtractFileExt(c.name), c.ext);
        EXPECT_EQ(ChangeFileExt(c.name, ".ini"), c.changed);
    }
}

TEST(Files, ExistDeleteAndRenameWithoutReplacing) {
    sim::TempDir dir;
    sim::WriteFile(dir / "a", "first");
    sim::WriteFile(dir / "b", "second");
    EXPECT_TRUE(FileExists(dir / "a"));
    EXPECT_FALSE(FileExists(dir.Path()));  // a folder is no file

    EXPECT_FALSE(RenameFile(dir / "a", dir / "b"));
    EXPECT_EQ(sim::ReadFile(dir / "b"), "second");
    EXPECT_TRUE(FileExists(dir / "a"));

    EXPECT_TRUE(RenameFile(dir / "a", dir / "c"));
    EXPECT_FALSE(FileExists(dir / "a"));
    EXPECT_EQ(sim::ReadFile(dir / "c"), "first");

    EXPECT_TRUE(DeleteFile(dir / "c"));
    EXPECT_FALSE(DeleteFile(dir / "c"));
    EXPECT_FALSE(RenameFile(dir / "missing", dir / "d"));
    EXPECT_FALSE(sim::Exists(dir / "d"));
}

namespace {
// Whether a move from /dev/shm to /tmp crosses file systems here.
bool TwoFileSystems() {
    struct stat shm{}, tmp{};
    return stat("/dev/shm", &shm) == 0 && stat("/tmp", &tmp) == 0 && shm.st_dev != tmp.st_dev;
}
}  // namespace

TEST(Files, RenameMovesAcrossFileSystemsWhole) {
    sim::TempDir disk("/tmp");
    if (!TwoFileSystems()) GTEST_SKIP() << "/dev/shm and /tmp are one file system here";
    sim::TempDir memory("/dev/shm");
    std::string big(3 * 65536 + 17, 'x');
    sim::WriteFile(memory / "frame.bmp", big);
    sim::WriteFile(disk / "taken", "keep");

    EXPECT_FALSE(RenameFile(memory / "frame.bmp", disk / "taken"));
    EXPECT_EQ(sim::ReadFile(disk / "taken"), "keep");
    EXPECT_EQ(sim::ReadFile(memory / "frame.bmp"), big);

    EXPECT_TRUE(RenameFile(memory / "frame.bmp", disk / "moved.bmp"));
    EXPECT_EQ(sim::ReadFile(disk / "moved.bmp"), big);
    EXPECT_FALSE(sim::Exists(memory / "frame.bmp"));
}

TEST(Files, AReplacingMoveTakesTheOldNamesPlaceInOneStep) {
    sim::TempDir dir;
    sim::WriteFile(dir / "frame", "new");
    sim::WriteFile(dir / "shot.bmp", "old");
    EXPECT_TRUE(MoveFileReplacing(dir / "frame", dir / "shot.bmp"));
    EXPECT_EQ(sim::ReadFile(dir / "shot.bmp"), "new");
    EXPECT_FALSE(sim::Exists(dir / "frame"));

    EXPECT_FALSE(MoveFileReplacing(dir / "missing", dir / "shot.bmp"));
    EXPECT_EQ(sim::ReadFile(dir / "shot.bmp"), "new");
    sim::WriteFile(dir / "frame", "newer");
    EXPECT_FALSE(MoveFileReplacing(dir / "frame", dir / "no-such-folder/shot.bmp"));
    EXPECT_EQ(sim::ReadFile(dir / "frame"), "newer");
}

TEST(Files, AReplacingMoveAcrossFileSystemsLeavesTheTargetWholeOrUntouched) {
    sim::TempDir disk("/tmp");
    if (!TwoFileSystems()) GTEST_SKIP() << "/dev/shm and /tmp are one file system here";
    sim::TempDir memory("/dev/shm");
    std::string big(3 * 65536 + 17, 'x');
    sim::WriteFile(memory / "frame.bmp", big);
    sim::WriteFile(disk / "shot.bmp", "keep");
    {
        sim::FileSizeLimit full(65536);  // the disk fills up during the copy
        EXPECT_FALSE(MoveFileReplacing(memory / "frame.bmp", disk / "shot.bmp"));
    }
    EXPECT_EQ(sim::ReadFile(disk / "shot.bmp"), "keep");
    EXPECT_EQ(sim::ReadFile(memory / "frame.bmp"), big);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(disk.Path()), {}), 1) << "a partial copy was left";

    EXPECT_TRUE(MoveFileReplacing(memory / "frame.bmp", disk / "shot.bmp"));
    EXPECT_EQ(sim::ReadFile(disk / "shot.bmp"), big);
    EXPECT_FALSE(sim::Exists(memory / "frame.bmp"));
}

// Where the program keeps its settings file: beside its executable when it
// runs from a folder of its own, in the user's settings folder when it stands
// in the installed layout; the same file and keys in both places.
#include "app/globals.h"
#include "display/display.h"
#include "fake_driver.h"
#include "program.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

const char* const kDefaultFile =
    "[SYSTEM]\nX=50\nY=50\nSize=3\nUserW=480\nUserH=360\n[FILE]\nFormat=2\nNumber=1\nName=TempFile\n";

std::set<std::string> FilesUnder(const std::string& folder) {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) files.insert(entry.path().string());
    return files;
}

// An installed program, or a folder of its own, in a temporary folder, with
// XDG_CONFIG_HOME pointing into that folder while it lives.
class SettingsPlace : public ::testing::Test {
protected:
    SettingsPlace() {
        fake::Install();
        if (const char* value = std::getenv("XDG_CONFIG_HOME")) savedConfig_ = value;
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    }
    ~SettingsPlace() override {
        if (savedConfig_) setenv("XDG_CONFIG_HOME", savedConfig_->c_str(), 1);
        else unsetenv("XDG_CONFIG_HOME");
        fake::Uninstall();
    }

    // The program's executable as `path` under the root, with the
    // system-API library as `library` there.
    void Lay(const std::string& path, const std::string& library) {
        fs::create_directories(fs::path(root / path).parent_path());
        fs::create_directories(fs::path(root / library).parent_path());
        sim::WriteFile(root / path, "");
        sim::WriteFile(root / library, "");
        vcl::Application->SetExeName(root / path);
    }

    int RunToExit() {
        return program.RunWith([&] { program.ExitThroughMenu(); });
    }

    sim::TempDir root;
    sim::TempDir parent;
    const std::string config = parent / "config";
    sim::TempDir unused;
    sim::Program program{unused};

private:
    std::optional<std::string> savedConfig_;
};

}  // namespace

TEST_F(SettingsPlace, AnInstalledProgramWritesIntoTheUsersSettingsFolderMadeOnTheFirstWrite) {
    Lay("usr/bin/DUVEZ", "usr/lib/duvez/libduvez_win.so");
    auto before = FilesUnder(root.Path());

    EXPECT_EQ(RunToExit(), 0);

    EXPECT_EQ(sim::ReadFile(config + "/DUVEZ/DUVEZ.ini"), kDefaultFile);
    struct stat info{};
    ASSERT_EQ(stat(config.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u) << "the settings folders are the user's alone";
    EXPECT_EQ(FilesUnder(root.Path()), before) << "nothing is written beside the installed program";
    EXPECT_TRUE(program.user.BoxTexts().empty());
}

TEST_F(SettingsPlace, AnInstalledProgramReadsItsSettingsFromThereAndNotBesideItself) {
    Lay("usr/bin/DUVEZ", "usr/lib/duvez/libduvez_win.so");
    fs::create_directories(config + "/DUVEZ");
    sim::WriteFile(config + "/DUVEZ/DUVEZ.ini", "[SYSTEM]\nX=123\nY=45\n");
    sim::WriteFile(root / "usr/bin/DUVEZ.ini", "[SYSTEM]\nX=999\nY=999\n");

    int left = 0, top = 0;
    program.RunWith([&] {
        left = DisplayWnd->Left();
        top = DisplayWnd->Top();
        program.ExitThroughMenu();
    });

    EXPECT_EQ(left, 123);
    EXPECT_EQ(top, 45);
    EXPECT_EQ(sim::ReadFile(root / "usr/bin/DUVEZ.ini"), "[SYSTEM]\nX=999\nY=999\n");
    EXPECT_NE(sim::ReadFile(config + "/DUVEZ/DUVEZ.ini").find("Name=TempFile\n"), std::string::npos);
}

TEST_F(SettingsPlace, AProgramInAFolderOfItsOwnKeepsItsSettingsBesideItself) {
    // A build folder, or a copy of one: the libraries beside the executable.
    Lay("bin/DUVEZ", "bin/libduvez_win.so");

    EXPECT_EQ(RunToExit(), 0);

    EXPECT_EQ(sim::ReadFile(root / "bin/DUVEZ.ini"), kDefaultFile);
    EXPECT_FALSE(fs::exists(config)) << "the user's settings folder is not touched";
}

TEST_F(SettingsPlace, AnUnwritableSettingsFolderIsReportedByTheFilesName) {
    Lay("usr/bin/DUVEZ", "usr/lib/duvez/libduvez_win.so");
    sim::WriteFile(config, "a file where the folder would go");

    EXPECT_EQ(RunToExit(), 0);

    ASSERT_EQ(program.user.Boxes().size(), 1u);
    EXPECT_NE(program.user.Boxes()[0].text.find(config + "/DUVEZ/DUVEZ.ini"), std::string::npos)
        << program.user.Boxes()[0].text;
    EXPECT_EQ(sim::ReadFile(config), "a file where the folder would go");
}

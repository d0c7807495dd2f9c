// Where the program's files stand: installed or not, and the user's settings folder.
#include "win/win.h"

#include "test_files.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

win::Environment EnvironmentOf(std::map<std::string, std::string> variables) {
    return [variables = std::move(variables)](const char* name) -> const char* {
        auto found = variables.find(name);
        return found == variables.end() ? nullptr : found->second.c_str();
    };
}

std::string AccountHome() {
    const passwd* entry = getpwuid(getuid());
    return entry ? entry->pw_dir : "";
}

void MakeFiles(const sim::TempDir& root, std::initializer_list<const char*> files) {
    for (const char* file : files) {
        fs::create_directories(fs::path(root / file).parent_path());
        sim::WriteFile(root / file, "x");
    }
}

}  // namespace

TEST(Places, TheUserSettingsFolderFollowsXdgConfigHomeThenTheHome) {
    const std::string account = AccountHome();
    ASSERT_FALSE(account.empty()) << "the test's user has no home folder in the user database";
    struct Case {
        const char* name;
        std::map<std::string, std::string> variables;
        std::string expected;
    };
    const Case cases[] = {
        {"XDG_CONFIG_HOME", {{"XDG_CONFIG_HOME", "/x/conf"}, {"HOME", "/home/u"}}, "/x/conf/DUVEZ"},
        {"with a trailing slash", {{"XDG_CONFIG_HOME", "/x/conf/"}, {"HOME", "/home/u"}}, "/x/conf/DUVEZ"},
        {"a relative XDG_CONFIG_HOME does not count", {{"XDG_CONFIG_HOME", "conf"}, {"HOME", "/home/u"}},
         "/home/u/.config/DUVEZ"},
        {"nor does an empty one", {{"XDG_CONFIG_HOME", ""}, {"HOME", "/home/u"}}, "/home/u/.config/DUVEZ"},
        {"HOME alone", {{"HOME", "/home/u/"}}, "/home/u/.config/DUVEZ"},
        {"a relative HOME gives the account's home", {{"HOME", "u"}}, account + "/.config/DUVEZ"},
        {"no HOME gives the account's home", {}, account + "/.config/DUVEZ"},
        {"a home of / has no double slash", {{"HOME", "/"}}, "/.config/DUVEZ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(win::UserSettingsFolder(EnvironmentOf(c.variables)), c.expected);
    }
}

TEST(Places, AUserWithoutAnyHomeGetsTheRootsConfigFolder) {
    if (geteuid() != 0) GTEST_SKIP() << "needs the super-user, to become a user with no account";
    uid_t stranger = 54321;
    ASSERT_EQ(getpwuid(stranger), nullptr) << "uid " << stranger << " has an account here";
    EXPECT_EXIT(
        {
            if (setuid(stranger) != 0) std::_Exit(1);
            std::_Exit(win::UserSettingsFolder(EnvironmentOf({})) == "/.config/DUVEZ" ? 0 : 2);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(Places, OnlyTheInstalledLayoutCountsAsInstalled) {
    struct Case {
        const char* name;
        std::initializer_list<const char*> files;
        bool executableInstalled;
        bool libraryInstalled;
    };
    // The executable is usr/bin/DUVEZ, the board's library usr/lib/duvez/QORDCI32.DLL,
    // except in the build folder, where both stand in bin/.
    const Case cases[] = {
        {"installed", {"usr/bin/DUVEZ", "usr/lib/duvez/libduvez_win.so", "usr/lib/duvez/QORDCI32.DLL"}, true, true},
        {"a private folder without the system-API library", {"usr/bin/DUVEZ", "usr/lib/duvez/QORDCI32.DLL"}, false,
         false},
        {"a lib folder of another name", {"usr/bin/DUVEZ", "usr/lib/other/libduvez_win.so", "usr/lib/other/QORDCI32.DLL"},
         false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::TempDir root;
        MakeFiles(root, c.files);
        EXPECT_EQ(win::IsInstalledExecutable(root / "usr/bin/DUVEZ"), c.executableInstalled);
        EXPECT_EQ(win::IsInstalledLibrary(root / "usr/lib/duvez/QORDCI32.DLL"), c.libraryInstalled);
    }

    SCOPED_TRACE("a build folder");
    sim::TempDir build;
    MakeFiles(build, {"bin/DUVEZ", "bin/libduvez_win.so", "bin/QORDCI32.DLL"});
    EXPECT_FALSE(win::IsInstalledExecutable(build / "bin/DUVEZ"));
    EXPECT_FALSE(win::IsInstalledLibrary(build / "bin/QORDCI32.DLL"));
    EXPECT_EQ(win::PrivateLibraryFolder(build / "bin/DUVEZ"), build / "bin/../lib/duvez/");

    SCOPED_TRACE("a folder where the system-API library should be");
    sim::TempDir odd;
    MakeFiles(odd, {"bin/DUVEZ", "lib/duvez/libduvez_win.so/inside"});
    EXPECT_FALSE(win::IsInstalledExecutable(odd / "bin/DUVEZ"));
}

TEST(Places, CreateFoldersMakesEachMissingFolderForItsUserAlone) {
    sim::TempDir root;
    ASSERT_TRUE(win::CreateFolders(root / "a/b/c/"));
    for (const char* folder : {"a", "a/b", "a/b/c"}) {
        SCOPED_TRACE(folder);
        struct stat info{};
        ASSERT_EQ(stat((root / folder).c_str(), &info), 0);
        EXPECT_TRUE(S_ISDIR(info.st_mode));
        EXPECT_EQ(info.st_mode & 0777, 0700u);
    }
    EXPECT_TRUE(win::CreateFolders(root / "a/b")) << "an existing folder is fine";

    sim::WriteFile(root / "file", "keep");
    EXPECT_FALSE(win::CreateFolders(root / "file"));
    EXPECT_FALSE(win::CreateFolders(root / "file/below"));
    EXPECT_EQ(sim::ReadFile(root / "file"), "keep");
}

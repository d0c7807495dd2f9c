#include "win/win.h"

#include "test_files.h"

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

extern char** environ;

namespace {

int Seven() { return 7; }

struct Loaded {
    int exitCode = -1;
    std::string path;  // the file loaded, when the exit code is 0
};

// LoadLibraryA of PROBE.DLL in a process of its own, as the executable at
// `executable`, with `libraryPath` as its LD_LIBRARY_PATH (null: none), in
// the current directory `folder`: the loader reads LD_LIBRARY_PATH only as a
// process starts.
Loaded LoadInProcessOfItsOwn(const std::string& executable, const char* libraryPath, const std::string& folder) {
    std::vector<std::string> variables;
    for (char** variable = environ; *variable; ++variable)
        if (!std::string_view(*variable).starts_with("LD_LIBRARY_PATH=")) variables.emplace_back(*variable);
    if (libraryPath) variables.push_back(std::string("LD_LIBRARY_PATH=") + libraryPath);
    std::vector<char*> envp;
    for (auto& variable : variables) envp.push_back(variable.data());
    envp.push_back(nullptr);
    std::string program = LOAD_LIBRARY_PATH, exe = executable, name = "PROBE.DLL";
    char* argv[] = {program.data(), exe.data(), name.data(), nullptr};

    int out[2];
    if (pipe(out) != 0) return {};
    pid_t child = fork();
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        if (chdir(folder.c_str()) == 0) execve(argv[0], argv, envp.data());
        _exit(127);
    }
    close(out[1]);
    Loaded loaded;
    char buffer[4096];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) loaded.path.append(buffer, static_cast<std::size_t>(n));
    close(out[0]);
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)) loaded.exitCode = WEXITSTATUS(status);
    while (!loaded.path.empty() && loaded.path.back() == '\n') loaded.path.pop_back();
    return loaded;
}

class Libraries : public ::testing::Test {
protected:
    Libraries() : saved_(win::ExecutablePath()) {}
    ~Libraries() override { win::SetExecutablePath(saved_); }
    sim::TempDir dir;

private:
    std::string saved_;
};

}  // namespace

TEST_F(Libraries, ABareNameIsFoundBesideTheExecutable) {
    std::filesystem::copy_file(PROBE_PATH, dir / "PROBE.DLL");
    win::SetExecutablePath(dir / "DUVEZ");
    HMODULE module = LoadLibraryA("PROBE.DLL");
    ASSERT_NE(module, nullptr);
    auto answer = reinterpret_cast<int (*)()>(GetProcAddress(module, "ProbeAnswer"));
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
    EXPECT_EQ(GetProcAddress(module, "NoSuchEntry"), nullptr);
    EXPECT_EQ(FreeLibrary(module), TRUE);
}

TEST_F(Libraries, TheCurrentDirectoryIsNeverSearched) {
    std::filesystem::copy_file(PROBE_PATH, dir / "PROBE.DLL");
    sim::TempDir elsewhere;
    win::SetExecutablePath(elsewhere / "DUVEZ");
    auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    HMODULE module = LoadLibraryA("PROBE.DLL");
    std::filesystem::current_path(previous);
    EXPECT_EQ(module, nullptr);
    EXPECT_EQ(LoadLibraryA(""), nullptr);
    EXPECT_EQ(LoadLibraryA(nullptr), nullptr);
    EXPECT_EQ(FreeLibrary(nullptr), FALSE);
}

TEST_F(Libraries, ARegisteredModuleStandsInForALibraryFile) {
    win::RegisterModule("FAKE.DLL", {{"Seven", reinterpret_cast<FARPROC>(&Seven)}});
    HMODULE module = LoadLibraryA("FAKE.DLL");
    win::UnregisterModule("FAKE.DLL");
    ASSERT_NE(module, nullptr);
    auto seven = reinterpret_cast<int (*)()>(GetProcAddress(module, "Seven"));
    ASSERT_NE(seven, nullptr);
    EXPECT_EQ(seven(), 7);
    EXPECT_EQ(GetProcAddress(module, "Eight"), nullptr);
    EXPECT_EQ(FreeLibrary(module), TRUE);
    EXPECT_EQ(LoadLibraryA("FAKE.DLL"), nullptr);
}

TEST(LibrarySearch, BesideTheExecutableThenItsLibraryFolderNeverTheCurrentDirectory) {
    // Folders under each case's own root: bin (the executable's), lib/duvez
    // (its private library folder), cwd (the current directory), abs (named
    // in LD_LIBRARY_PATH as "@abs", by its absolute path).
    struct Case {
        const char* name;
        const char* libraryPath;
        std::vector<std::string> copies;
        const char* expected;  // the folder whose copy is loaded; null: none
    };
    const Case cases[] = {
        {"beside the executable first", nullptr, {"bin", "lib/duvez", "cwd"}, "bin"},
        {"then its private library folder", nullptr, {"lib/duvez", "cwd"}, "lib/duvez"},
        {"never the current directory", nullptr, {"cwd"}, nullptr},
        {"an absolute LD_LIBRARY_PATH is searched", "@abs", {"abs", "cwd"}, "abs"},
        {"an empty entry does not mean the current directory", ":", {"cwd"}, nullptr},
        {"nor does a trailing empty entry", "@abs:", {"cwd"}, nullptr},
        {"nor does an empty one between", "@abs::/usr/lib", {"cwd"}, nullptr},
        {"nor does '.'", ".", {"cwd"}, nullptr},
        {"nor does a relative folder", "rel", {"cwd/rel"}, nullptr},
        {"beside an empty entry, the absolute one is still searched", ":@abs", {"cwd", "abs"}, "abs"},
        {"and the program's own folders still come first", ":@abs", {"lib/duvez", "abs", "cwd"}, "lib/duvez"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::TempDir root;
        for (const char* folder : {"bin", "lib/duvez", "cwd/rel", "abs"}) std::filesystem::create_directories(root / folder);
        for (const std::string& folder : c.copies) std::filesystem::copy_file(PROBE_PATH, root / (folder + "/PROBE.DLL"));
        std::string libraryPath = c.libraryPath ? c.libraryPath : "";
        if (auto at = libraryPath.find("@abs"); at != std::string::npos) libraryPath.replace(at, 4, root / "abs");

        Loaded loaded = LoadInProcessOfItsOwn(root / "bin/DUVEZ", c.libraryPath ? libraryPath.c_str() : nullptr,
                                              root / "cwd");
        if (!c.expected) {
            EXPECT_EQ(loaded.exitCode, 1) << "loaded " << loaded.path;
            continue;
        }
        ASSERT_EQ(loaded.exitCode, 0);
        std::error_code noFile;
        EXPECT_TRUE(std::filesystem::equivalent(loaded.path, root / (std::string(c.expected) + "/PROBE.DLL"), noFile))
            << "loaded " << loaded.path;
    }
}

#include "win/win.h"

#include "test_files.h"

#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

namespace {

int Seven() { return 7; }

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

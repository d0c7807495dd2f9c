#include "windows_internal.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace win {

std::string detail::FolderOf(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

namespace {

using detail::FolderOf;

bool IsAbsolute(const char* path) { return path && path[0] == '/'; }

bool IsFolder(const std::string& path) {
    struct stat info{};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsFile(const std::string& path) {
    struct stat info{};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The account's home folder from the user database; empty when it has none.
std::string AccountHome() {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found) return {};
    return IsAbsolute(found->pw_dir) ? std::string(found->pw_dir) : std::string();
}

std::string HomeFolder(const Environment& environment) {
    const char* home = environment("HOME");
    if (IsAbsolute(home)) return home;
    std::string account = AccountHome();
    return account.empty() ? "/" : account;
}

// "folder/name", with one slash between them ("/" and "name" give "/name").
std::string Join(std::string folder, const std::string& name) {
    while (!folder.empty() && folder.back() == '/') folder.pop_back();
    return folder + "/" + name;
}

}  // namespace

std::string PrivateLibraryFolder(const std::string& executablePath) {
    return FolderOf(executablePath) + "../lib/duvez/";
}

bool IsInstalledExecutable(const std::string& executablePath) {
    return IsFile(PrivateLibraryFolder(executablePath) + kSystemLibraryName);
}

bool IsInstalledLibrary(const std::string& libraryPath) {
    std::string folder = FolderOf(libraryPath);
    return folder.ends_with("/lib/duvez/") && IsFile(folder + kSystemLibraryName);
}

const char* ProcessEnvironment(const char* name) { return std::getenv(name); }

std::string UserSettingsFolder(const Environment& environment) {
    const char* config = environment("XDG_CONFIG_HOME");
    std::string folder = IsAbsolute(config) ? std::string(config) : Join(HomeFolder(environment), ".config");
    return Join(folder, "DUVEZ");
}

bool CreateFolders(const std::string& folder) {
    for (std::size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
        std::string part = folder.substr(0, end);
        if (!part.empty() && !IsFolder(part) && mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (end == std::string::npos) break;
    }
    return IsFolder(folder);
}

}  // namespace win

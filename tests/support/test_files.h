// Temporary folders and whole-file reads and writes for tests.
#pragma once

#include <string>

namespace sim {

// A fresh folder, removed with everything in it at the end of the test.
class TempDir {
public:
    explicit TempDir(const std::string& base = "/tmp");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& contents);
bool Exists(const std::string& path);

// Makes `folder` the working folder while it lives.
class WorkingFolder {
public:
    explicit WorkingFolder(const std::string& folder);
    ~WorkingFolder();
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

private:
    std::string saved_;
};

// Makes writes past `bytes` bytes fail (with EFBIG, as on a full disk) while it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    long saved_;
    void (*savedHandler_)(int);
};

}  // namespace sim

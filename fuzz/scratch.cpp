#include "scratch.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fuzz {
namespace {

// Made on first use; the destructor, at the process's normal end, removes it.
class Scratch {
public:
    Scratch() {
        const char* base = std::getenv("TMPDIR");
        path_ = std::string(base && *base ? base : "/tmp") + "/duvez-fuzz-XXXXXX";
        if (!mkdtemp(path_.data())) {
            std::perror(path_.c_str());
            std::abort();
        }
    }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

}  // namespace

const std::string& ScratchFolder() {
    static const Scratch scratch;
    return scratch.Path();
}

void WriteWholeFile(const std::string& path, std::string_view contents) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    Check(static_cast<bool>(out.flush()), "the scratch file is written", path);
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void Check(bool holds, std::string_view what, std::string_view detail) {
    if (holds) return;
    std::fprintf(stderr, "\nproperty broken: %.*s\n", static_cast<int>(what.size()), what.data());
    if (!detail.empty()) std::fprintf(stderr, "  %.*s\n", static_cast<int>(detail.size()), detail.data());
    std::abort();
}

std::string Printable(std::string_view text) {
    std::string out;
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (byte >= 32 && byte < 127 && c != '\\') {
            out += c;
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        }
    }
    return out;
}

}  // namespace fuzz

#include "driver_fixture.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace kivo::test {

namespace fs = std::filesystem;

const std::vector<std::string>& EntryPointNames() {
    static const std::vector<std::string> names = {
        "QOR_Init_32",           "QOR_DeInit_32",          "QOR_SaveIniFile_32",        "QOR_GetIniFile_32",
        "QOR_SetActiveSource_32", "QOR_GetActiveSource_32", "QOR_SetSourceSystem_32",    "QOR_GetSourceSystem_32",
        "QOR_SetVideoColor_32",  "QOR_GetVideoColor_32",   "QOR_SetCurInputViewport_32", "QOR_GetCurInputViewport_32",
        "QOR_SetOutputWindow_32", "QOR_GetOutputWindow_32", "QOR_Freeze_32",             "QOR_UnFreeze_32",
        "QOR_FreezeAndGrabFrame_32", "QOR_GrabFrameToBuff_32", "QOR_GrabFrameToFile_32"};
    return names;
}

bool Driver::Load(const std::string& name) {
    module = LoadLibraryA(name.c_str());
    if (!module) {
        ADD_FAILURE() << "LoadLibraryA(\"" << name << "\") failed; the library is built beside the tests in "
                      << win::ExecutablePath();
        return false;
    }
    bool all = true;
    auto get = [&](auto& pointer, const char* entry) {
        pointer = reinterpret_cast<std::remove_reference_t<decltype(pointer)>>(GetProcAddress(module, entry));
        if (!pointer) {
            ADD_FAILURE() << name << " does not export " << entry;
            all = false;
        }
    };
    get(Init, "QOR_Init_32");
    get(DeInit, "QOR_DeInit_32");
    get(SaveIniFile, "QOR_SaveIniFile_32");
    get(GetIniFile, "QOR_GetIniFile_32");
    get(SetActiveSource, "QOR_SetActiveSource_32");
    get(GetActiveSource, "QOR_GetActiveSource_32");
    get(SetSourceSystem, "QOR_SetSourceSystem_32");
    get(GetSourceSystem, "QOR_GetSourceSystem_32");
    get(SetVideoColor, "QOR_SetVideoColor_32");
    get(GetVideoColor, "QOR_GetVideoColor_32");
    get(SetCurInputViewport, "QOR_SetCurInputViewport_32");
    get(GetCurInputViewport, "QOR_GetCurInputViewport_32");
    get(SetOutputWindow, "QOR_SetOutputWindow_32");
    get(GetOutputWindow, "QOR_GetOutputWindow_32");
    get(Freeze, "QOR_Freeze_32");
    get(UnFreeze, "QOR_UnFreeze_32");
    get(FreezeAndGrabFrame, "QOR_FreezeAndGrabFrame_32");
    get(GrabFrameToBuff, "QOR_GrabFrameToBuff_32");
    get(GrabFrameToFile, "QOR_GrabFrameToFile_32");
    return all;
}

void Driver::Unload() {
    if (module) FreeLibrary(module);
    *this = Driver{};
}

int Red(std::uint32_t p) { return static_cast<int>(p >> 16 & 255); }
int Green(std::uint32_t p) { return static_cast<int>(p >> 8 & 255); }
int Blue(std::uint32_t p) { return static_cast<int>(p & 255); }
double Luma(std::uint32_t p) { return 0.299 * Red(p) + 0.587 * Green(p) + 0.114 * Blue(p); }

std::string Hex(std::uint32_t p) {
    char text[16];
    std::snprintf(text, sizeof text, "#%06X", p & 0xFFFFFF);
    return text;
}

// ---- the fixture -------------------------------------------------------------

void BoardTest::SetUp() {
    static std::atomic<int> serial{0};
    folder_ = fs::temp_directory_path() /
              ("kivo-test-" + std::to_string(::getpid()) + "-" + std::to_string(serial.fetch_add(1)));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    for (const char* name : {"KIVO_TRACE", "KIVO_INIT_RESULT", "KIVO_SETTINGS_READ", "KIVO_SETTINGS_FILE",
                             "KIVO_FIXED_FRAME", "XDG_CONFIG_HOME"}) {
        const char* value = std::getenv(name);
        savedEnv_[name] = value ? std::optional<std::string>(value) : std::nullopt;
        ::unsetenv(name);
    }
    ::setenv("KIVO_SETTINGS_FILE", Path("board.ini").c_str(), 1);
    ASSERT_TRUE(qor.Load());
}

void BoardTest::TearDown() {
    Close();
    qor.Unload();
    for (HWND window : windows_) win::DestroyWindowHandle(window);
    windows_.clear();
    for (const auto& [name, value] : savedEnv_) {
        if (value)
            ::setenv(name.c_str(), value->c_str(), 1);
        else
            ::unsetenv(name.c_str());
    }
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

std::int32_t BoardTest::Open() {
    std::int32_t h = qor.Init();
    EXPECT_GE(h, 0) << "QOR_Init_32 failed";
    if (h >= 0) handle = h;
    return h;
}

std::int32_t BoardTest::OpenAndRead() {
    std::int32_t h = Open();
    char buffer[128] = {};
    EXPECT_EQ(qor.GetIniFile(h, buffer), 1);
    return h;
}

void BoardTest::Close() {
    if (handle >= 0 && qor.DeInit) {
        EXPECT_EQ(qor.DeInit(handle), 1);
    }
    handle = -1;
}

HWND BoardTest::MakeWindow(int width, int height) {
    HWND window = win::CreateWindowHandle([](UINT, WPARAM, LPARAM) { return LRESULT{0}; });
    win::SetClientSize(window, width, height);
    windows_.push_back(window);
    return window;
}

Picture BoardTest::ReadWindow(HWND window, std::uint64_t* generation) {
    Picture picture;
    win::ReadSurface(window, [&](const win::SurfaceView& view) {
        if (generation) *generation = view.generation;
        if (!view.pixels) return;
        picture.width = view.width;
        picture.height = view.height;
        picture.pixels.resize(static_cast<std::size_t>(view.width) * view.height);
        for (std::size_t i = 0; i < picture.pixels.size(); ++i) picture.pixels[i] = view.pixels[i] & 0xFFFFFF;
    });
    return picture;
}

std::uint64_t BoardTest::Generation(HWND window) {
    std::uint64_t generation = 0;
    win::ReadSurface(window, [&](const win::SurfaceView& view) { generation = view.generation; });
    return generation;
}

std::vector<std::uint8_t> BoardTest::GrabBytes(std::int32_t h, std::int32_t format) {
    EXPECT_EQ(qor.FreezeAndGrabFrame(h, format), 1);
    std::vector<std::uint8_t> bytes(1024 * 832 * 4 + 16);
    std::int32_t size = qor.GrabFrameToBuff(h, bytes.data(), static_cast<std::int32_t>(bytes.size()));
    EXPECT_GT(size, 0);
    bytes.resize(static_cast<std::size_t>(std::max(size, 0)));
    return bytes;
}

Picture BoardTest::Grab32(std::int32_t h) {
    std::vector<std::uint8_t> bytes = GrabBytes(h, 3);
    // The size of the frame comes from the file the grab writes.
    fs::path file = Path("grab32.bmp");
    EXPECT_EQ(qor.GrabFrameToFile(h, file.c_str()), 1);
    std::vector<std::uint8_t> bmp = ReadBytes(file);
    fs::remove(file);
    Picture picture;
    if (bmp.size() < 54) {
        ADD_FAILURE() << "no 32-bit grab";
        return picture;
    }
    auto le32 = [&](std::size_t at) {
        return static_cast<std::int32_t>(bmp[at] | bmp[at + 1] << 8 | bmp[at + 2] << 16 |
                                         static_cast<std::uint32_t>(bmp[at + 3]) << 24);
    };
    picture.width = le32(18);
    picture.height = le32(22);
    std::size_t stride = static_cast<std::size_t>(picture.width) * 4;
    if (bytes.size() != stride * static_cast<std::size_t>(picture.height)) {
        ADD_FAILURE() << "the buffer holds " << bytes.size() << " bytes for " << picture.width << "x"
                      << picture.height;
        return Picture{};
    }
    picture.pixels.resize(static_cast<std::size_t>(picture.width) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        const std::uint8_t* row = bytes.data() + stride * static_cast<std::size_t>(picture.height - 1 - y);
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* p = row + 4 * x;
            picture.pixels[static_cast<std::size_t>(y) * picture.width + x] =
                static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 | p[0];
        }
    }
    return picture;
}

void BoardTest::SetEnv(const std::string& name, const std::string& value) {
    ::setenv(name.c_str(), value.c_str(), 1);
}

void BoardTest::UnsetEnv(const std::string& name) { ::unsetenv(name.c_str()); }

// ---- files -------------------------------------------------------------------

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
    std::string text = sim::ReadFile(path);
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::vector<std::string> FolderEntries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// ---- ImageMagick ---------------------------------------------------------------

std::string FindTool(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "/usr/local/bin:/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (folder.empty()) continue;
        fs::path candidate = fs::path(folder) / name;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate.string();
    }
    return {};
}

namespace {

std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string Run(const std::string& command, int& status) {
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        status = -1;
        return output;
    }
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    status = ::pclose(pipe);
    return output;
}

}  // namespace

Decoded DecodeWithImageMagick(const fs::path& file) {
    Decoded decoded;
    const std::string identify = FindTool("identify"), convert = FindTool("convert");
    if (identify.empty() || convert.empty()) {
        ADD_FAILURE() << "ImageMagick (identify and convert) is not on PATH; the BMP checks need it as the "
                         "independent reader: apt-get install -y imagemagick";
        return decoded;
    }
    int status = 0;
    std::string info = Run(Quote(identify) + " -format '%m %w %h\\n' " + Quote(file.string()) + " 2>&1", status);
    std::istringstream fields(info);
    if (status != 0 || !(fields >> decoded.format >> decoded.width >> decoded.height)) {
        ADD_FAILURE() << "identify cannot read " << file << ": " << info;
        return decoded;
    }
    fs::path raw = file;
    raw += ".rgb";
    std::string error =
        Run(Quote(convert) + " " + Quote(file.string()) + " -depth 8 " + Quote("rgb:" + raw.string()) + " 2>&1",
            status);
    std::vector<std::uint8_t> rgb = ReadBytes(raw);
    fs::remove(raw);
    std::size_t count = static_cast<std::size_t>(decoded.width) * static_cast<std::size_t>(decoded.height);
    if (status != 0 || rgb.size() != count * 3) {
        ADD_FAILURE() << "convert cannot read " << file << " (" << rgb.size() << " bytes): " << error;
        return decoded;
    }
    decoded.picture.width = decoded.width;
    decoded.picture.height = decoded.height;
    decoded.picture.pixels.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        decoded.picture.pixels[i] = static_cast<std::uint32_t>(rgb[3 * i]) << 16 |
                                    static_cast<std::uint32_t>(rgb[3 * i + 1]) << 8 | rgb[3 * i + 2];
    decoded.ok = true;
    return decoded;
}

// ---- a file size limit -----------------------------------------------------------

}  // namespace kivo::test

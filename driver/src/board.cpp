#include "board.h"

#include "files.h"
#include "win/win.h"

#include <cstring>
#include <span>
#include <system_error>

namespace kivo {
namespace {

using Clock = std::chrono::steady_clock;

// How long an operation waits for a paint of the frame thread to land before
// it goes on anyway, so that no backend can make it hang.
constexpr auto kPainterWait = std::chrono::milliseconds(250);

// Screen positions the board takes for its output window.
constexpr std::int32_t kMaxPosition = 32768;

bool InRange(std::int32_t value, std::int32_t low, std::int32_t high) { return value >= low && value <= high; }

}  // namespace

Board::Board(BoardConfig config) : config_(std::move(config)), epoch_(Clock::now()) {}

Board::~Board() { Close(); }

void Board::Close() {
    std::lock_guard api(apiLock_);
    if (closed_) return;
    closed_ = true;
    {
        std::lock_guard state(stateLock_);
        stop_ = true;
        output_ = {};
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
    grab_.reset();
}

// ---- settings --------------------------------------------------------------

std::int32_t Board::ReadSettings(std::optional<std::int32_t> injected) {
    std::lock_guard api(apiLock_);
    if (closed_) return 0;
    if (injected && *injected == 0) return 0;
    BoardSettings settings;
    {
        std::lock_guard state(stateLock_);
        settings = settings_;
    }
    SettingsRead read = ReadSettingsFile(config_.settingsPath, settings);
    if (read == SettingsRead::Unreadable || read == SettingsRead::Corrupt) return 0;
    {
        std::lock_guard state(stateLock_);
        settings_ = settings;
    }
    return injected ? *injected : 1;
}

std::int32_t Board::SaveSettings() {
    std::lock_guard api(apiLock_);
    if (closed_) return 0;
    BoardSettings settings;
    {
        std::lock_guard state(stateLock_);
        settings = settings_;
    }
    if (config_.makeSettingsFolder) {
        auto slash = config_.settingsPath.rfind('/');
        if (slash != std::string::npos) win::CreateFolders(config_.settingsPath.substr(0, slash));
    }
    return SaveSettingsFile(config_.settingsPath, settings) ? 1 : 0;
}

// ---- input -----------------------------------------------------------------

void Board::ActiveStandardChanged(int before) {
    // The viewport follows the size of the standard now shown, from the
    // same corner.
    int now = settings_.standards[static_cast<std::size_t>(settings_.connector)];
    VideoSize a = StandardSize(before), b = StandardSize(now);
    if (a.width != b.width || a.height != b.height)
        settings_.viewport = StandardViewport(now, settings_.viewport.left, settings_.viewport.top);
}

std::int32_t Board::SetActiveSource(std::int32_t connector) {
    std::lock_guard api(apiLock_);
    if (closed_ || !InRange(connector, 0, kConnectors - 1)) return 0;
    std::lock_guard state(stateLock_);
    int before = settings_.standards[static_cast<std::size_t>(settings_.connector)];
    settings_.connector = connector;
    ActiveStandardChanged(before);
    return 1;
}

std::int32_t Board::GetActiveSource() {
    std::lock_guard api(apiLock_);
    if (closed_) return -1;
    std::lock_guard state(stateLock_);
    return settings_.connector;
}

std::int32_t Board::SetSourceSystem(std::int32_t connector, std::int32_t standard) {
    std::lock_guard api(apiLock_);
    if (closed_ || !InRange(connector, 0, kConnectors - 1) || !InRange(standard, 0, kStandards - 1)) return 0;
    std::lock_guard state(stateLock_);
    int before = settings_.standards[static_cast<std::size_t>(settings_.connector)];
    settings_.standards[static_cast<std::size_t>(connector)] = standard;
    ActiveStandardChanged(before);
    return 1;
}

std::int32_t Board::GetSourceSystem(std::int32_t connector) {
    std::lock_guard api(apiLock_);
    if (closed_ || !InRange(connector, 0, kConnectors - 1)) return -1;
    std::lock_guard state(stateLock_);
    return settings_.standards[static_cast<std::size_t>(connector)];
}

std::int32_t Board::SetVideoColor(std::int32_t control, std::int32_t value) {
    std::lock_guard api(apiLock_);
    if (closed_ || !InRange(control, 0, kControls - 1)) return 0;
    const ControlRange& range = kControlRanges[static_cast<std::size_t>(control)];
    if (!InRange(value, range.min, range.max)) return 0;
    std::lock_guard state(stateLock_);
    settings_.controls[static_cast<std::size_t>(control)] = value;
    return 1;
}

std::int32_t Board::GetVideoColor(std::int32_t control, std::int32_t* value, std::int32_t* max, std::int32_t* min) {
    std::lock_guard api(apiLock_);
    if (closed_ || !InRange(control, 0, kControls - 1) || !value || !max || !min) return 0;
    const ControlRange& range = kControlRanges[static_cast<std::size_t>(control)];
    std::lock_guard state(stateLock_);
    *value = settings_.controls[static_cast<std::size_t>(control)];
    *max = range.max;
    *min = range.min;
    return 1;
}

std::int32_t Board::SetInputViewport(const RECT* rect) {
    std::lock_guard api(apiLock_);
    if (closed_ || !rect || !IsValidViewport(*rect)) return 0;
    std::lock_guard state(stateLock_);
    settings_.viewport = *rect;
    return 1;
}

std::int32_t Board::GetInputViewport(RECT* rect) {
    std::lock_guard api(apiLock_);
    if (closed_ || !rect) return 0;
    std::lock_guard state(stateLock_);
    *rect = settings_.viewport;
    return 1;
}

// ---- overlay ---------------------------------------------------------------

Shot Board::LiveShot() const {
    Shot shot;
    shot.connector = settings_.connector;
    shot.standard = settings_.standards[static_cast<std::size_t>(settings_.connector)];
    shot.viewport = settings_.viewport;
    shot.controls = settings_.controls;
    shot.frame = config_.fixedFrame ? *config_.fixedFrame
                                    : FrameAt(shot.standard, std::chrono::duration_cast<std::chrono::nanoseconds>(
                                                                 Clock::now() - epoch_));
    return shot;
}

void Board::Paint(const Output& output, Renderer& renderer, const Shot& shot) {
    if (!output.window) return;
    const std::uint32_t* pixels = renderer.Render(shot, output.width, output.height);
    if (!pixels) return;
    // A 32-bit top-down bitmap of exactly the output size: the surface takes
    // its rows as they are.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = output.width;
    info.bmiHeader.biHeight = -output.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC dc = GetDC(output.window);
    if (!dc) return;
    StretchDIBits(dc, 0, 0, output.width, output.height, 0, 0, output.width, output.height, pixels, &info,
                  DIB_RGB_COLORS, SRCCOPY);
    ReleaseDC(output.window, dc);
}

bool Board::WaitForPainter(std::unique_lock<std::mutex>& state) {
    return changed_.wait_for(state, kPainterWait, [&] { return !painting_; });
}

void Board::PaintNow(std::unique_lock<std::mutex>& state, const Shot& shot) {
    if (!output_.window) return;
    // Paints go one at a time, so an older frame never lands over a newer
    // one; the wait is bounded, so a stuck paint cannot hang the caller.
    bool turn = WaitForPainter(state);
    if (turn) painting_ = true;
    Output output = output_;
    lastShown_ = shot;
    state.unlock();
    Paint(output, renderer_, shot);
    state.lock();
    if (turn) painting_ = false;
    changed_.notify_all();
}

void Board::StartThread() {
    if (thread_.joinable()) return;
    thread_ = std::thread(&Board::ThreadMain, this);
}

void Board::ThreadMain() {
    Renderer renderer;
    std::unique_lock state(stateLock_);
    auto period = [&] { return FramePeriod(settings_.standards[static_cast<std::size_t>(settings_.connector)]); };
    auto next = Clock::now() + period();
    while (!stop_) {
        if (!output_.window || frozen_) {
            changed_.wait(state);
            next = Clock::now() + period();
            continue;
        }
        auto now = Clock::now();
        if (now < next) {
            changed_.wait_until(state, next);
            continue;
        }
        next += period();
        if (next <= now) next = now + period();  // late: skip, do not catch up
        if (painting_) continue;                 // an operation paints this one
        painting_ = true;
        Shot shot = LiveShot();
        Output output = output_;
        lastShown_ = shot;
        state.unlock();
        Paint(output, renderer, shot);
        state.lock();
        painting_ = false;
        changed_.notify_all();
    }
}

std::int32_t Board::SetOutputWindow(HWND window, const std::int32_t* x, const std::int32_t* y,
                                    const std::int32_t* width, const std::int32_t* height) {
    std::lock_guard api(apiLock_);
    if (closed_ || !x || !y || !width || !height) return 0;
    Output output{window, *x, *y, *width, *height};
    if (window) {
        if (!win::IsWindowHandle(window)) return 0;
        if (!InRange(output.width, 1, kMaxOutputSide) || !InRange(output.height, 1, kMaxOutputSide)) return 0;
        if (!InRange(output.x, -kMaxPosition, kMaxPosition) || !InRange(output.y, -kMaxPosition, kMaxPosition))
            return 0;
    } else {
        output = {};  // no window: the overlay is off
    }
    std::unique_lock state(stateLock_);
    // Wait for a paint of the frame thread into the old window to land.
    WaitForPainter(state);
    output_ = output;
    lastShown_.reset();
    if (output_.window) PaintNow(state, frozen_ ? frozenShot_ : LiveShot());
    changed_.notify_all();
    state.unlock();
    if (!output.window) return 1;
    try {
        StartThread();
    } catch (const std::system_error&) {
        return 0;  // the window shows the one frame; no live picture
    }
    return 1;
}

std::int32_t Board::GetOutputWindow(HWND* window, std::int32_t* x, std::int32_t* y, std::int32_t* width,
                                    std::int32_t* height) {
    std::lock_guard api(apiLock_);
    if (closed_ || !window || !x || !y || !width || !height) return 0;
    std::lock_guard state(stateLock_);
    *window = output_.window;
    *x = output_.x;
    *y = output_.y;
    *width = output_.width;
    *height = output_.height;
    return 1;
}

void Board::FreezeLocked(std::unique_lock<std::mutex>& state) {
    if (frozen_) return;
    frozen_ = true;
    // The frozen picture is the frame the window shows (or is being sent
    // now), with the settings as they are now.
    frozenShot_ = LiveShot();
    if (!output_.window) return;
    WaitForPainter(state);
    if (lastShown_) frozenShot_.frame = lastShown_->frame;
    // Settings changed since that frame went out: show the frozen picture
    // itself, so the window and a grab agree.
    if (!lastShown_ || !(*lastShown_ == frozenShot_)) PaintNow(state, frozenShot_);
}

std::int32_t Board::Freeze() {
    std::lock_guard api(apiLock_);
    if (closed_) return 0;
    std::unique_lock state(stateLock_);
    FreezeLocked(state);
    return 1;
}

std::int32_t Board::UnFreeze() {
    std::lock_guard api(apiLock_);
    if (closed_) return 0;
    std::unique_lock state(stateLock_);
    frozen_ = false;
    if (output_.window) PaintNow(state, LiveShot());
    changed_.notify_all();
    return 1;
}

// ---- grabs -----------------------------------------------------------------

std::int32_t Board::FreezeAndGrab(std::int32_t format) {
    std::lock_guard api(apiLock_);
    if (closed_) return 0;
    Shot shot;
    {
        std::unique_lock state(stateLock_);
        FreezeLocked(state);
        shot = frozenShot_;
    }
    const RECT& v = shot.viewport;
    const std::uint32_t* pixels = renderer_.Render(shot, v.right - v.left, v.bottom - v.top);
    if (!pixels) return 0;
    grab_ = ConvertFrame(pixels, v.right - v.left, v.bottom - v.top, format);
    return 1;
}

std::int32_t Board::GrabToBuffer(void* buffer, std::int32_t size) {
    std::lock_guard api(apiLock_);
    if (closed_ || !grab_ || !buffer || size < 0) return 0;
    if (static_cast<std::size_t>(size) < grab_->bits.size()) return 0;
    std::memcpy(buffer, grab_->bits.data(), grab_->bits.size());
    return static_cast<std::int32_t>(grab_->bits.size());
}

std::int32_t Board::GrabToFile(const char* path) {
    std::lock_guard api(apiLock_);
    if (closed_ || !path || !*path) return 0;
    const std::string target(path);
    // Without a frame, or when the file cannot be written whole, the path is
    // left as it was: no partial file, and a file already there is kept.
    if (!grab_) return 0;
    std::vector<std::uint8_t> headers = BmpHeaders(*grab_);
    const std::span<const std::byte> parts[2] = {std::as_bytes(std::span(headers)),
                                                 std::as_bytes(std::span(grab_->bits))};
    return WriteFileAtomically(target, parts, false) ? 1 : 0;
}

}  // namespace kivo

// One open virtual board: its settings, its overlay with the frame thread,
// and its grab.
#pragma once

#include "bitmap.h"
#include "picture.h"
#include "settings.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace kivo {

struct BoardConfig {
    std::string settingsPath;              // the board's settings file
    bool makeSettingsFolder = false;       // its folder is made on the first save
    std::optional<std::int64_t> fixedFrame;  // the scene stands still at this frame
};

// Every public operation may be called from any thread; operations run one at
// a time. Results follow the entry points: 1 done, 0 refused.
class Board {
public:
    explicit Board(BoardConfig config);
    ~Board();
    Board(const Board&) = delete;
    Board& operator=(const Board&) = delete;

    // Stops and joins the frame thread and refuses every later call.
    void Close();

    // `injected` is KIVO_SETTINGS_READ: 0 reads nothing and answers 0; 2
    // reads and answers 2 (when the read succeeds).
    std::int32_t ReadSettings(std::optional<std::int32_t> injected);
    std::int32_t SaveSettings();

    std::int32_t SetActiveSource(std::int32_t connector);
    std::int32_t GetActiveSource();
    std::int32_t SetSourceSystem(std::int32_t connector, std::int32_t standard);
    std::int32_t GetSourceSystem(std::int32_t connector);
    std::int32_t SetVideoColor(std::int32_t control, std::int32_t value);
    std::int32_t GetVideoColor(std::int32_t control, std::int32_t* value, std::int32_t* max, std::int32_t* min);
    std::int32_t SetInputViewport(const RECT* rect);
    std::int32_t GetInputViewport(RECT* rect);

    std::int32_t SetOutputWindow(HWND window, const std::int32_t* x, const std::int32_t* y, const std::int32_t* width,
                                 const std::int32_t* height);
    std::int32_t GetOutputWindow(HWND* window, std::int32_t* x, std::int32_t* y, std::int32_t* width,
                                 std::int32_t* height);
    std::int32_t Freeze();
    std::int32_t UnFreeze();
    std::int32_t FreezeAndGrab(std::int32_t format);
    std::int32_t GrabToBuffer(void* buffer, std::int32_t size);
    std::int32_t GrabToFile(const char* path);

private:
    struct Output {
        HWND window = nullptr;
        std::int32_t x = 0, y = 0, width = 0, height = 0;
    };

    // With stateLock_ held.
    Shot LiveShot() const;
    void ActiveStandardChanged(int before);
    // Freezes on the frame shown. With apiLock_ and stateLock_ held.
    void FreezeLocked(std::unique_lock<std::mutex>& state);
    // Paints `shot` from the calling thread (an operation's), in turn with
    // the frame thread. With apiLock_ held and stateLock_ not.
    void PaintNow(std::unique_lock<std::mutex>& state, const Shot& shot);
    bool WaitForPainter(std::unique_lock<std::mutex>& state);
    void StartThread();
    void ThreadMain();
    static void Paint(const Output& output, Renderer& renderer, const Shot& shot);

    const BoardConfig config_;
    const std::chrono::steady_clock::time_point epoch_;

    // Operations run one at a time under apiLock_; the frame thread never
    // takes it. It guards what only operations touch.
    std::mutex apiLock_;
    bool closed_ = false;
    Renderer renderer_;
    std::optional<GrabbedFrame> grab_;

    // Shared with the frame thread. Nobody holds stateLock_ while calling
    // into platform/win or rendering.
    std::mutex stateLock_;
    std::condition_variable changed_;
    BoardSettings settings_;
    Output output_;
    bool frozen_ = false;
    Shot frozenShot_;
    std::optional<Shot> lastShown_;  // the picture last sent to the window
    bool painting_ = false;          // a paint is under way (one at a time)
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace kivo

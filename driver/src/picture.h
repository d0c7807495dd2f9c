// The virtual board's picture: three synthetic scenes (one per connector),
// cut from a raw area by the input viewport, scaled to an output size and
// passed through the five picture controls.
#pragma once

#include "win/win.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <vector>

namespace kivo {

// Index vocabularies shared with the program.
constexpr int kConnectors = 3;  // 0 CCD, 1 VIDEO, 2 S-VIDEO
constexpr int kStandards = 3;   // 0 NTSC, 1 PAL, 2 SECAM
constexpr int kControls = 5;    // 0 brightness, 1 saturation, 2 hue, 3 sharpness, 4 contrast
constexpr int kBrightness = 0, kSaturation = 1, kHue = 2, kSharpness = 3, kContrast = 4;

// The raw area a viewport is cut from. The program keeps the viewport's X and
// Y in 1..255 and its size at the standard's (up to 768 x 576), so the raw
// area reaches at least to 255 + 768 and 255 + 576.
constexpr int kRawWidth = 1024;
constexpr int kRawHeight = 832;

// Output sizes the overlay accepts, a side.
constexpr int kMaxOutputSide = 2048;

struct ControlRange {
    std::int32_t min, max, standard;
};
// The ranges the board reports; `standard` is the neutral value.
inline constexpr std::array<ControlRange, kControls> kControlRanges{{
    {-128, 127, 0},  // brightness: added to every channel
    {0, 511, 256},   // saturation: 256 = as the scene is
    {-128, 127, 0},  // hue: 128 steps = 180 degrees
    {-8, 8, 0},      // sharpness: below 0 softens, above 0 peaks edges
    {0, 511, 256},   // contrast: 256 = as the scene is
}};

struct VideoSize {
    int width, height;
};
VideoSize StandardSize(int standard);
// Frames per second as a fraction: NTSC 30000/1001, PAL and SECAM 25/1.
struct FrameRate {
    std::int64_t numerator, denominator;
};
FrameRate StandardRate(int standard);
std::chrono::nanoseconds FramePeriod(int standard);
// The number of the frame shown `elapsed` after the board started.
std::int64_t FrameAt(int standard, std::chrono::nanoseconds elapsed);

// A viewport is usable when it is not empty and lies inside the raw area.
bool IsValidViewport(const RECT& r);
// The default viewport of a standard, and the viewport of `from`'s corner
// resized to a standard, moved back into the raw area if needed.
RECT StandardViewport(int standard, LONG left, LONG top);

// Everything one picture depends on.
struct Shot {
    int connector = 0;
    int standard = 0;
    RECT viewport{16, 16, 736, 496};
    std::array<std::int32_t, kControls> controls{0, 256, 0, 0, 256};
    std::int64_t frame = 0;

    friend bool operator==(const Shot& a, const Shot& b) {
        return a.connector == b.connector && a.standard == b.standard && a.viewport.left == b.viewport.left &&
               a.viewport.top == b.viewport.top && a.viewport.right == b.viewport.right &&
               a.viewport.bottom == b.viewport.bottom && a.controls == b.controls && a.frame == b.frame;
    }
};

// Renders pictures; holds its buffers from one frame to the next, so a
// steady stream of frames of one size allocates nothing.
class Renderer {
public:
    // The picture of `shot` at width x height: 32-bit pixels 0xXXRRGGBB
    // (blue in the lowest byte, as a 32-bit DIB), rows top first, exactly
    // `width` pixels a row. Null when the size is outside 1..kMaxOutputSide
    // or the shot is not valid. Valid until the next call.
    const std::uint32_t* Render(const Shot& shot, int width, int height);

private:
    void Scene(const Shot& shot, int width, int height);
    void ApplySharpness(int sharpness, int width, int height);

    std::vector<std::uint32_t> frame_;
    std::vector<int> columns_;                      // raw x of each output column
    std::vector<std::uint32_t> tableA_, tableB_, tableC_;  // per-column colours of a scene
    std::vector<std::uint8_t> tableD_;             // per-column values of a scene
    std::vector<std::uint8_t> diagonal_;           // S-VIDEO: a wave along raw x + y
    std::vector<std::size_t> grid_;                // S-VIDEO: the columns of the grid
    std::vector<std::uint32_t> row_;                // one row, for the sharpness filter
};

// True when the shot's controls leave the colours as the scene makes them.
bool ColourIsNeutral(const std::array<std::int32_t, kControls>& controls);

}  // namespace kivo

#include "picture.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kivo {
namespace {

constexpr std::uint32_t Pixel(int r, int g, int b) {
    return 0xFF000000u | static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(g) << 8 |
           static_cast<std::uint32_t>(b);
}

constexpr std::uint32_t kBlack = Pixel(0, 0, 0);
constexpr std::uint32_t kWhite = Pixel(255, 255, 255);

// Brightness, saturation, hue and contrast as one affine map of R, G, B. In
// YCbCr (full-range BT.601): contrast scales luma and chroma about mid grey,
// brightness lifts luma, saturation scales chroma and hue turns it.
//
// Every pixel of a scene comes from a small set of colours (a bar, a palette
// entry, a row of sky, a span), so the scenes map those colours, not the
// pixels: the controls cost a few thousand maps a frame whatever its size.
class ColourMap {
public:
    explicit ColourMap(const std::array<std::int32_t, kControls>& controls) : neutral_(ColourIsNeutral(controls)) {
        if (neutral_) return;
        const double c = controls[kContrast] / 256.0;
        const double s = controls[kSaturation] / 256.0;
        const double angle = controls[kHue] * std::numbers::pi / 128.0;
        const double lift = 128.0 * (1.0 - c) + controls[kBrightness];
        const double forward[3][3] = {{0.299, 0.587, 0.114}, {-0.168736, -0.331264, 0.5}, {0.5, -0.418688, -0.081312}};
        const double inverse[3][3] = {{1, 0, 1.402}, {1, -0.344136, -0.714136}, {1, 1.772, 0}};
        const double cs = c * s * std::cos(angle), sn = c * s * std::sin(angle);
        const double mix[3][3] = {{c, 0, 0}, {0, cs, -sn}, {0, sn, cs}};
        double middle[3][3] = {};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                for (int k = 0; k < 3; ++k) middle[i][j] += mix[i][k] * forward[k][j];
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) {
                double sum = 0;
                for (int k = 0; k < 3; ++k) sum += inverse[i][k] * middle[k][j];
                m_[i][j] = static_cast<int>(std::lround(sum * 4096));
            }
        offset_ = static_cast<int>(std::lround(lift * 4096)) + 2048;
    }

    std::uint32_t operator()(std::uint32_t px) const {
        if (neutral_) return px;
        const int r = static_cast<int>(px >> 16 & 255), g = static_cast<int>(px >> 8 & 255),
                  b = static_cast<int>(px & 255);
        auto channel = [&](int i) {
            int v = (m_[i][0] * r + m_[i][1] * g + m_[i][2] * b + offset_) >> 12;
            return v < 0 ? 0 : v > 255 ? 255 : v;
        };
        return Pixel(channel(0), channel(1), channel(2));
    }

private:
    bool neutral_;
    int m_[3][3] = {};
    int offset_ = 0;
};

// Tables shared by every renderer, built once.
struct Tables {
    std::array<std::uint8_t, 256> wave{};     // one period of a sine, 1..255
    std::array<std::uint32_t, 256> rainbow{};  // a circle of vivid hues

    Tables() {
        for (int i = 0; i < 256; ++i) {
            double angle = 2 * std::numbers::pi * i / 256;
            wave[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(std::lround(128 + 127 * std::sin(angle)));
            // Hue i/256 of the circle at saturation 0.85, value 0.95.
            double h = i * 6.0 / 256, v = 0.95 * 255, s = 0.85;
            int sector = static_cast<int>(h);
            double f = h - sector;
            double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
            double rgb[6][3] = {{v, t, p}, {q, v, p}, {p, v, t}, {p, q, v}, {t, p, v}, {v, p, q}};
            const double* c = rgb[sector % 6];
            rainbow[static_cast<std::size_t>(i)] =
                Pixel(static_cast<int>(std::lround(c[0])), static_cast<int>(std::lround(c[1])),
                      static_cast<int>(std::lround(c[2])));
        }
    }
};

const Tables& SharedTables() {
    static const Tables tables;
    return tables;
}

// The output columns [first, last) whose raw x lies in [x0, x1); `columns`
// grows from left to right.
std::pair<std::size_t, std::size_t> ColumnSpan(const std::vector<int>& columns, std::size_t width, long x0, long x1) {
    auto begin = columns.begin(), end = columns.begin() + static_cast<std::ptrdiff_t>(width);
    auto first = std::lower_bound(begin, end, x0);
    auto last = std::lower_bound(first, end, x1);
    return {static_cast<std::size_t>(first - begin), static_cast<std::size_t>(last - begin)};
}

void FillSpan(std::uint32_t* row, const std::vector<int>& columns, std::size_t width, long x0, long x1,
              std::uint32_t colour) {
    auto [first, last] = ColumnSpan(columns, width, x0, x1);
    std::fill(row + first, row + last, colour);
}

// An ellipse's span on raw row y, or an empty one.
bool EllipseSpan(long cx, long cy, long rx, long ry, long y, long& x0, long& x1) {
    long dy = y - cy;
    if (dy <= -ry || dy >= ry) return false;
    double half = rx * std::sqrt(1.0 - static_cast<double>(dy * dy) / static_cast<double>(ry * ry));
    x0 = cx - std::lround(half);
    x1 = cx + std::lround(half);
    return x0 < x1;
}

long Wrap(std::int64_t value, long period) {
    auto m = value % period;
    return static_cast<long>(m < 0 ? m + period : m);
}

// VIDEO: the 75% colour bars over castellations and a grey ramp.
constexpr std::uint32_t kBars[7] = {Pixel(191, 191, 191), Pixel(191, 191, 0), Pixel(0, 191, 191), Pixel(0, 191, 0),
                                    Pixel(191, 0, 191),   Pixel(191, 0, 0),   Pixel(0, 0, 191)};
constexpr std::uint32_t kCastellations[7] = {Pixel(0, 0, 191), kBlack, Pixel(191, 0, 191), kBlack,
                                             Pixel(0, 191, 191), kBlack, Pixel(191, 191, 191)};
constexpr long kBarsBottom = 560;
constexpr long kCastellationsBottom = 640;

// CCD: sky, sun and clouds over a field, a road and a car.
constexpr long kHorizon = 360;
constexpr long kRoadTop = 470, kRoadBottom = 550;
constexpr long kCarTop = 440, kCarBottom = 520;

}  // namespace

VideoSize StandardSize(int standard) { return standard == 0 ? VideoSize{720, 480} : VideoSize{768, 576}; }

FrameRate StandardRate(int standard) { return standard == 0 ? FrameRate{30000, 1001} : FrameRate{25, 1}; }

std::chrono::nanoseconds FramePeriod(int standard) {
    FrameRate rate = StandardRate(standard);
    return std::chrono::nanoseconds(rate.denominator * 1'000'000'000 / rate.numerator);
}

std::int64_t FrameAt(int standard, std::chrono::nanoseconds elapsed) {
    FrameRate rate = StandardRate(standard);
    __int128 frames = static_cast<__int128>(elapsed.count()) * rate.numerator / (rate.denominator * 1'000'000'000);
    return static_cast<std::int64_t>(frames);
}

bool IsValidViewport(const RECT& r) {
    return r.left >= 0 && r.top >= 0 && r.left < r.right && r.top < r.bottom && r.right <= kRawWidth &&
           r.bottom <= kRawHeight;
}

RECT StandardViewport(int standard, LONG left, LONG top) {
    VideoSize size = StandardSize(standard);
    left = std::clamp<LONG>(left, 0, kRawWidth - size.width);
    top = std::clamp<LONG>(top, 0, kRawHeight - size.height);
    return {left, top, left + size.width, top + size.height};
}

bool ColourIsNeutral(const std::array<std::int32_t, kControls>& controls) {
    return controls[kBrightness] == kControlRanges[kBrightness].standard &&
           controls[kSaturation] == kControlRanges[kSaturation].standard &&
           controls[kHue] == kControlRanges[kHue].standard &&
           controls[kContrast] == kControlRanges[kContrast].standard;
}

const std::uint32_t* Renderer::Render(const Shot& shot, int width, int height) {
    if (width < 1 || height < 1 || width > kMaxOutputSide || height > kMaxOutputSide) return nullptr;
    if (shot.connector < 0 || shot.connector >= kConnectors || shot.standard < 0 || shot.standard >= kStandards ||
        !IsValidViewport(shot.viewport))
        return nullptr;
    frame_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    Scene(shot, width, height);
    int sharpness = std::clamp(shot.controls[kSharpness], kControlRanges[kSharpness].min, kControlRanges[kSharpness].max);
    if (sharpness != 0) ApplySharpness(sharpness, width, height);
    return frame_.data();
}

void Renderer::Scene(const Shot& shot, int width, int height) {
    const RECT& v = shot.viewport;
    const long viewWidth = v.right - v.left, viewHeight = v.bottom - v.top;
    const std::size_t w = static_cast<std::size_t>(width);
    const std::int64_t f = shot.frame;
    const ColourMap map(shot.controls);
    // Each output pixel shows the raw point under its centre.
    columns_.resize(w);
    for (std::size_t x = 0; x < w; ++x)
        columns_[x] = static_cast<int>(v.left + (2 * static_cast<long>(x) + 1) * viewWidth / (2L * width));
    auto rawRow = [&](int y) { return v.top + (2 * static_cast<long>(y) + 1) * viewHeight / (2L * height); };
    tableA_.resize(w);
    tableB_.resize(w);
    tableC_.resize(w);

    if (shot.connector == 1) {
        // VIDEO: the bars and the ramp depend on x alone, so each row is a
        // copy of one of three tables; a black band runs down the bars and a
        // white line sweeps across the ramp.
        std::uint32_t bars[7], castellations[7], greys[256];
        for (int i = 0; i < 7; ++i) {
            bars[i] = map(kBars[i]);
            castellations[i] = map(kCastellations[i]);
        }
        for (int i = 0; i < 256; ++i) greys[i] = map(Pixel(i, i, i));
        const std::uint32_t black = map(kBlack), white = map(kWhite);
        long sweep = Wrap(f * 8, kRawWidth);
        for (std::size_t x = 0; x < w; ++x) {
            long rx = columns_[x];
            std::size_t bar = static_cast<std::size_t>(rx * 7 / kRawWidth);
            tableA_[x] = bars[bar];
            tableB_[x] = castellations[bar];
            tableC_[x] = rx >= sweep && rx < sweep + 4 ? white : greys[rx * 255 / (kRawWidth - 1)];
        }
        long band = Wrap(f * 2, kBarsBottom);
        for (int y = 0; y < height; ++y) {
            long ry = rawRow(y);
            std::uint32_t* row = frame_.data() + static_cast<std::size_t>(y) * w;
            if (ry < kBarsBottom) {
                if (ry >= band && ry < band + 8)
                    std::fill(row, row + w, black);
                else
                    std::memcpy(row, tableA_.data(), w * 4);
            } else if (ry < kCastellationsBottom) {
                std::memcpy(row, tableB_.data(), w * 4);
            } else {
                std::memcpy(row, tableC_.data(), w * 4);
            }
        }
        return;
    }

    if (shot.connector == 2) {
        // S-VIDEO: a moving plasma of vivid hues under a white grid that
        // marks every 128 raw pixels.
        const Tables& t = SharedTables();
        std::uint32_t rainbow[256];
        for (std::size_t i = 0; i < 256; ++i) rainbow[i] = map(t.rainbow[i]);
        const std::uint32_t white = map(kWhite);
        // Three waves: one across, one down, one along the diagonal (a
        // table of raw x + y for this frame); the sum picks the hue.
        tableD_.resize(w);
        for (std::size_t x = 0; x < w; ++x)
            tableD_[x] = t.wave[static_cast<std::size_t>(Wrap((columns_[x] >> 2) + f * 2, 256))];
        const long shift = Wrap(f * 3, 256);
        diagonal_.resize(kRawWidth + kRawHeight);
        for (std::size_t d = 0; d < diagonal_.size(); ++d)
            diagonal_[d] = t.wave[static_cast<std::size_t>(((static_cast<long>(d) >> 3) + shift) & 255)];
        grid_.clear();
        for (std::size_t x = 0; x < w; ++x)
            if (columns_[x] % 128 < 2) grid_.push_back(x);
        for (int y = 0; y < height; ++y) {
            long ry = rawRow(y);
            std::uint32_t* row = frame_.data() + static_cast<std::size_t>(y) * w;
            if (ry % 128 < 2) {
                std::fill(row, row + w, white);
                continue;
            }
            const unsigned across = t.wave[static_cast<std::size_t>(Wrap((ry * 3 >> 3) - f, 256))];
            const std::uint8_t* diagonal = diagonal_.data() + ry;
            for (std::size_t x = 0; x < w; ++x)
                row[x] = rainbow[(tableD_[x] + across + diagonal[columns_[x]]) & 255];
            for (std::size_t x : grid_) row[x] = white;
        }
        return;
    }

    // CCD: a camera looking at a field under the sky. The sun and the clouds
    // drift across, the field and the road scroll, a car drives by.
    const std::uint32_t lightGrass = map(Pixel(84, 160, 72)), darkGrass = map(Pixel(44, 112, 52));
    const std::uint32_t road = map(Pixel(92, 92, 98)), paint = map(Pixel(240, 240, 240));
    const std::uint32_t sun = map(Pixel(255, 226, 120)), cloud = map(Pixel(236, 240, 246));
    const std::uint32_t roof = map(Pixel(150, 30, 34)), glass = map(Pixel(170, 210, 230));
    const std::uint32_t body = map(Pixel(208, 40, 44)), tyre = map(Pixel(24, 24, 24));
    for (std::size_t x = 0; x < w; ++x) {
        long scrolled = columns_[x] + Wrap(f * 4, 1 << 20);
        bool light = (scrolled >> 6) & 1;
        tableA_[x] = light ? lightGrass : darkGrass;
        tableB_[x] = light ? darkGrass : lightGrass;
        tableC_[x] = (scrolled >> 5) & 1 ? road : paint;
    }
    const long sunX = Wrap(f * 3, 1300) - 120, sunY = 150;
    const long carX = kRawWidth + 150 - Wrap(f * 5, kRawWidth + 400);
    for (int y = 0; y < height; ++y) {
        long ry = rawRow(y);
        std::uint32_t* row = frame_.data() + static_cast<std::size_t>(y) * w;
        long x0, x1;
        if (ry < kHorizon) {
            long t = ry * 256 / kHorizon;
            std::fill(row, row + w,
                      map(Pixel(static_cast<int>(40 + 130 * t / 256), static_cast<int>(90 + 120 * t / 256),
                                static_cast<int>(200 + 50 * t / 256))));
            if (EllipseSpan(sunX, sunY, 70, 70, ry, x0, x1)) FillSpan(row, columns_, w, x0, x1, sun);
            for (long k = 0; k < 3; ++k) {
                long cloudX = Wrap(f + k * 430, 1400) - 190;
                if (EllipseSpan(cloudX, 60 + 60 * k, 120 - 15 * k, 28, ry, x0, x1))
                    FillSpan(row, columns_, w, x0, x1, cloud);
            }
        } else if (ry >= kRoadTop && ry < kRoadBottom) {
            bool stripe = ry >= (kRoadTop + kRoadBottom) / 2 - 3 && ry < (kRoadTop + kRoadBottom) / 2 + 3;
            if (stripe)
                std::memcpy(row, tableC_.data(), w * 4);
            else
                std::fill(row, row + w, road);
        } else {
            std::memcpy(row, (((ry - kHorizon) >> 5) & 1) ? tableB_.data() : tableA_.data(), w * 4);
        }
        if (ry >= kCarTop - 30 && ry < kCarTop) FillSpan(row, columns_, w, carX + 30, carX + 120, roof);
        if (ry >= kCarTop - 26 && ry < kCarTop - 4) FillSpan(row, columns_, w, carX + 40, carX + 110, glass);
        if (ry >= kCarTop && ry < kCarBottom - 20) FillSpan(row, columns_, w, carX, carX + 160, body);
        if (ry >= kCarBottom - 30 && ry < kCarBottom) {
            FillSpan(row, columns_, w, carX + 18, carX + 52, tyre);
            FillSpan(row, columns_, w, carX + 108, carX + 142, tyre);
        }
    }
}

void Renderer::ApplySharpness(int sharpness, int width, int height) {
    // A horizontal peaking filter, as a video decoder has: each channel
    // moves away from its (1 2 1)/4 blur by sharpness/8 of the difference,
    // so edges steepen above 0 and soften below; at -8 the pixel is the
    // blur itself, at 8 it is twice as far from it as it was.
    //
    // A row is taken as bytes (blue, green, red, unused, ...): a channel's
    // neighbours are 4 bytes away, so one plain loop over the bytes does all
    // channels and vectorises. The unused byte has equal neighbours and stays.
    const std::size_t w = static_cast<std::size_t>(width);
    const std::size_t bytes = w * 4;
    row_.resize(w + 2);
    std::uint8_t* padded = reinterpret_cast<std::uint8_t*>(row_.data());
    for (int y = 0; y < height; ++y) {
        std::uint32_t* out32 = frame_.data() + static_cast<std::size_t>(y) * w;
        row_[0] = out32[0];
        std::memcpy(row_.data() + 1, out32, bytes);
        row_[w + 1] = out32[w - 1];
        const std::uint8_t* in = padded + 4;
        std::uint8_t* out = reinterpret_cast<std::uint8_t*>(out32);
        std::size_t i = 0;
#if defined(__SSE2__)
        // 16 bytes at a time in 16-bit lanes: 32c + s(2c - l - r) + 16 lies
        // in -4064..12256, and packing back to bytes clamps to 0..255.
        const __m128i zero = _mm_setzero_si128(), factor = _mm_set1_epi16(static_cast<short>(sharpness)),
                      half = _mm_set1_epi16(16);
        auto lanes = [&](__m128i c, __m128i l, __m128i r) {
            __m128i detail = _mm_sub_epi16(_mm_add_epi16(c, c), _mm_add_epi16(l, r));
            __m128i v = _mm_add_epi16(_mm_slli_epi16(c, 5), _mm_mullo_epi16(detail, factor));
            return _mm_srai_epi16(_mm_add_epi16(v, half), 5);
        };
        for (; i + 16 <= bytes; i += 16) {
            __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
            __m128i l = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i - 4));
            __m128i r = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 4));
            __m128i low = lanes(_mm_unpacklo_epi8(c, zero), _mm_unpacklo_epi8(l, zero), _mm_unpacklo_epi8(r, zero));
            __m128i high = lanes(_mm_unpackhi_epi8(c, zero), _mm_unpackhi_epi8(l, zero), _mm_unpackhi_epi8(r, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(low, high));
        }
#endif
        for (; i < bytes; ++i) {
            const int c = in[i];
            int v = (32 * c + sharpness * (2 * c - in[i - 4] - in[i + 4]) + 16) >> 5;
            v = v < 0 ? 0 : v > 255 ? 255 : v;
            out[i] = static_cast<std::uint8_t>(v);
        }
    }
}

}  // namespace kivo

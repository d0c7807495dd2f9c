// The picture through the real library: a scene of its own per connector,
// moving unless KIVO_FIXED_FRAME holds it, shifted by the viewport, and each
// picture control moving the pixels the way its name says.
#include "driver_fixture.h"

#include <cmath>
#include <numbers>
#include <thread>

namespace kivo::test {
namespace {

using namespace std::chrono_literals;
using PictureTest = BoardTest;

double Fraction(const Picture& a, const Picture& b) {
    if (a.pixels.size() != b.pixels.size() || a.pixels.empty()) return 1.0;
    std::size_t differ = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) differ += a.pixels[i] != b.pixels[i];
    return static_cast<double>(differ) / static_cast<double>(a.pixels.size());
}

double MeanLuma(const Picture& p) {
    double sum = 0;
    for (std::uint32_t px : p.pixels) sum += Luma(px);
    return sum / static_cast<double>(p.pixels.size());
}

double LumaSpread(const Picture& p) {
    double mean = MeanLuma(p), sum = 0;
    for (std::uint32_t px : p.pixels) sum += (Luma(px) - mean) * (Luma(px) - mean);
    return std::sqrt(sum / static_cast<double>(p.pixels.size()));
}

double MeanChroma(const Picture& p) {
    double sum = 0;
    for (std::uint32_t px : p.pixels) sum += std::max({Red(px), Green(px), Blue(px)}) - std::min({Red(px), Green(px), Blue(px)});
    return sum / static_cast<double>(p.pixels.size());
}

// The energy of the steps between neighbours across each row: steep edges
// have much of it, soft ones little (a blurred step keeps its total rise
// but spreads it over smaller steps).
double HorizontalDetail(const Picture& p) {
    double sum = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 1; x < p.width; ++x) {
            double step = Luma(p.At(x, y)) - Luma(p.At(x - 1, y));
            sum += step * step;
        }
    return sum;
}

// The hue angle of a colour in the Cb/Cr plane, in degrees.
double HueAngle(std::uint32_t p) {
    double cb = -0.168736 * Red(p) - 0.331264 * Green(p) + 0.5 * Blue(p);
    double cr = 0.5 * Red(p) - 0.418688 * Green(p) - 0.081312 * Blue(p);
    return std::atan2(cr, cb) * 180 / std::numbers::pi;
}

double AngleBetween(double from, double to) {
    double d = std::fmod(to - from + 540.0, 360.0) - 180.0;
    return d;
}

TEST_F(PictureTest, EachConnectorShowsItsOwnScene) {
    SetEnv("KIVO_FIXED_FRAME", "20");
    std::int32_t h = OpenAndRead();
    Picture scenes[3];
    for (int c = 0; c < 3; ++c) {
        ASSERT_EQ(qor.SetActiveSource(h, c), 1);
        scenes[c] = Grab32(h);
        ASSERT_EQ(qor.UnFreeze(h), 1);
    }
    EXPECT_GT(Fraction(scenes[0], scenes[1]), 0.9);
    EXPECT_GT(Fraction(scenes[0], scenes[2]), 0.9);
    EXPECT_GT(Fraction(scenes[1], scenes[2]), 0.9);
}

TEST_F(PictureTest, EverySceneMovesFromFrameToFrame) {
    for (int c = 0; c < 3; ++c) {
        SCOPED_TRACE(c);
        Picture frames[2];
        for (int f = 0; f < 2; ++f) {
            SetEnv("KIVO_FIXED_FRAME", std::to_string(30 + f));
            std::int32_t h = OpenAndRead();
            ASSERT_EQ(qor.SetActiveSource(h, c), 1);
            frames[f] = Grab32(h);
            Close();
        }
        EXPECT_GT(Fraction(frames[0], frames[1]), 0.001) << "frame 31 differs from frame 30";
    }
}

TEST_F(PictureTest, TheLiveSceneMovesAndAFixedFrameStandsStill) {
    std::int32_t h = OpenAndRead();
    ASSERT_EQ(qor.SetActiveSource(h, 2), 1);
    Picture first = Grab32(h);
    ASSERT_EQ(qor.UnFreeze(h), 1);
    std::this_thread::sleep_for(150ms);
    EXPECT_GT(Fraction(first, Grab32(h)), 0.01) << "150 ms later the scene has moved";
    Close();

    SetEnv("KIVO_FIXED_FRAME", "77");
    h = OpenAndRead();
    ASSERT_EQ(qor.SetActiveSource(h, 2), 1);
    first = Grab32(h);
    ASSERT_EQ(qor.UnFreeze(h), 1);
    std::this_thread::sleep_for(150ms);
    EXPECT_EQ(Fraction(first, Grab32(h)), 0.0) << "the scene stands still at frame 77";
}

TEST_F(PictureTest, TheViewportsXAndYShiftThePicture) {
    SetEnv("KIVO_FIXED_FRAME", "5");
    for (int c = 0; c < 3; ++c) {
        SCOPED_TRACE(c);
        std::int32_t h = OpenAndRead();
        ASSERT_EQ(qor.SetActiveSource(h, c), 1);
        RECT a{10, 20, 730, 500};
        ASSERT_EQ(qor.SetCurInputViewport(h, &a), 1);
        Picture at = Grab32(h);
        ASSERT_EQ(qor.UnFreeze(h), 1);
        RECT b{60, 45, 780, 525};  // 50 right, 25 down
        ASSERT_EQ(qor.SetCurInputViewport(h, &b), 1);
        Picture shifted = Grab32(h);
        EXPECT_GT(Fraction(at, shifted), 0.3) << "the shift shows";
        int wrong = 0;
        for (int y = 0; y < 480 - 25; ++y)
            for (int x = 0; x < 720 - 50; ++x) wrong += shifted.At(x, y) != at.At(x + 50, y + 25);
        EXPECT_EQ(wrong, 0) << "the same raw area, moved by the viewport";
        Close();
    }
}

class Controls : public BoardTest {
protected:
    std::int32_t OpenOn(int connector) {
        SetEnv("KIVO_FIXED_FRAME", "40");
        std::int32_t h = OpenAndRead();
        EXPECT_EQ(qor.SetActiveSource(h, connector), 1);
        return h;
    }
    // The pictures under one control at several values; the control goes
    // back to its neutral value after.
    std::vector<Picture> Sweep(std::int32_t h, int control, std::initializer_list<std::int32_t> values) {
        std::vector<Picture> pictures;
        for (std::int32_t value : values) {
            EXPECT_EQ(qor.SetVideoColor(h, control, value), 1);
            pictures.push_back(Grab32(h));
            EXPECT_EQ(qor.UnFreeze(h), 1);
        }
        EXPECT_EQ(qor.SetVideoColor(h, control, control == 1 || control == 4 ? 256 : 0), 1);
        return pictures;
    }
};

TEST_F(Controls, BrightnessLiftsEveryPixel) {
    std::int32_t h = OpenOn(0);
    auto p = Sweep(h, 0, {-60, 0, 60});
    EXPECT_LT(MeanLuma(p[0]), MeanLuma(p[1]) - 40);
    EXPECT_GT(MeanLuma(p[2]), MeanLuma(p[1]) + 40);
    int wrong = 0;
    for (std::size_t i = 0; i < p[1].pixels.size(); ++i) {
        std::uint32_t base = p[1].pixels[i], up = p[2].pixels[i];
        for (auto channel : {Red, Green, Blue})
            if (channel(base) + 60 <= 255 && std::abs(channel(up) - (channel(base) + 60)) > 1) ++wrong;
    }
    EXPECT_EQ(wrong, 0) << "+60 adds 60 to each channel that has room";
}

TEST_F(Controls, ContrastSpreadsTheLevelsAboutMidGrey) {
    std::int32_t h = OpenOn(0);
    auto p = Sweep(h, 4, {0, 128, 256, 400});
    for (std::uint32_t px : p[0].pixels) ASSERT_EQ(Hex(px), Hex(0x808080)) << "contrast 0: all mid grey";
    EXPECT_LT(LumaSpread(p[1]), LumaSpread(p[2]) * 0.6);
    EXPECT_GT(LumaSpread(p[3]), LumaSpread(p[2]) * 1.2);
}

TEST_F(Controls, SaturationScalesTheColourAway) {
    std::int32_t h = OpenOn(2);
    auto p = Sweep(h, 1, {0, 128, 256, 400});
    for (std::uint32_t px : p[0].pixels) {
        ASSERT_LE(std::abs(Red(px) - Green(px)), 1) << Hex(px) << ": saturation 0 is grey";
        ASSERT_LE(std::abs(Blue(px) - Green(px)), 1) << Hex(px);
    }
    EXPECT_LT(MeanChroma(p[1]), MeanChroma(p[2]) * 0.6);
    EXPECT_GT(MeanChroma(p[3]), MeanChroma(p[2]) * 1.1);
    EXPECT_NEAR(MeanLuma(p[0]), MeanLuma(p[2]), 3.0) << "the brightness stays";
}

TEST_F(Controls, HueTurnsEveryColourByItsAngle) {
    std::int32_t h = OpenOn(1);  // the bars
    // At half saturation every turned colour stays inside the RGB cube.
    ASSERT_EQ(qor.SetVideoColor(h, 1, 128), 1);
    auto p = Sweep(h, 2, {-32, 0, 32});
    // Bars 1..4 inside the default viewport (raw x 16..735), at raw y 116.
    for (int rawX : {219, 365, 512, 658}) {
        SCOPED_TRACE(rawX);
        std::uint32_t base = p[1].At(rawX - 16, 100), left = p[0].At(rawX - 16, 100), right = p[2].At(rawX - 16, 100);
        EXPECT_NEAR(AngleBetween(HueAngle(base), HueAngle(right)), 45.0, 5.0) << Hex(base) << " to " << Hex(right);
        EXPECT_NEAR(AngleBetween(HueAngle(base), HueAngle(left)), -45.0, 5.0) << Hex(base) << " to " << Hex(left);
        EXPECT_NEAR(Luma(right), Luma(base), 3.0) << "the brightness stays";
        EXPECT_NEAR(Luma(left), Luma(base), 3.0);
    }
    // Grey has no hue to turn.
    std::uint32_t white = p[1].At(73 - 16, 100);
    EXPECT_EQ(Hex(p[2].At(73 - 16, 100)), Hex(white));
}

TEST_F(Controls, SharpnessSteepensOrSoftensTheEdges) {
    for (int connector : {1, 2}) {
        SCOPED_TRACE(connector);
        std::int32_t h = OpenOn(connector);
        auto p = Sweep(h, 3, {-8, -4, 0, 4, 8});
        for (std::size_t i = 1; i < p.size(); ++i)
            EXPECT_GT(HorizontalDetail(p[i]), HorizontalDetail(p[i - 1]) * 1.02) << "step " << i;
        Close();
    }
}

TEST_F(Controls, NeutralValuesGiveTheSceneItself) {
    std::int32_t h = OpenOn(2);
    Picture before = Grab32(h);
    ASSERT_EQ(qor.UnFreeze(h), 1);
    for (int control = 0; control < 5; ++control) ASSERT_EQ(qor.SetVideoColor(h, control, 7), 1);
    Picture changed = Grab32(h);
    ASSERT_EQ(qor.UnFreeze(h), 1);
    const std::int32_t neutral[5] = {0, 256, 0, 0, 256};
    for (int control = 0; control < 5; ++control) ASSERT_EQ(qor.SetVideoColor(h, control, neutral[control]), 1);
    EXPECT_GT(Fraction(before, changed), 0.5);
    EXPECT_EQ(Fraction(before, Grab32(h)), 0.0);
}

}  // namespace
}  // namespace kivo::test

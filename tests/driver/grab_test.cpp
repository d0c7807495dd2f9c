// Grabs: the four pixel formats as BMP files that ImageMagick (the
// independent reader) opens with the right size and colours, the pixel values
// of a fixed frame, and no file at all when the grab cannot be written.
#include "driver_fixture.h"

#include <unistd.h>

#include <filesystem>

namespace kivo::test {
namespace {

namespace fs = std::filesystem;
using Grabs = BoardTest;

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint32_t Le16(const std::vector<std::uint8_t>& b, std::size_t at) { return b[at] | b[at + 1] << 8; }

struct Format {
    std::int32_t index;
    std::uint32_t bits;
    std::uint32_t compression;  // 0 BI_RGB, 3 BI_BITFIELDS
    int red, green, blue;       // bits a channel
};
const Format kFormats[] = {{0, 16, 0, 5, 5, 5}, {1, 16, 3, 5, 6, 5}, {2, 24, 0, 8, 8, 8}, {3, 32, 0, 8, 8, 8}};

// The VIDEO test card as documented (docs/virtual-board.md): seven 75% bars
// across the raw area's 1024 columns above raw row 560, castellations to row
// 640, a grey ramp below.
const std::uint32_t kBars[7] = {0xBFBFBF, 0xBFBF00, 0x00BFBF, 0x00BF00, 0xBF00BF, 0xBF0000, 0x0000BF};
const std::uint32_t kCastellations[7] = {0x0000BF, 0x000000, 0xBF00BF, 0x000000, 0x00BFBF, 0x000000, 0xBFBFBF};

// The channel as a format keeps it: its top bits.
std::uint32_t Quantise(std::uint32_t p, const Format& f) {
    auto keep = [](int value, int bits) { return value >> (8 - bits); };
    return static_cast<std::uint32_t>(keep(Red(p), f.red)) << 16 | static_cast<std::uint32_t>(keep(Green(p), f.green)) << 8 |
           static_cast<std::uint32_t>(keep(Blue(p), f.blue));
}

TEST_F(Grabs, EveryFormatIsABmpImageMagickReadsWithTheRightSizeAndColours) {
    SetEnv("KIVO_FIXED_FRAME", "12");
    std::int32_t h = OpenAndRead();
    ASSERT_EQ(qor.SetActiveSource(h, 1), 1);  // the test card
    RECT viewport{255, 255, 975, 735};       // X and Y at the input tab's end
    ASSERT_EQ(qor.SetCurInputViewport(h, &viewport), 1);
    Picture truth = Grab32(h);
    ASSERT_EQ(truth.width, 720);
    ASSERT_EQ(truth.height, 480);

    // Points of the card by their raw position; at frame 12 the band and the
    // sweep are elsewhere.
    struct Point {
        int rawX, rawY;
        std::uint32_t colour;
    };
    std::vector<Point> points;
    const int columns[7] = {-1, 270, 365, 512, 658, 804, 950};  // bar 0 lies left of raw x 255
    for (int bar = 1; bar < 7; ++bar) {
        points.push_back({columns[bar], 355, kBars[bar]});
        points.push_back({columns[bar], 595, kCastellations[bar]});
    }
    for (int rawX : {300, 555, 900}) {
        std::uint32_t grey = static_cast<std::uint32_t>(rawX * 255 / 1023);
        points.push_back({rawX, 705, grey << 16 | grey << 8 | grey});
    }
    for (const Point& p : points)
        EXPECT_EQ(Hex(truth.At(p.rawX - 255, p.rawY - 255)), Hex(p.colour)) << "raw " << p.rawX << ", " << p.rawY;

    for (const Format& f : kFormats) {
        SCOPED_TRACE("format " + std::to_string(f.index));
        fs::path file = Path("grab" + std::to_string(f.index) + ".bmp");
        ASSERT_EQ(qor.FreezeAndGrabFrame(h, f.index), 1);
        ASSERT_EQ(qor.GrabFrameToFile(h, file.c_str()), 1);

        // The headers, as the BMP format has them.
        std::vector<std::uint8_t> bytes = ReadBytes(file);
        ASSERT_GE(bytes.size(), 54u);
        EXPECT_EQ(bytes[0], 'B');
        EXPECT_EQ(bytes[1], 'M');
        EXPECT_EQ(Le32(bytes, 2), bytes.size()) << "bfSize";
        const std::uint32_t offset = Le32(bytes, 10);
        EXPECT_EQ(offset, f.compression == 3 ? 66u : 54u);
        EXPECT_EQ(Le32(bytes, 14), 40u) << "BITMAPINFOHEADER";
        EXPECT_EQ(static_cast<std::int32_t>(Le32(bytes, 18)), 720);
        EXPECT_EQ(static_cast<std::int32_t>(Le32(bytes, 22)), 480) << "rows bottom first";
        EXPECT_EQ(Le16(bytes, 26), 1u);
        EXPECT_EQ(Le16(bytes, 28), f.bits);
        EXPECT_EQ(Le32(bytes, 30), f.compression);
        const std::uint32_t stride = (720 * f.bits + 31) / 32 * 4;
        EXPECT_EQ(Le32(bytes, 34), stride * 480) << "biSizeImage";
        EXPECT_EQ(bytes.size(), offset + stride * 480);
        if (f.compression == 3) {
            EXPECT_EQ(Le32(bytes, 54), 0xF800u);
            EXPECT_EQ(Le32(bytes, 58), 0x07E0u);
            EXPECT_EQ(Le32(bytes, 62), 0x001Fu);
        }

        // The independent reader: size and every pixel.
        Decoded decoded = DecodeWithImageMagick(file);
        ASSERT_TRUE(decoded.ok);
        EXPECT_TRUE(decoded.format == "BMP" || decoded.format == "BMP3") << decoded.format;
        ASSERT_EQ(decoded.width, 720);
        ASSERT_EQ(decoded.height, 480);
        int wrong = 0;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 720; ++x)
                if (Quantise(decoded.picture.At(x, y), f) != Quantise(truth.At(x, y), f) && ++wrong <= 5)
                    ADD_FAILURE() << "pixel " << x << ", " << y << ": ImageMagick reads "
                                  << Hex(decoded.picture.At(x, y)) << ", the frame has " << Hex(truth.At(x, y));
        EXPECT_EQ(wrong, 0);
        for (const Point& p : points)
            EXPECT_EQ(Quantise(decoded.picture.At(p.rawX - 255, p.rawY - 255), f), Quantise(p.colour, f))
                << "raw " << p.rawX << ", " << p.rawY;
        ASSERT_EQ(qor.UnFreeze(h), 1);
    }
}

TEST_F(Grabs, AFrameOfAnOddWidthHasPaddedRows) {
    SetEnv("KIVO_FIXED_FRAME", "1");
    std::int32_t h = OpenAndRead();
    ASSERT_EQ(qor.SetActiveSource(h, 2), 1);
    RECT viewport{3, 5, 104, 58};  // 101 x 53
    ASSERT_EQ(qor.SetCurInputViewport(h, &viewport), 1);
    Picture truth = Grab32(h);
    ASSERT_EQ(truth.width, 101);
    ASSERT_EQ(truth.height, 53);
    for (const Format& f : kFormats) {
        SCOPED_TRACE("format " + std::to_string(f.index));
        fs::path file = Path("odd.bmp");
        ASSERT_EQ(qor.FreezeAndGrabFrame(h, f.index), 1);
        ASSERT_EQ(qor.GrabFrameToFile(h, file.c_str()), 1);
        Decoded decoded = DecodeWithImageMagick(file);
        ASSERT_TRUE(decoded.ok);
        ASSERT_EQ(decoded.width, 101);
        ASSERT_EQ(decoded.height, 53);
        for (int y = 0; y < 53; ++y)
            for (int x = 0; x < 101; ++x)
                ASSERT_EQ(Quantise(decoded.picture.At(x, y), f), Quantise(truth.At(x, y), f)) << x << ", " << y;
    }
}

TEST_F(Grabs, TheFrameHasTheStandardsSize) {
    std::int32_t h = OpenAndRead();
    const std::tuple<int, int, int> cases[] = {{0, 720, 480}, {1, 768, 576}, {2, 768, 576}};
    for (auto [standard, width, height] : cases) {
        SCOPED_TRACE(standard);
        ASSERT_EQ(qor.SetSourceSystem(h, 0, standard), 1);
        ASSERT_EQ(qor.FreezeAndGrabFrame(h, 2), 1);
        fs::path file = Path("standard.bmp");
        ASSERT_EQ(qor.GrabFrameToFile(h, file.c_str()), 1);
        Decoded decoded = DecodeWithImageMagick(file);
        ASSERT_TRUE(decoded.ok);
        EXPECT_EQ(decoded.width, width);
        EXPECT_EQ(decoded.height, height);
        ASSERT_EQ(qor.UnFreeze(h), 1);
    }
}

TEST_F(Grabs, TheGrabFreezesAndTheFileHoldsTheFrozenFrame) {
    std::int32_t h = OpenAndRead();
    HWND window = MakeWindow(720, 480);
    std::int32_t x = 0, y = 0, w = 720, hh = 480;
    ASSERT_EQ(qor.SetOutputWindow(h, window, &x, &y, &w, &hh), 1);
    Picture grabbed = Grab32(h);  // live scene, no fixed frame
    std::uint64_t frozen = Generation(window);
    EXPECT_EQ(ReadWindow(window).pixels, grabbed.pixels) << "the file holds what the window shows";
    usleep(200 * 1000);
    EXPECT_EQ(Generation(window), frozen) << "the grab froze the live picture";
    EXPECT_EQ(Grab32(h).pixels, grabbed.pixels) << "grabbing again while frozen takes the same frame";
}

TEST_F(Grabs, WithoutAGrabNothingIsWrittenAndAFileThereIsKept) {
    std::int32_t h = OpenAndRead();
    fs::path file = Path("KIVOTEMP.BMP");
    sim::WriteFile(file, "an older capture");
    EXPECT_EQ(qor.GrabFrameToFile(h, file.c_str()), 0);
    EXPECT_EQ(sim::ReadFile(file), "an older capture");
    EXPECT_EQ(qor.GrabFrameToFile(h, Path("new.bmp").c_str()), 0);
    EXPECT_FALSE(fs::exists(Path("new.bmp")));
    EXPECT_EQ(qor.GrabFrameToFile(h, ""), 0);
}

TEST_F(Grabs, AFileThatCannotBeWrittenLeavesThePathAsItWas) {
    std::int32_t h = OpenAndRead();
    ASSERT_EQ(qor.FreezeAndGrabFrame(h, 2), 1);

    EXPECT_EQ(qor.GrabFrameToFile(h, Path("missing/frame.bmp").c_str()), 0);
    EXPECT_FALSE(fs::exists(Path("missing")));

    fs::create_directory(Path("folder.bmp"));
    EXPECT_EQ(qor.GrabFrameToFile(h, Path("folder.bmp").c_str()), 0);
    EXPECT_TRUE(fs::is_directory(Path("folder.bmp"))) << "a folder at the path stays";

    fs::path file = Path("frame.bmp");
    sim::WriteFile(file, "an older capture");
    {
        sim::FileSizeLimit limit(100000);  // the disk fills in the middle of the frame
        EXPECT_EQ(qor.GrabFrameToFile(h, file.c_str()), 0);
    }
    EXPECT_EQ(sim::ReadFile(file), "an older capture") << "no part of the frame, and the older file whole";
    EXPECT_EQ(FolderEntries(Folder()), (std::vector<std::string>{"folder.bmp", "frame.bmp"})) << "no temporary file is left";

    EXPECT_EQ(qor.GrabFrameToFile(h, file.c_str()), 1) << "and the next one works";
    EXPECT_EQ(fs::file_size(file), 54u + 720 * 3 * 480);
}

TEST_F(Grabs, ARelativeNameLandsInTheWorkingFolder) {
    std::int32_t h = OpenAndRead();
    fs::path before = fs::current_path();
    fs::current_path(Folder());
    ASSERT_EQ(qor.FreezeAndGrabFrame(h, 3), 1);
    std::int32_t result = qor.GrabFrameToFile(h, "KIVOTEMP.BMP");
    fs::current_path(before);
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(fs::exists(Path("KIVOTEMP.BMP")));
}

TEST_F(Grabs, AGrabReplacesAnOlderFile) {
    std::int32_t h = OpenAndRead();
    fs::path file = Path("frame.bmp");
    sim::WriteFile(file, std::string(5000000, 'x'));
    ASSERT_EQ(qor.FreezeAndGrabFrame(h, 0), 1);
    ASSERT_EQ(qor.GrabFrameToFile(h, file.c_str()), 1);
    EXPECT_EQ(fs::file_size(file), 54u + 720 * 2 * 480);
}

}  // namespace
}  // namespace kivo::test

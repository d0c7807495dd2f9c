// The screen tests run on Qt's offscreen platform: real widgets, no display.
#include "qt/screen.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!vcl::qt::OpenScreen(argc, argv)) return 1;
    int result = RUN_ALL_TESTS();
    vcl::qt::CloseScreen();
    return result;
}

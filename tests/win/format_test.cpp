#include "win/win.h"

#include <cstring>

#include <gtest/gtest.h>

TEST(Wsprintf, FormatsTextsAndSignedDecimalsWithFlags) {
    char buffer[128];
    const char* expected = "ライブラリが正しくありません [QORDCI32.DLL](0)";
    int length = wsprintfA(buffer, "%s [%s](%d)", "ライブラリが正しくありません", "QORDCI32.DLL", 0);
    EXPECT_STREQ(buffer, expected);
    EXPECT_EQ(length, static_cast<int>(std::strlen(expected)));

    wsprintfA(buffer, "%s (%d)", "ボードの初期化に失敗しました", -5);
    EXPECT_STREQ(buffer, "ボードの初期化に失敗しました (-5)");
    wsprintfA(buffer, "[%05d|%-4d|%+d|%x|%X|%u|%c|%%|%ld]", 42, 7, 3, 255, 255, 10u, 'k', 9L);
    EXPECT_STREQ(buffer, "[00042|7   |+3|ff|FF|10|k|%|9]");
    wsprintfA(buffer, "%q %s", "kept");
    EXPECT_STREQ(buffer, "%q kept");
}

TEST(Wsprintf, NeverWritesPast1024Bytes) {
    std::string huge(5000, 'a');
    char buffer[1100];
    std::memset(buffer, '#', sizeof buffer);
    int length = wsprintfA(buffer, "%s%s", huge.c_str(), huge.c_str());
    EXPECT_EQ(length, 1023);
    EXPECT_EQ(std::strlen(buffer), 1023u);
    for (std::size_t i = 1024; i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], '#') << i;
}

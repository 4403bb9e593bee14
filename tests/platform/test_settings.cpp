#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "Screen.h"
#include "Settings.h"

TEST(Window, TheLargestWholeFactorThatFitsWithATenthOfTheHeightToSpare)
{
    // width, height, window?, factor
    const int cases[][4] = {
        {1920, 1080, 1, 2}, {3840, 2160, 1, 4}, {640, 480, 1, 1},   {2560, 1440, 1, 2},
        {1920, 1200, 1, 2}, {1280, 1067, 1, 2}, {1280, 1066, 1, 1}, {7680, 4320, 1, 4},
        {1920, 1080, 0, 2}, {1280, 960, 0, 2},  {3840, 2160, 0, 4}, {320, 200, 1, 1},
    };
    for (auto [w, h, window, factor] : cases)
        EXPECT_EQ(factor, FitScale(w, h, window == 1)) << w << " x " << h << " window " << window;
}

TEST(Settings, MissingFileOrKeysMeanTheDefaultsAndABadValueSaysWhichOne)
{
    const char* file = "glowfront-settings-test.cfg";
    struct Case
    {
        const char* text;
        int scale, fullscreen, frameCap, volume;
        const char* message; // part of the one stderr line; "" for none
    };
    const Case cases[] = {
        {nullptr, 0, 0, -1, 160, ""},
        {"[Display]\nScale = 3\nFullscreen = 1\nFrameCap = 0\n[Sound]\nVolume = 0\n", 3, 1, 0, 0,
         ""},
        {"[Display]\nScale = auto\nFrameCap = auto\n", 0, 0, -1, 160, ""},
        {"[Display]\nScale = 5\n", 0, 0, -1, 160, "[Display] Scale = \"5\" is not auto or 1 to 4"},
        {"[Display]\nScale = 2x\n", 0, 0, -1, 160, "[Display] Scale = \"2x\""},
        {"[Display]\nFullscreen = yes\n", 0, 0, -1, 160,
         "[Display] Fullscreen = \"yes\" is not 0 to 1"},
        {"[Display]\nFrameCap = -3\n", 0, 0, -1, 160,
         "[Display] FrameCap = \"-3\" is not auto or 0 to 1000"},
        {"[Sound]\nVolume = 256\n", 0, 0, -1, 160, "[Sound] Volume = \"256\" is not 0 to 255"},
        {"[Other]\nScale = 4\n", 0, 0, -1, 160, ""},
        {"[Sound]\nVolume =\n", 0, 0, -1, 160, "[Sound] Volume has no value"},
    };
    for (const Case& c : cases)
    {
        std::remove(file);
        if (c.text)
            std::ofstream(file) << c.text;
        testing::internal::CaptureStderr();
        zolSettings s = ReadSettings(c.text ? file : "");
        std::string said = testing::internal::GetCapturedStderr();
        const char* what = c.text ? c.text : "(no file)";
        EXPECT_EQ(c.scale, s.scale) << what;
        EXPECT_EQ(c.fullscreen == 1, s.fullscreen) << what;
        EXPECT_EQ(c.frameCap, s.frameCap) << what;
        EXPECT_EQ(c.volume, s.volume) << what;
        if (*c.message)
            EXPECT_NE(std::string::npos, said.find(std::string(file) + ": " + c.message)) << said;
        else
            EXPECT_EQ("", said);
    }
    std::remove(file);
}

TEST(Settings, TheWorkingDirectoryComesFirstThenTheUsersConfigFolder)
{
    std::string home = std::filesystem::absolute("glowfront-xdg");
    std::string folder = home + "/glowfront";
    ASSERT_EQ(0, system(("mkdir -p " + folder).c_str()));
    std::ofstream(folder + "/glowfront-find-test.cfg") << "[Display]\n";
    setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    EXPECT_EQ(folder + "/glowfront-find-test.cfg", FindSettingsFile("glowfront-find-test.cfg"));
    std::ofstream("glowfront-find-test.cfg") << "[Display]\n";
    EXPECT_EQ("glowfront-find-test.cfg", FindSettingsFile("glowfront-find-test.cfg"));
    std::remove("glowfront-find-test.cfg");
    EXPECT_EQ("", FindSettingsFile("glowfront-nowhere.cfg"));
    unsetenv("XDG_CONFIG_HOME");
    ASSERT_EQ(0, system(("rm -rf " + home).c_str()));
}

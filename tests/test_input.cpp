#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <allegro.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "Main.h"
#include "zolTileType.h"

namespace fs = std::filesystem;

namespace
{
    // A scratch copy of the run folder, entered for the test's length.
    struct ScratchRunFolder
    {
        fs::path home = fs::current_path();
        fs::path dir = fs::temp_directory_path() / ("glowfront-input-" + std::to_string(getpid()));

        ScratchRunFolder()
        {
            fs::remove_all(dir);
            fs::create_directories(dir);
            fs::copy(home / "Data", dir / "Data");
            fs::current_path(dir);
        }
        ~ScratchRunFolder()
        {
            fs::current_path(home);
            fs::remove_all(dir);
        }
    };

    void Write(const fs::path& file, const std::string& bytes)
    {
        std::ofstream(file, std::ios::binary) << bytes;
    }

    // A BMP header that claims a picture 0 pixels wide.
    std::string ZeroWideBmp()
    {
        unsigned char header[54] = {'B', 'M', 54, 0, 0, 0, 0, 0,  0, 0, 54, 0, 0, 0,  40,
                                    0,   0,   0,  0, 0, 0, 0, 48, 0, 0, 0,  1, 0, 24, 0};
        return std::string((const char*)header, sizeof header);
    }

    std::string Head(const fs::path& file, size_t bytes)
    {
        std::ifstream in(file, std::ios::binary);
        std::string data(bytes, '\0');
        in.read(&data[0], bytes);
        data.resize(in.gcount());
        return data;
    }
}

TEST(BadInput, MaxUnitsFallsBackToItsDefaultAndSaysWhyWhenTheValueIsNoNumber)
{
    struct Case
    {
        const char* content;
        int cap;
        const char* message;
    };
    const Case cases[] = {
        {nullptr, 1500, ""}, // no file at all
        {"", 1500, ""},
        {"[Other]\nMaxUnits = 10\n", 1500, ""},
        {"[Limits]\nSpeed = 3\n", 1500, ""},
        {"[Limits]\nMaxUnits = 3000\n", 3000, ""},
        {"[Limits]\nMaxUnits = 0\n", 0, "no hive will ever spawn"},
        {"[Limits]\nMaxUnits = -5\n", -5, "no hive will ever spawn"},
        {"[Limits]\nMaxUnits = 99999999999\n", 1500, "not a whole number"},
        {"[Limits]\nMaxUnits = lots\n", 1500, "not a whole number"},
        {"[Limits]\nMaxUnits = 12abc\n", 1500, "not a whole number"},
    };
    ScratchRunFolder folder;
    for (const Case& c : cases)
    {
        fs::remove("MaxUnits.cfg");
        if (c.content)
            Write("MaxUnits.cfg", c.content);
        testing::internal::CaptureStderr();
        EXPECT_EQ(c.cap, ReadMaxUnits("MaxUnits.cfg")) << (c.content ? c.content : "(missing)");
        std::string said = testing::internal::GetCapturedStderr();
        if (*c.message)
            EXPECT_NE(std::string::npos, said.find(c.message)) << said;
        else
            EXPECT_EQ("", said);
    }
}

TEST(BadInput, EveryBrokenPictureIsNamedAndNothingStaysLoaded)
{
    const char* start[6] = {"Title", "RedWins", "BlueWins", "VsComputer", "VsPlayer", "Exit"};
    const char* tiles[4] = {"Floor", "Hive", "Trainer", "Thorns"};
    ScratchRunFolder folder;
    ReleaseTiles();
    for (int damage = 0; damage < 5; damage++)
        for (int i = 0; i < 10; i++)
        {
            std::string name = std::string("Data/") + (i < 6 ? start[i] : tiles[i - 6]) + ".bmp";
            std::string good = Head(name, 1 << 21);
            if (damage == 0)
                fs::remove(name);
            if (damage == 1)
                Write(name, "");
            if (damage == 2)
                Write(name, "not a picture at all");
            if (damage == 3)
                Write(name, ZeroWideBmp());
            if (damage == 4)
                Write(name, good.substr(0, 2000));

            BITMAP* pictures[6];
            const char* failed = nullptr;
            if (i < 6)
                failed = LoadStartPictures(pictures);
            else if (BuildTiles(&failed))
                failed = nullptr;
            ASSERT_NE(nullptr, failed) << name << " damaged " << damage;
            EXPECT_EQ(name, failed);
            EXPECT_TRUE(g_pvTileTypes.empty());
            Write(name, good);
        }

    // A tile source of another size is scaled to a tile.
    BITMAP* big = create_bitmap(64, 64);
    clear_to_color(big, makecol(200, 100, 50));
    save_bmp("Data/Floor.bmp", big, nullptr);
    destroy_bitmap(big);
    ASSERT_TRUE(BuildTiles());
    EXPECT_EQ(32, g_pvTileTypes[1]->GetLit()->w);
    EXPECT_EQ(makecol(200, 100, 50), getpixel(g_pvTileTypes[1]->GetLit(), 16, 16));
    ReleaseTiles();
    fs::current_path(folder.home);
    ASSERT_TRUE(BuildTiles());
}

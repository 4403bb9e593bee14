#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "Pictures.h"
#include "TestSupport.h"

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

    std::string Head(const fs::path& file, size_t bytes)
    {
        std::ifstream in(file, std::ios::binary);
        std::string data(bytes, '\0');
        in.read(&data[0], bytes);
        return data;
    }
}

TEST(BadInput, MaxUnitsFallsBackToItsDefaultAndSaysWhyWhenTheValueIsNoNumber)
{
    const struct
    {
        const char* content; // null: no file at all
        int cap;
        const char* message;
    } cases[] = {
        {nullptr, 1500, ""},
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
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.content ? c.content : "(missing)");
        fs::remove("MaxUnits.cfg");
        if (c.content)
            Write("MaxUnits.cfg", c.content);
        testing::internal::CaptureStderr();
        EXPECT_EQ(c.cap, ReadMaxUnits("MaxUnits.cfg"));
        std::string said = testing::internal::GetCapturedStderr();
        if (*c.message)
            EXPECT_NE(std::string::npos, said.find(c.message)) << said;
        else
            EXPECT_EQ("", said);
    }
}

TEST(BadInput, EveryBrokenPictureIsNamedAndNothingStaysLoaded)
{
    // Missing, empty, not a picture, and a BMP header that claims a picture 0 pixels wide.
    const unsigned char zeroWide[54] = {'B', 'M', 54, 0, 0, 0, 0, 0,  0, 0, 54, 0, 0, 0,  40,
                                        0,   0,   0,  0, 0, 0, 0, 48, 0, 0, 0,  1, 0, 24, 0};
    const std::string damages[4] = {"", "", "not a picture at all",
                                    std::string((const char*)zeroWide, sizeof zeroWide)};
    ScratchRunFolder folder;
    ReleaseTiles();
    // The start pictures, then the tile sources.
    for (int d = 0; d < 4; d++)
        for (int picture = PIC_Title; picture <= PIC_Thorns; picture++)
        {
            std::string name = PicturePath(picture), good = Head(name, 1 << 21);
            SCOPED_TRACE(name + " damaged " + std::to_string(d));
            if (d == 0)
                fs::remove(name);
            else
                Write(name, damages[d]);
            BITMAP* pictures[6];
            const char* failed = nullptr;
            if (picture < PIC_Floor)
                failed = LoadStartPictures(pictures);
            else if (BuildTiles(&failed))
                failed = nullptr;
            ASSERT_NE(nullptr, failed);
            EXPECT_EQ(name, failed);
            EXPECT_TRUE(g_pvTileTypes.empty());
            Write(name, good);
        }

    // A truncated picture still loads, and a tile source of another size is scaled to a tile.
    Write(PicturePath(PIC_Title), Head(PicturePath(PIC_Title), 2000));
    BITMAP* pictures[6];
    ASSERT_EQ(nullptr, LoadStartPictures(pictures));
    ReleaseStartPictures(pictures);
    BITMAP* big = create_bitmap(64, 64);
    clear_to_color(big, makecol(200, 100, 50));
    save_bmp(PicturePath(PIC_Floor), big, nullptr);
    destroy_bitmap(big);
    ASSERT_TRUE(BuildTiles());
    EXPECT_EQ(32, g_pvTileTypes[TILE_FLOOR]->GetLit()->w);
    EXPECT_EQ(makecol(200, 100, 50), getpixel(g_pvTileTypes[TILE_FLOOR]->GetLit(), 16, 16));
    ReleaseTiles();
    fs::current_path(folder.home);
    ASSERT_TRUE(BuildTiles());
}

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "Pictures.h"
#include "TestSupport.h"

namespace fs = std::filesystem;

// Each test in a scratch copy of the run folder, where it may break files.
struct BadInput : testing::Test
{
    void SetUp() override
    {
        fs::create_directories(dir);
        fs::copy(home / "Data", dir / "Data", fs::copy_options::recursive);
        fs::current_path(dir);
    }
    void TearDown() override
    {
        fs::current_path(home);
        fs::remove_all(dir);
    }
    void Write(const char* file, const std::string& bytes)
    {
        std::ofstream(file, std::ios::binary) << bytes;
    }

    fs::path home = fs::current_path();
    fs::path dir = fs::temp_directory_path() / ("glowfront-input-" + std::to_string(getpid()));
};

TEST_F(BadInput, MaxUnitsFallsBackToItsDefaultAndSaysWhyWhenTheValueIsNoNumber)
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

TEST_F(BadInput, EveryBrokenPictureIsNamedAndNothingStaysLoaded)
{
    // Missing, empty, not a picture, a BMP header that claims a picture 0 pixels wide, and a
    // picture cut short.
    const unsigned char zeroWide[54] = {'B', 'M', 54, 0, 0, 0, 0, 0,  0, 0, 54, 0, 0, 0,  40,
                                        0,   0,   0,  0, 0, 0, 0, 48, 0, 0, 0,  1, 0, 24, 0};
    const std::string damages[4] = {"", "", "not a picture at all",
                                    std::string((const char*)zeroWide, sizeof zeroWide)};
    const int pictures[] = {PIC_Title,    PIC_RedWins,  PIC_BlueWins,  PIC_VsComputer, PIC_VsPlayer,
                            PIC_HostGame, PIC_JoinGame, PIC_MapChoice, PIC_Exit,       PIC_Floor,
                            PIC_Hive,     PIC_Trainer,  PIC_Thorns};
    ReleaseTiles();
    for (int d = 0; d < 5; d++)
        for (int picture : pictures)
        {
            const char* name = PicturePath(picture);
            SCOPED_TRACE(testing::Message() << name << " damaged " << d);
            std::ifstream good(home / name, std::ios::binary);
            std::string cut(2000, '\0');
            good.read(&cut[0], cut.size());
            d ? Write(name, d < 4 ? damages[d] : cut) : (void)fs::remove(name);
            BITMAP* loaded[START_PICTURES];
            const char* failed = nullptr;
            if (picture < PIC_Floor || picture > PIC_Thorns)
                failed = LoadStartPictures(loaded);
            else if (BuildTiles(&failed))
                failed = nullptr;
            ASSERT_NE(nullptr, failed);
            EXPECT_STREQ(name, failed);
            EXPECT_TRUE(g_pvTileTypes.empty());
            fs::copy_file(home / name, name, fs::copy_options::overwrite_existing);
        }
    // A tile source of another size is scaled to a tile.
    BITMAP* big = create_bitmap(64, 64);
    clear_to_color(big, makecol(200, 100, 50));
    save_bmp(PicturePath(PIC_Floor), big, nullptr);
    destroy_bitmap(big);
    ASSERT_TRUE(BuildTiles());
    EXPECT_EQ(32, g_pvTileTypes[TILE_FLOOR]->GetLit()->w);
    EXPECT_EQ(makecol(200, 100, 50), getpixel(g_pvTileTypes[TILE_FLOOR]->GetLit(), 16, 16));
    ReleaseTiles();
    fs::current_path(home);
    ASSERT_TRUE(BuildTiles());
}

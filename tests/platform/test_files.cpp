#include <chrono>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "zolBmpGen.h"
#include "zolRandom.h"

using Clock = std::chrono::steady_clock;

static std::string Put(uint32_t v, int bytes)
{
    return bytes ? (char)v + Put(v >> 8, bytes - 1) : "";
}

// A 2 x 2 BMP, top row red, bottom row blue, at the given depth (12: the OS/2 header, 24 bits).
// red16 picks 5-5-5 (0x7C00) or 5-6-5 (0xF800) bit fields.
static std::string Bmp(int bits, uint32_t compression = 0, uint32_t red16 = 0x7C00)
{
    bool os2 = bits == 12;
    bits = os2 ? 24 : bits;
    uint32_t green = bits == 32 ? 0xFF00 : red16 == 0xF800 ? 0x7E0 : 0x3E0;
    std::string masks =
        Put(bits == 16 ? red16 : 0xFF0000, 4) + Put(green, 4) + Put(bits == 32 ? 0xFF : 0x1F, 4);
    std::string extra = bits <= 8 ? Put(0xFF0000, 4) + Put(0xFF, 4) : compression ? masks : "";
    std::string info =
        os2 ? Put(12, 4) + Put(2 | 2 << 16, 4) + Put(1 | 24 << 16, 4)
            : Put(40, 4) + Put(2, 4) + Put(2, 4) + Put(1 | bits << 16, 4) + Put(compression, 24);
    auto row = [bits](uint32_t p)
    {
        std::string r = bits < 8 ? Put(p, 1) : Put(p, bits / 8) + Put(p, bits / 8);
        return r + std::string((4 - r.size() % 4) % 4, 0);
    };
    // Bottom row first: blue, then red.
    uint32_t blue = bits == 1 ? 0xC0 : bits == 4 ? 0x11 : bits == 8 ? 1 : bits == 16 ? 0x1F : 0xFF;
    uint32_t red = bits <= 8 ? 0 : bits == 16 ? red16 : 0xFF0000;
    std::string pixels = row(blue) + row(red);
    uint32_t at = 14 + info.size() + extra.size();
    return "BM" + Put(at + pixels.size(), 4) + Put(0, 4) + Put(at, 4) + info + extra + pixels;
}

// Writes a file into a folder of the test's own, removed at the end; returns its path.
static std::string Write(const std::string& name, const std::string& bytes)
{
    static struct Folder
    {
        std::string path = "/tmp/glowfront_files_" + std::to_string(getpid()) + "/";
        Folder() { std::filesystem::create_directory(path); }
        ~Folder() { std::filesystem::remove_all(path); }
    } folder;
    std::ofstream(folder.path + name, std::ios::binary) << bytes;
    return folder.path + name;
}

static std::string Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(PictureCheck, EveryDepthTheLibraryReadsGivesTheSamePicture)
{
    const int cases[][3] = {{1, 0, 0},  {4, 0, 0},  {8, 0, 0},       {16, 0, 0x7C00}, {24, 0, 0},
                            {32, 0, 0}, {12, 0, 0}, {16, 3, 0x7C00}, {16, 3, 0xF800}, {32, 3, 0}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c[0] << " bits, compression " << c[1]);
        BITMAP* bmp = zolLoadPicture(Write("depth.bmp", Bmp(c[0], c[1], c[2])).c_str());
        ASSERT_NE(nullptr, bmp);
        EXPECT_EQ(makecol(255, 0, 0), getpixel(bmp, 1, 0));
        EXPECT_EQ(makecol(0, 0, 255), getpixel(bmp, 0, 1));
        destroy_bitmap(bmp);
    }
}

TEST(PictureCheck, RefusesWhatTheLibraryMisreadsWithAReason)
{
    struct
    {
        size_t at;
        int value;
        int bytes;
        const char* why;
    } cases[] = {
        {18, 65536, 4, "65536 x 2 pixels, more than 640 x 480"},
        {22, 481, 4, "2 x 481 pixels, more than 640 x 480"},
        {18, -2, 4, "-2 x 2 pixels: nothing to draw"},
        {22, -2, 4, "rows stored top-down, which the library cannot read"},
        {28, 2, 2, "2 bits a pixel"},
        {30, 1, 4, "run-length encoded"},
        {30, 4, 4, "compression 4, unknown"},
        {30, 3, 4, "bit fields the library cannot read"},
        {10, 55, 4, "pixel data outside the file"},
        {0, 'P', 1, "not a BMP file"},
        {14, 124, 4, "a BMP header of 124 bytes; the library reads only those of 12 and 40"}};
    std::string good = Bmp(24);
    for (const auto& c : cases)
    {
        std::string why;
        EXPECT_FALSE(
            CheckPicture(good.substr(0, c.at) + Put(c.value, c.bytes) + good.substr(c.at + c.bytes),
                         640, 480, &why));
        EXPECT_EQ(c.why, why);
    }
}

TEST(PictureCheck, BuildPicturesLargerThanATileShrinkToFitKeepingTheirMask)
{
    BITMAP* wide = create_bitmap(64, 32);
    clear_to_color(wide, bitmap_mask_color(wide));
    rectfill(wide, 32, 0, 63, 31, makecol(0, 255, 0));
    std::string path = Write("wide.bmp", "");
    save_bmp(path.c_str(), wide, nullptr);
    BITMAP* small = zolLoadBuildPicture(path.c_str());
    BITMAP* kept = zolLoadBuildPicture("Data/BuildHive.bmp");
    ASSERT_TRUE(small && kept);
    EXPECT_EQ((std::vector<int>{32, 16, bitmap_mask_color(small), makecol(0, 255, 0), 20, 20}),
              (std::vector<int>{small->w, small->h, getpixel(small, 15, 8), getpixel(small, 16, 8),
                                kept->w, kept->h}));
    for (BITMAP* bmp : {wide, small, kept})
        destroy_bitmap(bmp);
}

// Seeded damage, mostly to the headers, of the game's own pictures and of crafted ones: each loads
// within its limits, exactly when the check passes it, or is refused; never slowly.
TEST(PictureCheck, DamagedPicturesLoadOrAreRefusedQuickly)
{
    std::vector<std::string> sources = {Bmp(1), Bmp(8), Bmp(16, 3, 0xF800), Bmp(32), Bmp(12)};
    for (const char* name : {"Title", "Exit", "Floor", "BuildTrainer"})
        sources.push_back(Read(std::string("Data/") + name + ".bmp"));
    zolSeedRand(13);
    int loaded = 0;
    for (const std::string& source : sources)
        for (int i = 0; i < 60; i++)
        {
            std::string bytes = source;
            for (int n = zolRand() % 4; n >= 0; n--)
                bytes[zolRand() % (zolRand() % 2 ? std::min<size_t>(64, bytes.size())
                                                 : bytes.size())] = (char)zolRand();
            bytes.resize(i % 5 ? bytes.size() : zolRand() % bytes.size());
            std::string path = Write("fuzz.bmp", bytes);
            Clock::time_point start = Clock::now();
            BITMAP* bmp = zolLoadPicture(path.c_str());
            EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
            ASSERT_EQ(CheckPictureFile(path.c_str(), 640, 480, nullptr), bmp != nullptr)
                << source.size() << ", " << i;
            if (!bmp)
                continue;
            EXPECT_LE(bmp->w * bmp->h, 640 * 480);
            destroy_bitmap(bmp);
            loaded++;
        }
    EXPECT_GT(loaded, 100); // damage to the pixels alone leaves a picture that loads
}

TEST(SettingsCheck, RefusesWhatFreezesTheLibrarysReaderWithAReason)
{
    struct
    {
        std::string text;
        const char* why;
    } cases[] = {{"[Limits]\nMaxUnits = 1500\n", ""},
                 {"  # caf\xC3\xA9 \xF0\x9F\x98\x80\r\n", ""},
                 {std::string(512, 'x') + "\n", ""},
                 {"\n" + std::string(513, 'x'), "line 2 longer than 512 bytes"},
                 {"\xFD\x80\x80\x80\x80\x80", "non-ASCII byte 0xFD on line 1"},
                 {"#\n# \xFD\x80\x80\x80\x80\x80", "malformed UTF-8 from byte 0xFD on line 2"},
                 {"# \xED\xA0\x80", "malformed UTF-8 from byte 0xED on line 1"}, // a surrogate
                 {std::string("a\r\n\0", 4), "control byte 0x00 on line 2"}};
    for (const auto& c : cases)
    {
        std::string why;
        EXPECT_EQ(!*c.why, CheckSettings(c.text, &why)) << c.why;
        EXPECT_EQ(c.why, why);
    }
    std::string why = "untouched", text = "old";
    EXPECT_TRUE(CheckSettingsFile("none.cfg", &why, &text)); // missing: the defaults hold
    EXPECT_EQ("untouched", why);
    EXPECT_EQ("", text);
    EXPECT_FALSE(CheckSettingsFile(Write("big.cfg", std::string(65537, '\n')).c_str(), &why));
    EXPECT_EQ("65537 bytes, more than 65536", why);
}

// Seeded bytes and runs put into the game's own settings: whatever the check passes, the library's
// reader gets through at once.
TEST(SettingsCheck, DamagedSettingsAreReadQuicklyOrRefused)
{
    zolSeedRand(31);
    int passed = 0;
    for (int i = 0; i < 2000; i++)
    {
        std::string text = Read("MaxUnits.cfg");
        for (int n = zolRand() % 3; n >= 0; n--)
            text.insert(zolRand() % (text.size() + 1),
                        std::string(zolRand() % 4 ? 1 : zolRand() % 600, (char)zolRand()));
        if (!CheckSettings(text, nullptr))
            continue;
        Clock::time_point start = Clock::now();
        set_config_data(text.data(), (int)text.size());
        get_config_string("Limits", "MaxUnits", nullptr);
        EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(100));
        passed++;
    }
    set_config_file("");
    EXPECT_GT(passed, 200);
}

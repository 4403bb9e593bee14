#include <cstring>
#include <fstream>
#include <regex>

#include "KeyConfig.h"
#include "Keyboard.h"
#include "Settings.h"
#include "TestSupport.h"

// Key presses as the library's input thread reports them (a scancode, 0x80 set on release), and
// the keys of each side as a player's settings make them.
namespace
{
    void Down(int k)
    {
        keyboard_lowlevel_callback(k);
        key[k] = 1;
    }
    void Up(int k)
    {
        keyboard_lowlevel_callback(k | 0x80);
        key[k] = 0;
    }
    void Tap(int k)
    {
        Down(k);
        Up(k);
    }

    struct Latch : testing::Test
    {
        void SetUp() override
        {
            memset((void*)key, 0, KEY_MAX);
            WatchPresses();
        }
        void TearDown() override { keyboard_lowlevel_callback = nullptr; }
    };
}

TEST_F(Latch, EveryTapIsTakenOnceHeldKeysCountOnceAndANewScreenForgetsThem)
{
    for (int i = 0; i < 3; i++)
        Tap(KEY_D);
    Down(KEY_E);
    keyboard_lowlevel_callback(KEY_E); // the system repeating a held key
    for (int i = 0; i < 3; i++)
        EXPECT_TRUE(TakeTap(KEY_D)) << i;
    EXPECT_FALSE(TakeTap(KEY_D));
    EXPECT_TRUE(TakeTap(KEY_E));
    EXPECT_FALSE(TakeTap(KEY_E));
    EXPECT_TRUE(key[KEY_E]) << "a tap leaves key[] as it stands";

    Tap(KEY_ESC);
    ForgetPresses();
    EXPECT_FALSE(TakePress(KEY_ESC)) << "pressed on the screen before";
    Up(KEY_E);
    Tap(KEY_P);
    EXPECT_TRUE(TakePress(KEY_P));
    EXPECT_FALSE(TakePress(KEY_P));
}

TEST_F(Latch, EightTapsBetweenTwoLooksMoveTheCursorEightTilesOneATick)
{
    zolMap* map = MakeFloorMap(20, 1, 20);
    int cursor[2] = {0, 0};
    for (int i = 0; i < 8; i++)
        Tap(g_dwvRedKeys[SK_RIGHT]);
    zolKeyboardSide red(true);
    for (int tick = 1; tick <= 10; tick++)
    {
        red.Tick(cursor, map, 20, 1);
        EXPECT_EQ(tick <= 8 ? tick : 8, cursor[0]) << "tick " << tick;
        // What a tick read is what a recording keeps of it.
        EXPECT_EQ(tick <= 8 ? 1u << SK_RIGHT : 0u, red.GetLastKeys());
    }
    delete map;
}

TEST(KeyTables, EachBadEntryIsNamedAndItsSideKeepsItsWholeDefaultTable)
{
    using Entries = std::vector<std::pair<std::string, std::string>>;
    struct Case
    {
        Entries entries;
        const char* said;    // "" when every entry is taken
        int red[2], blue[2]; // Right and North afterwards
    } cases[] = {
        {{{"Red.Right", "L"}, {"blue.north", "o"}}, "", {KEY_L, KEY_Y}, {KEY_RIGHT, KEY_O}},
        {{{"Red.Right", "L"}, {"Red.North", "Fred"}},
         "f: [Keys] Red.North = \"Fred\" is no key's name (the README lists them); red keeps its "
         "default keys.\n",
         {KEY_D, KEY_Y},
         {KEY_RIGHT, KEY_8_PAD}},
        {{{"Red.Jump", "Q"}, {"Blue.North", "Pad5"}},
         "f: [Keys] Red.Jump = \"Q\" is no key of a side (Red.Left to Blue.Remove).\n"
         "f: [Keys] Blue.North = \"Pad5\" is a key blue has already; blue keeps its default "
         "keys.\n",
         {KEY_D, KEY_Y},
         {KEY_RIGHT, KEY_8_PAD}},
        {{{"Blue.Right", "D"}},
         "f: [Keys] Blue.Right = \"D\" is a key red has already; blue keeps its default keys.\n",
         {KEY_D, KEY_Y},
         {KEY_RIGHT, KEY_8_PAD}},
        {{{"Red.Up", "Up"}},
         "f: [Keys] Red.Up = \"Up\" is a key blue has already; red keeps its default keys.\n",
         {KEY_D, KEY_Y},
         {KEY_RIGHT, KEY_8_PAD}},
        {{{"Red.Clear", "P"}, {"Blue.Hive", ""}},
         "f: [Keys] Red.Clear = \"P\" is the pause key; red keeps its default keys.\n"
         "f: [Keys] Blue.Hive = \"\" has no value; blue keeps its default keys.\n",
         {KEY_D, KEY_Y},
         {KEY_RIGHT, KEY_8_PAD}},
    };
    for (const Case& c : cases)
    {
        testing::internal::CaptureStderr();
        bool taken = SetKeyTables("f", c.entries);
        EXPECT_EQ(c.said, testing::internal::GetCapturedStderr());
        EXPECT_EQ(!*c.said, taken);
        EXPECT_EQ(c.red[0], g_dwvRedKeys[SK_RIGHT]);
        EXPECT_EQ(c.red[1], g_dwvRedKeys[SK_NORTH]);
        EXPECT_EQ(c.blue[0], g_dwvBlueKeys[SK_RIGHT]);
        EXPECT_EQ(c.blue[1], g_dwvBlueKeys[SK_NORTH]);
    }
    SetKeyTables("f", {});
    EXPECT_EQ(0, memcmp(g_dwvRedKeys, g_dwvDefaultRedKeys, sizeof g_dwvRedKeys));
    EXPECT_EQ("keys WASD", DescribeMoves(true));
    EXPECT_EQ("arrows", DescribeMoves(false));
    // Every name the README lists reads back as its key.
    int count;
    const int* keys = NamedKeys(&count);
    for (int i = 0; i < count; i++)
        EXPECT_EQ(keys[i], KeyOfName(KeyName(keys[i]))) << KeyName(keys[i]);
}

TEST(KeyTables, TheLaptopTableTheInstalledSettingsOfferIsTakenWhole)
{
    std::ifstream in(GLOWFRONT_SOURCE_DIR "/run/glowfront.cfg");
    std::string text((std::istreambuf_iterator<char>(in)), {});
    ASSERT_NE(std::string::npos, text.find("[Keys]"));
    text = std::regex_replace(text, std::regex("\n# Blue\\."), "\nBlue.");
    testing::internal::CaptureStderr();
    EXPECT_TRUE(SetKeyTables("glowfront.cfg", SectionEntries(text, "Keys")));
    EXPECT_EQ("", testing::internal::GetCapturedStderr());
    EXPECT_EQ(KEY_O, g_dwvBlueKeys[SK_NORTH]);
    EXPECT_EQ(KEY_SLASH, g_dwvBlueKeys[SK_HIVE]);
    SetKeyTables("f", {});
}

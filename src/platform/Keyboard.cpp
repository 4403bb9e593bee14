#include "Keyboard.h"

#include <atomic>
#include <cctype>
#include <vector>

#include <allegro.h>

namespace
{
    // Presses not yet taken, and which keys are down, as the library's input thread reports
    // them. A count, not a flag: eight quick taps in one long frame are eight presses. Capped,
    // so that a key left bouncing cannot store up a flood.
    const int MOST_LATCHED = 16;
    std::atomic<int> g_dwvPresses[KEY_MAX];
    std::atomic<bool> g_bvDown[KEY_MAX];

    void OnKey(int scancode)
    {
        int k = scancode & 0x7F;
        bool down = !(scancode & 0x80);
        if (down && !g_bvDown[k] && g_dwvPresses[k] < MOST_LATCHED)
            g_dwvPresses[k]++;
        g_bvDown[k] = down;
    }

    struct Named
    {
        int scancode;
        const char* name;
    };

    // The keys a player may give a side, beyond the letters and digits. The shell's own keys
    // (Esc, Enter, P and the function keys) are not among them.
    const Named WORDS[] = {
        {KEY_LEFT, "Left"},
        {KEY_RIGHT, "Right"},
        {KEY_UP, "Up"},
        {KEY_DOWN, "Down"},
        {KEY_0_PAD, "Pad0"},
        {KEY_1_PAD, "Pad1"},
        {KEY_2_PAD, "Pad2"},
        {KEY_3_PAD, "Pad3"},
        {KEY_4_PAD, "Pad4"},
        {KEY_5_PAD, "Pad5"},
        {KEY_6_PAD, "Pad6"},
        {KEY_7_PAD, "Pad7"},
        {KEY_8_PAD, "Pad8"},
        {KEY_9_PAD, "Pad9"},
        {KEY_SLASH_PAD, "PadSlash"},
        {KEY_ASTERISK, "PadStar"},
        {KEY_MINUS_PAD, "PadMinus"},
        {KEY_PLUS_PAD, "PadPlus"},
        {KEY_DEL_PAD, "PadDot"},
        {KEY_ENTER_PAD, "PadEnter"},
        {KEY_SPACE, "Space"},
        {KEY_TAB, "Tab"},
        {KEY_BACKSPACE, "Backspace"},
        {KEY_INSERT, "Insert"},
        {KEY_DEL, "Delete"},
        {KEY_HOME, "Home"},
        {KEY_END, "End"},
        {KEY_PGUP, "PageUp"},
        {KEY_PGDN, "PageDown"},
        {KEY_MINUS, "Minus"},
        {KEY_EQUALS, "Equals"},
        {KEY_OPENBRACE, "OpenBracket"},
        {KEY_CLOSEBRACE, "CloseBracket"},
        {KEY_COLON, "Semicolon"}, // the library names the key by its shifted sign
        {KEY_QUOTE, "Quote"},
        {KEY_BACKSLASH, "Backslash"},
        {KEY_COMMA, "Comma"},
        {KEY_STOP, "Period"},
        {KEY_SLASH, "Slash"},
        {KEY_TILDE, "Backquote"},
        {KEY_LSHIFT, "LeftShift"},
        {KEY_RSHIFT, "RightShift"},
        {KEY_LCONTROL, "LeftCtrl"},
        {KEY_RCONTROL, "RightCtrl"},
        {KEY_ALT, "Alt"},
        {KEY_ALTGR, "AltGr"},
    };

    const std::vector<int>& AllNamed()
    {
        static const std::vector<int> keys = []
        {
            std::vector<int> k;
            for (int c = KEY_A; c <= KEY_Z; c++)
                if (c != KEY_P) // pauses the game
                    k.push_back(c);
            for (int c = KEY_0; c <= KEY_9; c++)
                k.push_back(c);
            for (const Named& w : WORDS)
                k.push_back(w.scancode);
            return k;
        }();
        return keys;
    }
}

void WatchPresses()
{
    for (int k = 0; k < KEY_MAX; k++)
    {
        g_dwvPresses[k] = 0;
        g_bvDown[k] = false;
    }
    keyboard_lowlevel_callback = OnKey;
}

void ForgetPresses()
{
    for (int k = 0; k < KEY_MAX; k++)
        g_dwvPresses[k] = 0;
}

bool TakeTap(int scancode)
{
    if (scancode < 0 || scancode >= KEY_MAX)
        return false;
    // Taken only if one is there: the input thread may add one meanwhile, never lose one.
    int n = g_dwvPresses[scancode];
    while (n > 0 && !g_dwvPresses[scancode].compare_exchange_weak(n, n - 1))
    {
    }
    return n > 0;
}

bool TakePress(int scancode)
{
    if (!TakeTap(scancode))
        return false;
    key[scancode] = 0;
    return true;
}

std::string KeyName(int scancode)
{
    if (scancode >= KEY_A && scancode <= KEY_Z)
        return std::string(1, (char)('A' + scancode - KEY_A));
    if (scancode >= KEY_0 && scancode <= KEY_9)
        return std::string(1, (char)('0' + scancode - KEY_0));
    for (const Named& w : WORDS)
        if (w.scancode == scancode)
            return w.name;
    return "";
}

int KeyOfName(const std::string& name)
{
    auto same = [&](const std::string& other)
    {
        if (other.size() != name.size())
            return false;
        for (size_t i = 0; i < name.size(); i++)
            if (tolower((unsigned char)name[i]) != tolower((unsigned char)other[i]))
                return false;
        return true;
    };
    for (int k : AllNamed())
        if (same(KeyName(k)))
            return k;
    return -1;
}

const int* NamedKeys(int* count)
{
    *count = (int)AllNamed().size();
    return AllNamed().data();
}

#include "Keyboard.h"

#include <atomic>

#include <allegro.h>

namespace
{
    // Waits for the key to be let go, then forgets it: a press that closed one screen must not
    // act again on the next, which may read the key as it stands.
    void Release(int scancode)
    {
        while (key[scancode])
            rest(10);
        key[scancode] = 0;
    }

    // Presses since each key was last asked about, and which keys are down, as the library's
    // input thread reports them: a tap shorter than a frame still counts, and a held key
    // counts once however often the system repeats it.
    std::atomic<bool> g_bvPressed[KEY_MAX];
    std::atomic<bool> g_bvDown[KEY_MAX];

    void OnKey(int scancode)
    {
        int k = scancode & 0x7F;
        bool down = !(scancode & 0x80);
        if (down && !g_bvDown[k])
            g_bvPressed[k] = true;
        g_bvDown[k] = down;
    }
}

void WatchPresses()
{
    for (int k = 0; k < KEY_MAX; k++)
        g_bvPressed[k] = g_bvDown[k] = false;
    keyboard_lowlevel_callback = OnKey;
}

bool TakePress(int scancode)
{
    bool pressed = scancode >= 0 && scancode < KEY_MAX && g_bvPressed[scancode].exchange(false);
    if (pressed)
        Release(scancode);
    return pressed;
}

#include "Screen.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include <allegro.h>

#include "Settings.h"

namespace
{
    const int DEPTHS[4] = {32, 16, 24, 15};

    int g_dwScale = 1;
    int g_dwOffsetX = 0, g_dwOffsetY = 0; // of the picture on the screen, in pixels
    bool g_bFullscreen = false;
    int g_dwWindowScale = 1;                // the window's factor, kept for F11's return
    int g_dwDesktopW = 0, g_dwDesktopH = 0; // 0: unknown
    int g_dwFrameCap = -1;

    using Clock = std::chrono::steady_clock;
    Clock::time_point g_tNextFrame;

    // Set on the library's own thread when the window loses the focus. A new mode's window
    // takes the focus from the old one: the player has not left for that.
    std::atomic<bool> g_bFocusLost(false);
    std::atomic<long long> g_dwModeSetAt(0); // steady clock, in milliseconds

    long long NowMs()
    {
        using namespace std::chrono;
        return duration_cast<milliseconds>(Clock::now().time_since_epoch()).count();
    }

    void OnSwitchOut()
    {
        if (NowMs() - g_dwModeSetAt > 1000)
            g_bFocusLost = true;
    }

    // One mode at the colour depth already chosen, the picture centred in it.
    bool SetMode(int card, int w, int h, int scale)
    {
        g_dwModeSetAt = NowMs();
        if (set_gfx_mode(card, w, h, 0, 0) != 0)
            return false;
        g_dwScale = scale;
        g_dwOffsetX = (SCREEN_W - PICTURE_W * scale) / 2;
        g_dwOffsetY = (SCREEN_H - PICTURE_H * scale) / 2;
        g_bFullscreen = !is_windowed_mode();
        clear_to_color(screen, makecol(0, 0, 0));
        // Running on in the background is what lets the game hear of the switch at all.
        if (set_display_switch_mode(SWITCH_BACKGROUND) == 0)
            set_display_switch_callback(SWITCH_OUT, OnSwitchOut);
        g_dwModeSetAt = NowMs();
        g_bFocusLost = false;
        return true;
    }

    bool SetWindow(int scale)
    {
        return SetMode(GFX_AUTODETECT_WINDOWED, PICTURE_W * scale, PICTURE_H * scale, scale);
    }

    // Full screen at the desktop's own size, which every monitor can show.
    bool SetFullscreen()
    {
        if (g_dwDesktopW <= 0 || g_dwDesktopH <= 0)
            return false;
        return SetMode(GFX_AUTODETECT_FULLSCREEN, g_dwDesktopW, g_dwDesktopH,
                       FitScale(g_dwDesktopW, g_dwDesktopH, false));
    }
}

int FitScale(int w, int h, bool window)
{
    int scale = 4;
    while (scale > 1 && (PICTURE_W * scale > w ||
                         (window ? PICTURE_H * scale * 10 > h * 9 : PICTURE_H * scale > h)))
        scale--;
    return scale;
}

bool OpenScreen(const zolSettings& settings)
{
    // The desktop's size is only known before the first mode is set.
    if (get_desktop_resolution(&g_dwDesktopW, &g_dwDesktopH) != 0)
        g_dwDesktopW = g_dwDesktopH = 0;
    int fits = g_dwDesktopW > 0 ? FitScale(g_dwDesktopW, g_dwDesktopH, true) : 4;
    g_dwWindowScale = settings.scale > 0 ? settings.scale : g_dwDesktopW > 0 ? fits : 1;
    // A window taller than the screen hides its own bottom, where the armies are.
    if (g_dwWindowScale > fits)
    {
        fprintf(stderr,
                "glowfront: Scale = %d makes a window larger than the %d x %d screen; showing it "
                "at %d.\n",
                g_dwWindowScale, g_dwDesktopW, g_dwDesktopH, fits);
        g_dwWindowScale = fits;
    }
    for (int depth : DEPTHS)
    {
        set_color_depth(depth);
        if (settings.fullscreen && SetFullscreen())
            return true;
        if (SetWindow(g_dwWindowScale))
            return true;
    }
    for (int depth : DEPTHS)
    {
        set_color_depth(depth);
        if (SetMode(GFX_AUTODETECT, PICTURE_W, PICTURE_H, 1))
            return true;
    }
    return false;
}

void ShowPicture(BITMAP* picture)
{
    if (g_dwScale == 1)
        blit(picture, screen, 0, 0, g_dwOffsetX, g_dwOffsetY, PICTURE_W, PICTURE_H);
    else
        stretch_blit(picture, screen, 0, 0, PICTURE_W, PICTURE_H, g_dwOffsetX, g_dwOffsetY,
                     PICTURE_W * g_dwScale, PICTURE_H * g_dwScale);
}

bool ToggleFullscreen()
{
    bool wasFullscreen = g_bFullscreen;
    if (wasFullscreen ? SetWindow(g_dwWindowScale) : SetFullscreen())
        return true;
    // Back to what worked: a mode that failed leaves no screen at all.
    if (wasFullscreen ? SetFullscreen() : SetWindow(g_dwWindowScale))
        return false;
    SetMode(GFX_AUTODETECT, PICTURE_W, PICTURE_H, 1);
    return false;
}

void SetFrameCap(int framesPerSecond)
{
    g_dwFrameCap = framesPerSecond;
    g_tNextFrame = Clock::now();
}

void WaitForFrame()
{
    int rate = g_dwFrameCap < 0 ? RefreshRate() : g_dwFrameCap;
    if (rate == 0)
        return;
    auto period = std::chrono::microseconds(1000000 / rate);
    std::this_thread::sleep_until(g_tNextFrame);
    Clock::time_point now = Clock::now();
    g_tNextFrame = now - g_tNextFrame > period ? now + period : g_tNextFrame + period;
}

bool TakeFocusLost()
{
    return g_bFocusLost.exchange(false);
}

int RefreshRate()
{
    int rate = get_refresh_rate();
    return rate > 0 ? rate : 60;
}

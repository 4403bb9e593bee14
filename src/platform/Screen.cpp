#include "Screen.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include <allegro.h>

#include "Blocks.h"
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
    // Set on the library's thread when the focus comes back: whatever covered the window may
    // have left its mark there.
    std::atomic<bool> g_bSwitchedIn(false);

    // Owned, kept to the end; null where memory ran out.
    BITMAP* g_pShown = nullptr; // the picture as last sent
    BITMAP* g_pLarge = nullptr; // the picture enlarged, where blocks go on their way to the screen
    bool g_bSendWhole = true;   // the screen may not show g_pShown: send every block
    zolPresented g_presented = {0, 0};

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

    void OnSwitchIn()
    {
        g_bSwitchedIn = true;
    }

    // Makes bmp anew unless it already has that depth and size; true when it did.
    bool Fit(BITMAP*& bmp, int depth, int w, int h)
    {
        if (bmp && bitmap_color_depth(bmp) == depth && bmp->w == w && bmp->h == h)
            return false;
        if (bmp)
            destroy_bitmap(bmp);
        bmp = create_bitmap_ex(depth, w, h);
        return true;
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
        {
            set_display_switch_callback(SWITCH_OUT, OnSwitchOut);
            set_display_switch_callback(SWITCH_IN, OnSwitchIn);
        }
        g_dwModeSetAt = NowMs();
        g_bFocusLost = false;
        g_bSendWhole = true;
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
    static bool changed[BLOCKS];
    static zolBlockRect rects[BLOCKS / 2];
    int depth = bitmap_color_depth(picture), s = g_dwScale;
    if (g_bSwitchedIn.exchange(false))
        g_bSendWhole = true;
    if (Fit(g_pShown, depth, PICTURE_W, PICTURE_H))
        g_bSendWhole = true;
    // Enlarged in memory and sent by blit, a rectangle reaches the window in one piece;
    // stretched onto the screen, it would go line by line, each line a request of its own.
    if (s > 1)
        Fit(g_pLarge, depth, PICTURE_W * s, PICTURE_H * s);
    // Without a copy of the last picture, every frame is sent whole.
    if (g_bSendWhole || !g_pShown)
        for (bool& c : changed)
            c = true;
    else
        FindChangedBlocks(picture, g_pShown, changed);
    g_bSendWhole = false;

    int count = MergeBlocks(changed, rects);
    g_presented = {0, count};
    for (int i = 0; i < count; i++)
    {
        int x = rects[i].x * BLOCK, y = rects[i].y * BLOCK;
        int w = rects[i].w * BLOCK, h = rects[i].h * BLOCK;
        g_presented.blocks += rects[i].w * rects[i].h;
        if (g_pShown)
            blit(picture, g_pShown, x, y, x, y, w, h);
        if (s == 1)
            blit(picture, screen, x, y, g_dwOffsetX + x, g_dwOffsetY + y, w, h);
        else if (g_pLarge)
        {
            EnlargeBlocks(picture, g_pLarge, s, rects[i]);
            blit(g_pLarge, screen, x * s, y * s, g_dwOffsetX + x * s, g_dwOffsetY + y * s, w * s,
                 h * s);
        }
        else
            stretch_blit(picture, screen, x, y, w, h, g_dwOffsetX + x * s, g_dwOffsetY + y * s,
                         w * s, h * s);
    }
}

void InvalidateScreen()
{
    g_bSendWhole = true;
}

zolPresented LastPresented()
{
    return g_presented;
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

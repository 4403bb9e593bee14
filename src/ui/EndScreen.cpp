#include "EndScreen.h"

#include <algorithm>

#include <allegro.h>

#include "Hud.h"
#include "MatchStats.h"
#include "Overlay.h"
#include "Screen.h"

namespace
{
    // The armies' plot: time across, units up, from 0 to the largest army either had.
    void DrawPlot(BITMAP* bmp, int x0, int y0, int w, int h, zolMatchStats& stats, int ticks)
    {
        int grey = makecol(120, 120, 130), light = makecol(200, 200, 200);
        const auto& armies = stats.GetArmies();
        int most = std::max({1, stats.GetLargest(false), stats.GetLargest(true)});
        rect(bmp, x0 - 1, y0 - 1, x0 + w, y0 + h, grey);
        textout_right_ex(bmp, font, std::to_string(most).c_str(), x0 - 4, y0, light, -1);
        textout_right_ex(bmp, font, "0", x0 - 4, y0 + h - 8, light, -1);
        textout_ex(bmp, font, "0:00", x0, y0 + h + 4, light, -1);
        textout_right_ex(bmp, font, MatchClock(ticks).c_str(), x0 + w, y0 + h + 4, light, -1);
        textout_centre_ex(bmp, font, "units, a point a second", x0 + w / 2, y0 + h + 4, grey, -1);
        if (armies.empty())
            return;
        int n = (int)armies.size();
        for (int side : {0, 1})
        {
            int ink = side ? makecol(255, 150, 70) : makecol(110, 180, 255);
            auto at = [&](int i, int* x, int* y)
            {
                *x = x0 + (n == 1 ? w / 2 : (int)((long long)i * (w - 1) / (n - 1)));
                *y = y0 + h - 1 - (int)((long long)armies[i][side] * (h - 1) / most);
            };
            int px, py;
            at(0, &px, &py);
            putpixel(bmp, px, py, ink);
            for (int i = 1; i < n; i++)
            {
                int x, y;
                at(i, &x, &y);
                line(bmp, px, py, x, y, ink);
                px = x;
                py = y;
            }
        }
    }
}

void DrawEndScreen(BITMAP* bmp, const zolEndView& view)
{
    int white = makecol(255, 255, 255), grey = makecol(200, 200, 200);
    int ink[2] = {makecol(110, 180, 255), makecol(255, 150, 70)};
    clear_to_color(bmp, makecol(12, 12, 18));
    const char* title = view.winner == 1   ? "RED WINS"
                        : view.winner == 0 ? "BLUE WINS"
                                           : "NO WINNER";
    DrawBigText(bmp, PICTURE_W / 2, 24, view.winner < 0 ? white : ink[view.winner], 4, title);
    std::string after = view.winner < 0 ? "neither side has a unit left, after "
                                        : "the other side has no unit left, after ";
    textout_centre_ex(bmp, font, (after + MatchClock(view.ticks)).c_str(), PICTURE_W / 2, 68, grey,
                      -1);

    zolMatchStats& stats = *view.stats;
    const int col[2] = {460, 330}; // by side: blue's column right of red's
    for (int side : {1, 0})
        textout_right_ex(bmp, font, side ? "red" : "blue", col[side], 96, ink[side], -1);
    const char* rows[3] = {"units born", "units lost", "largest army"};
    for (int r = 0; r < 3; r++)
    {
        int y = 112 + 14 * r;
        textout_ex(bmp, font, rows[r], 160, y, white, -1);
        for (int side : {1, 0})
        {
            int n = r == 0   ? stats.GetBorn(side)
                    : r == 1 ? stats.GetLost(side)
                             : stats.GetLargest(side);
            textout_right_ex(bmp, font, std::to_string(n).c_str(), col[side], y, ink[side], -1);
        }
    }
    for (int side : {1, 0})
        textout_centre_ex(bmp, font, view.sides[side].c_str(), PICTURE_W / 2, 166 + 12 * (1 - side),
                          ink[side], -1);
    DrawPlot(bmp, 80, 206, 480, 200, stats, view.ticks);
    textout_centre_ex(bmp, font, view.rematch ? "Enter: play again   Esc: menu" : "Esc: menu",
                      PICTURE_W / 2, PICTURE_H - 30, grey, -1);
}

bool ShowEndScreen(BITMAP* bmp, const zolEndView& view)
{
    DrawEndScreen(bmp, view);
    if (view.rematch)
        return WaitForKey(bmp, {KEY_ENTER, KEY_ESC}) == KEY_ENTER;
    WaitForKey(bmp, {KEY_ESC});
    return false;
}

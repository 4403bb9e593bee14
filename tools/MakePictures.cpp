// Draws every picture Glowfront loads. The art lives here as code rather than
// as binary files so it can be reviewed, tweaked and rebuilt byte for byte.
//
//   makepictures OUTDIR            the game's pictures, as BMP files
//   makepictures --icons OUTDIR    the desktop's icon at four sizes, as PNG files
//
// Everything is drawn with Allegro primitives on 24-bit memory bitmaps.
// Magenta is Allegro's mask colour, so the menu entries and build icons keep
// it as an exact background and never blend anything into it.

#include <allegro.h>

#include "Pictures.h"
#include "Png.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{

    struct Rgb
    {
        int r, g, b;
    };

    int Col(Rgb c)
    {
        return makecol(c.r, c.g, c.b);
    }
    int Mask()
    {
        return makecol(255, 0, 255);
    }
    int Round(float v)
    {
        return int(std::lround(v));
    }

    Rgb Mix(Rgb a, Rgb b, float t)
    {
        t = std::clamp(t, 0.0f, 1.0f);
        return {a.r + int((b.r - a.r) * t), a.g + int((b.g - a.g) * t), a.b + int((b.b - a.b) * t)};
    }

    Rgb Scale(Rgb c, float k)
    {
        auto s = [k](int v) { return std::clamp(int(v * k), 0, 255); };
        return {s(c.r), s(c.g), s(c.b)};
    }

    // Our own generator: the C library's rand() differs between platforms, and
    // the pictures must come out identical on every build machine.
    struct Rng
    {
        uint32_t state;
        uint32_t Next() { return (state = state * 1664525u + 1013904223u) >> 8; }
        int Below(int n) { return int(Next() % uint32_t(n)); }
        float Unit() { return float(Next() & 0xFFFF) / 65535.0f; }
    };

    BITMAP* NewBitmap(int w, int h, int fill)
    {
        BITMAP* b = create_bitmap(w, h);
        if (!b)
        {
            std::fprintf(stderr, "makepictures: out of memory for a %dx%d bitmap\n", w, h);
            std::exit(1);
        }
        clear_to_color(b, fill);
        return b;
    }

    bool IsMask(BITMAP* b, int x, int y)
    {
        return x < 0 || y < 0 || x >= b->w || y >= b->h || getpixel(b, x, y) == Mask();
    }

    // Light is added rather than painted so overlapping glows saturate naturally.
    void AddLight(BITMAP* b, int x, int y, Rgb c, float k)
    {
        if (k <= 0.0f || x < 0 || y < 0 || x >= b->w || y >= b->h)
            return;
        int p = getpixel(b, x, y);
        putpixel(b, x, y,
                 makecol(std::min(255, getr(p) + int(c.r * k)),
                         std::min(255, getg(p) + int(c.g * k)),
                         std::min(255, getb(p) + int(c.b * k))));
    }

    void RadialLight(BITMAP* b, float cx, float cy, float radius, Rgb c)
    {
        for (int y = 0; y < b->h; ++y)
            for (int x = 0; x < b->w; ++x)
            {
                float t = 1.0f - std::hypot(x - cx, y - cy) / radius;
                if (t > 0.0f)
                    AddLight(b, x, y, c, t * t);
            }
    }

    void VerticalGradient(BITMAP* b, Rgb top, Rgb bottom)
    {
        for (int y = 0; y < b->h; ++y)
            hline(b, 0, y, b->w - 1, Col(Mix(top, bottom, float(y) / (b->h - 1))));
    }

    // Darkens towards the corners so the eye settles on the middle of the screen.
    void Vignette(BITMAP* b, float strength)
    {
        float cx = b->w / 2.0f, cy = b->h / 2.0f, far = std::hypot(cx, cy);
        for (int y = 0; y < b->h; ++y)
            for (int x = 0; x < b->w; ++x)
            {
                float d = std::hypot(x - cx, y - cy) / far;
                int p = getpixel(b, x, y);
                putpixel(b, x, y, Col(Scale({getr(p), getg(p), getb(p)}, 1.0f - strength * d * d)));
            }
    }

    // Fills a rectangle with a colour whose brightness jitters per pixel: stone,
    // wax and soil all need grain or they look like flat plastic.
    void Grain(BITMAP* b, int x0, int y0, int x1, int y1, Rgb base, float spread, Rng& rng)
    {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                putpixel(b, x, y, Col(Scale(base, 1.0f + spread * (rng.Unit() - 0.5f))));
    }

    void Bevel(BITMAP* b, int x0, int y0, int x1, int y1, Rgb light, Rgb dark)
    {
        hline(b, x0, y0, x1, Col(light));
        vline(b, x0, y0, y1, Col(light));
        hline(b, x0 + 1, y1, x1, Col(dark));
        vline(b, x1, y0 + 1, y1, Col(dark));
    }

    void Stars(BITMAP* b, Rng& rng, int count, int calmTop, int calmBottom)
    {
        for (int i = 0; i < count; ++i)
        {
            int x = rng.Below(b->w), y = rng.Below(b->h);
            float k = 0.25f + 0.75f * rng.Unit() * rng.Unit();
            if (y > calmTop && y < calmBottom)
                k *= 0.35f; // keep the menu band quiet
            Rgb tint = Mix({255, 230, 200}, {200, 220, 255}, float(x) / b->w);
            AddLight(b, x, y, tint, k);
            if (k > 0.8f)
                for (int d = -1; d <= 1; d += 2)
                {
                    AddLight(b, x + d, y, tint, k * 0.35f);
                    AddLight(b, x, y + d, tint, k * 0.35f);
                }
        }
    }

    // Sparks rising off a front: a bright head with a fading trail below it.
    void Embers(BITMAP* b, Rng& rng, int count, int x0, int x1, int y0, int y1, Rgb c)
    {
        for (int i = 0; i < count; ++i)
        {
            int x = x0 + rng.Below(x1 - x0), y = y0 + rng.Below(y1 - y0);
            float k = 0.4f + 0.6f * rng.Unit();
            for (int t = 0; t < 5; ++t)
                AddLight(b, x, y + t, c, k * (1.0f - t / 5.0f));
        }
    }

    // A receding tile grid below the horizon, tinted from one side's colour to
    // the other's: the battlefield the two fronts fight over.
    void BattlefieldGrid(BITMAP* b, int horizon, Rgb left, Rgb right, float strength)
    {
        const float eye = 40.0f, focal = 300.0f, cell = 32.0f;
        for (int y = horizon + 1; y < b->h; ++y)
        {
            float depth = eye * focal / (y - horizon);
            float nextDepth = eye * focal / (y + 1 - horizon);
            bool rowLine = std::floor(depth / cell) != std::floor(nextDepth / cell);
            float fade = strength * std::min(1.0f, (y - horizon) / 60.0f);
            float halfPixel = 0.5f * depth / focal;
            for (int x = 0; x < b->w; ++x)
            {
                float wx = (x - b->w / 2.0f) * depth / focal;
                float off = std::fabs(wx - cell * std::round(wx / cell));
                if (rowLine || off < halfPixel)
                    AddLight(b, x, y, Mix(left, right, float(x) / b->w), fade);
            }
        }
    }

    // A loose formation of the game's 3x3 units, each with a faint halo.
    void Troops(BITMAP* b, Rng& rng, int cx, int cy, int count, Rgb c)
    {
        for (int i = 0; i < count; ++i)
        {
            int x = cx + (i % 6 - 3) * 15 + rng.Below(7), y = cy + (i / 6 - 1) * 10 + rng.Below(5);
            for (int d = 1; d <= 3; ++d)
                rect(b, x - d, y - d, x + 2 + d, y + 2 + d, Col(Scale(c, 0.28f / d)));
            rectfill(b, x, y, x + 2, y + 2, Col(c));
        }
    }

    // Grows a masked picture by one pixel of colour c wherever it touches the
    // transparent background; called repeatedly for thicker outlines.
    void Outline(BITMAP* b, int c)
    {
        BITMAP* before = NewBitmap(b->w, b->h, Mask());
        blit(b, before, 0, 0, 0, 0, b->w, b->h);
        for (int y = 0; y < b->h; ++y)
            for (int x = 0; x < b->w; ++x)
            {
                if (!IsMask(before, x, y))
                    continue;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if (!IsMask(before, x + dx, y + dy))
                            putpixel(b, x, y, c);
            }
        destroy_bitmap(before);
    }

    // The default font is only 8x8, so words are drawn small and enlarged with
    // nearest-neighbour scaling, which keeps every pixel either ink or mask.
    BITMAP* BigText(const char* text, int sx, int sy, Rgb top, Rgb bottom, int outlineWidth,
                    Rgb outline, int shadow)
    {
        int w = text_length(font, text), h = text_height(font);
        BITMAP* small = NewBitmap(w, h, Mask());
        textout_ex(small, font, text, 0, 0, makecol(255, 255, 255), -1);
        int pad = outlineWidth;
        BITMAP* out = NewBitmap(w * sx + 2 * pad + shadow, h * sy + 2 * pad + shadow, Mask());
        stretch_blit(small, out, 0, 0, w, h, pad, pad, w * sx, h * sy);
        destroy_bitmap(small);
        for (int y = 0; y < h * sy; ++y)
        {
            // A bright band a third of the way down reads as polished metal.
            float t = float(y) / (h * sy - 1);
            Rgb c = Mix(top, bottom, t);
            if (std::fabs(t - 0.3f) < 0.06f)
                c = Mix(c, {255, 255, 255}, 0.45f);
            for (int x = 0; x < w * sx; ++x)
                if (!IsMask(out, x + pad, y + pad))
                    putpixel(out, x + pad, y + pad, Col(c));
        }
        for (int i = 0; i < outlineWidth; ++i)
            Outline(out, Col(outline));
        if (shadow > 0)
        {
            BITMAP* ink = NewBitmap(out->w, out->h, Mask());
            blit(out, ink, 0, 0, 0, 0, out->w, out->h);
            for (int y = shadow; y < out->h; ++y)
                for (int x = shadow; x < out->w; ++x)
                    if (IsMask(ink, x, y) && !IsMask(ink, x - shadow, y - shadow))
                        putpixel(out, x, y, makecol(0, 0, 0));
            destroy_bitmap(ink);
        }
        return out;
    }

    // A soft halo around the opaque pixels of a masked picture placed at (ox, oy).
    void Glow(BITMAP* dst, BITMAP* shape, int ox, int oy, int radius, Rgb c, float strength)
    {
        int pad = radius * 2, w = shape->w + 2 * pad, h = shape->h + 2 * pad;
        std::vector<float> a(size_t(w) * h, 0.0f), tmp(a.size());
        for (int y = 0; y < shape->h; ++y)
            for (int x = 0; x < shape->w; ++x)
                if (!IsMask(shape, x, y))
                    a[size_t(y + pad) * w + x + pad] = 1.0f;
        // Box-blurring twice along each axis approximates a gaussian cheaply.
        for (int pass = 0; pass < 4; ++pass)
        {
            bool horizontal = pass % 2 == 0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                {
                    float sum = 0.0f;
                    for (int d = -radius; d <= radius; ++d)
                    {
                        int sx = horizontal ? x + d : x, sy = horizontal ? y : y + d;
                        if (sx >= 0 && sy >= 0 && sx < w && sy < h)
                            sum += a[size_t(sy) * w + sx];
                    }
                    tmp[size_t(y) * w + x] = sum / (2 * radius + 1);
                }
            a.swap(tmp);
        }
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                AddLight(dst, ox - pad + x, oy - pad + y, c, strength * a[size_t(y) * w + x]);
    }

    // Places a finished text bitmap centred on cx, optionally with its halo.
    void Stamp(BITMAP* dst, BITMAP* text, int cx, int y, int glowRadius, Rgb glow, float strength)
    {
        int x = cx - text->w / 2;
        if (glowRadius > 0)
            Glow(dst, text, x, y, glowRadius, glow, strength);
        masked_blit(text, dst, 0, 0, x, y, text->w, text->h);
        destroy_bitmap(text);
    }

    const Rgb kRed{255, 96, 0}, kBlue{0, 128, 255}, kInk{14, 8, 24};

    BITMAP* Title()
    {
        BITMAP* b = NewBitmap(640, 480, 0);
        Rng rng{20240611};
        VerticalGradient(b, {6, 5, 16}, {14, 8, 20});
        RadialLight(b, -70, 250, 400, {140, 36, 8});
        RadialLight(b, 710, 250, 400, {10, 44, 150});
        Stars(b, rng, 260, 140, 390);
        BattlefieldGrid(b, 392, {190, 60, 10}, {20, 90, 220}, 0.55f);
        Embers(b, rng, 40, 0, 200, 200, 470, {255, 120, 30});
        Embers(b, rng, 40, 440, 640, 200, 470, {90, 180, 255});
        Troops(b, rng, 130, 436, 18, {255, 40, 20});
        Troops(b, rng, 510, 436, 18, {30, 40, 255});

        // "GLOW" burns in the red front's colours and "FRONT" in the blue's.
        BITMAP* glow = BigText("GLOW", 7, 10, {255, 220, 120}, {220, 60, 0}, 3, kInk, 4);
        BITMAP* front = BigText("FRONT", 7, 10, {190, 235, 255}, {0, 90, 230}, 3, kInk, 4);
        // Overlapping the padding of outline and shadow leaves an ordinary letter gap.
        const int overlap = 10;
        int glowX = 320 - (glow->w + front->w - overlap) / 2 + glow->w / 2;
        int frontX = glowX + glow->w / 2 - overlap + front->w / 2;
        Stamp(b, glow, glowX, 18, 12, {255, 90, 10}, 1.3f);
        Stamp(b, front, frontX, 18, 12, {20, 110, 255}, 1.3f);
        Stamp(b,
              BigText("TWO FRONTS. ONE FIELD.", 2, 2, {200, 195, 210}, {130, 120, 150}, 1, kInk, 0),
              320, 116, 0, {}, 0);
        Stamp(b,
              BigText("UP/DOWN TO CHOOSE, ENTER TO START", 1, 1, {200, 200, 210}, {150, 150, 170},
                      1, kInk, 0),
              320, 464, 0, {}, 0);
        return b;
    }

    BITMAP* Victory(const char* words, Rgb colour, Rgb top, Rgb deep)
    {
        BITMAP* b = NewBitmap(640, 480, 0);
        Rng rng{uint32_t(colour.r * 7 + colour.b * 13 + 5)};
        VerticalGradient(b, Scale(colour, 0.05f), {6, 5, 12});
        // Rays burst from behind the words like a shockwave.
        const float kPi = 3.14159265f;
        for (int i = 0; i < 28; ++i)
        {
            float a0 = i * 2 * kPi / 28, a1 = a0 + kPi / 28;
            triangle(b, 320, 180, 320 + int(900 * std::cos(a0)), 180 + int(900 * std::sin(a0)),
                     320 + int(900 * std::cos(a1)), 180 + int(900 * std::sin(a1)),
                     Col(Scale(colour, 0.09f)));
        }
        RadialLight(b, 320, 180, 330, Scale(colour, 0.45f));
        Stars(b, rng, 180, 0, 0);
        BattlefieldGrid(b, 360, colour, colour, 0.45f);
        Embers(b, rng, 70, 0, 640, 120, 470, Mix(colour, {255, 255, 255}, 0.3f));
        Troops(b, rng, 320, 424, 18, colour);
        Vignette(b, 0.7f);
        Stamp(b, BigText(words, 8, 11, top, deep, 3, kInk, 5), 320, 130, 14, colour, 1.4f);
        Stamp(b, BigText("PRESS ESC", 3, 3, {235, 235, 240}, {160, 160, 175}, 2, kInk, 2), 320, 290,
              6, Scale(colour, 0.6f), 0.8f);
        return b;
    }

    BITMAP* RedWins()
    {
        return Victory("RED WINS", kRed, {255, 170, 80}, {225, 50, 0});
    }
    BITMAP* BlueWins()
    {
        return Victory("BLUE WINS", kBlue, {150, 215, 255}, {0, 95, 235});
    }

    // Menu entries share one canvas size and letter size so they line up when the
    // game stacks them; only the letters are opaque.
    BITMAP* MenuEntry(const char* words)
    {
        BITMAP* text = BigText(words, 2, 4, {255, 245, 215}, {235, 150, 40}, 2, kInk, 3);
        BITMAP* b = NewBitmap(std::max(320, text->w + 8), 48, Mask());
        masked_blit(text, b, 0, 0, (b->w - text->w) / 2, (b->h - text->h) / 2, text->w, text->h);
        destroy_bitmap(text);
        return b;
    }

    // Tiles: 32x32, each with a one-pixel dark rim so the map reads as a grid.

    BITMAP* Floor()
    {
        BITMAP* b = NewBitmap(32, 32, makecol(46, 42, 38));
        Rng rng{7};
        // Flagstones offset like brickwork, so adjacent tiles don't form a checkerboard.
        const int stones[][4] = {
            {1, 1, 11, 14}, {13, 1, 30, 14}, {1, 16, 21, 30}, {23, 16, 30, 30}};
        for (const auto& s : stones)
        {
            Rgb tone = Scale({100, 92, 80}, 0.9f + 0.15f * rng.Unit());
            Grain(b, s[0], s[1], s[2], s[3], tone, 0.22f, rng);
            Bevel(b, s[0], s[1], s[2], s[3], Scale(tone, 1.2f), Scale(tone, 0.7f));
        }
        // A crack and a few pits of wear.
        line(b, 16, 4, 20, 9, makecol(64, 58, 50));
        line(b, 20, 9, 19, 12, makecol(64, 58, 50));
        for (int i = 0; i < 6; ++i)
            putpixel(b, 2 + rng.Below(28), 2 + rng.Below(28), makecol(70, 64, 56));
        rect(b, 0, 0, 31, 31, makecol(40, 36, 32));
        return b;
    }

    BITMAP* Hive()
    {
        BITMAP* b = NewBitmap(32, 32, 0);
        Rng rng{3};
        // Every pixel belongs to its nearest cell centre; pixels nearly equidistant
        // from two centres form the wax walls, which yields honeycomb hexagons.
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
            {
                float d1 = 1e9f, d2 = 1e9f, cx = 0, cy = 0;
                for (int j = -2; j <= 2; ++j)
                    for (int i = -3; i <= 3; ++i)
                    {
                        float px = 16 + i * 10 + (j % 2 ? 5 : 0), py = 16 + j * 9;
                        float d = std::hypot(x - px, y - py);
                        if (d < d1)
                        {
                            d2 = d1, d1 = d, cx = px, cy = py;
                        }
                        else
                        {
                            d2 = std::min(d2, d);
                        }
                    }
                Rgb c;
                if (d2 - d1 < 1.6f)
                    c = Scale({110, 62, 14}, 0.85f + 0.3f * rng.Unit());
                else if (cx == 16 && cy == 16)
                    c = d1 < 3.0f ? Rgb{22, 10, 4} : Rgb{60, 30, 8}; // the entrance
                else
                    c = Mix({255, 205, 90}, {190, 110, 15}, (x - cx + y - cy + 6) / 12.0f);
                putpixel(b, x, y, Col(c));
            }
        rect(b, 0, 0, 31, 31, makecol(70, 38, 8));
        return b;
    }

    BITMAP* Trainer()
    {
        BITMAP* b = NewBitmap(32, 32, 0);
        Rng rng{5};
        Rgb plate{44, 76, 70};
        Grain(b, 1, 1, 30, 30, plate, 0.15f, rng);
        Bevel(b, 1, 1, 30, 30, Scale(plate, 1.6f), Scale(plate, 0.5f));
        for (int x : {4, 27})
            for (int y : {4, 27})
            {
                putpixel(b, x, y, makecol(170, 200, 190));
                putpixel(b, x + 1, y + 1, makecol(20, 34, 30));
            }
        // Concentric training ring, alternating bright and dark bands.
        const int radii[] = {12, 11, 8, 6, 3, 1};
        const Rgb bands[] = {{12, 40, 34},    {80, 205, 150}, {18, 70, 56},
                             {120, 230, 175}, {18, 70, 56},   {235, 255, 240}};
        for (int i = 0; i < 6; ++i)
            circlefill(b, 16, 15, radii[i], Col(bands[i]));
        rect(b, 0, 0, 31, 31, makecol(14, 26, 24));
        return b;
    }

    // One thorn: a dark blade with a lit edge and a pale, sharp tip.
    void Spike(BITMAP* b, float bx, float by, float angle, float length, float half, Rgb dark,
               Rgb light)
    {
        float dx = std::cos(angle), dy = std::sin(angle);
        int tx = Round(bx + dx * length), ty = Round(by + dy * length);
        int rx = Round(bx + dy * half), ry = Round(by - dx * half);
        triangle(b, Round(bx - dy * half), Round(by + dx * half), rx, ry, tx, ty, Col(dark));
        triangle(b, int(bx), int(by), rx, ry, tx, ty, Col(light));
        putpixel(b, tx, ty, makecol(235, 240, 210));
        putpixel(b, Round(bx + dx * (length - 1)), Round(by + dy * (length - 1)),
                 makecol(200, 220, 160));
    }

    BITMAP* Thorns()
    {
        BITMAP* b = NewBitmap(32, 32, 0);
        Rng rng{13};
        Grain(b, 1, 1, 30, 30, {46, 26, 50}, 0.35f, rng);
        const int knots[][2] = {{8, 23}, {23, 24}, {16, 12}, {26, 8}, {6, 7}};
        // Bramble stems tie the clusters together so the tile reads as one thicket.
        for (int i = 0; i + 1 < 5; ++i)
            for (int w = 0; w < 2; ++w)
                line(b, knots[i][0] + w, knots[i][1], knots[i + 1][0] + w, knots[i + 1][1],
                     makecol(86, 40, 70));
        for (const auto& k : knots)
        {
            for (int s = 0; s < 5; ++s)
            {
                float angle = s * 1.26f + rng.Unit() * 0.9f;
                Spike(b, k[0], k[1], angle, 6.0f + rng.Below(4), 1.6f, {30, 92, 40},
                      {130, 210, 95});
            }
            circlefill(b, k[0], k[1], 1, makecol(120, 56, 110));
        }
        rect(b, 0, 0, 31, 31, makecol(24, 12, 26));
        return b;
    }

    // Build icons: 20x20 light silhouettes with a dark rim, readable over any tile.

    BITMAP* BuildTrainer()
    {
        BITMAP* b = NewBitmap(20, 20, Mask());
        circlefill(b, 10, 10, 8, makecol(170, 250, 210));
        circlefill(b, 10, 10, 5, makecol(30, 110, 85));
        circlefill(b, 10, 10, 2, makecol(235, 255, 245));
        Outline(b, Col({8, 36, 28}));
        return b;
    }

    // Pointy-top, matching the cells on the hive tile.
    void Hexagon(BITMAP* b, int cx, int cy, float radius, Rgb c)
    {
        int points[12];
        for (int i = 0; i < 6; ++i)
        {
            float a = (i * 60 + 90) * 3.14159265f / 180;
            points[2 * i] = Round(cx + radius * std::cos(a));
            points[2 * i + 1] = Round(cy + radius * std::sin(a));
        }
        polygon(b, 6, points, Col(c));
    }

    BITMAP* BuildHive()
    {
        BITMAP* b = NewBitmap(20, 20, Mask());
        Hexagon(b, 10, 10, 8.4f, {255, 215, 110});
        Hexagon(b, 10, 10, 4.6f, {225, 150, 40});
        circlefill(b, 10, 10, 1, makecol(60, 30, 6));
        Outline(b, Col({50, 26, 4}));
        return b;
    }

    BITMAP* BuildThorns()
    {
        BITMAP* b = NewBitmap(20, 20, Mask());
        const float angles[] = {-1.57f, -2.2f, -0.94f, -2.85f, -0.29f};
        const float lengths[] = {14, 12, 12, 9, 9};
        for (int i = 0; i < 5; ++i)
            Spike(b, 10, 16, angles[i], lengths[i], 2.2f, {150, 215, 110}, {215, 250, 170});
        circlefill(b, 10, 16, 2, makecol(200, 150, 215));
        Outline(b, Col({28, 14, 32}));
        return b;
    }

    BITMAP* VsComputer()
    {
        return MenuEntry("PLAYER VS COMPUTER");
    }
    BITMAP* VsPlayer()
    {
        return MenuEntry("PLAYER VS PLAYER");
    }
    BITMAP* Exit()
    {
        return MenuEntry("EXIT");
    }
    BITMAP* HostGame()
    {
        return MenuEntry("HOST A NETWORK GAME");
    }
    BITMAP* JoinGame()
    {
        return MenuEntry("JOIN A NETWORK GAME");
    }
    // The map's name is drawn beside it by the game.
    BITMAP* MapChoice()
    {
        return MenuEntry("MAP");
    }
    BITMAP* WatchReplay()
    {
        return MenuEntry("WATCH A REPLAY");
    }

    // The desktop's icon: a dark tile lit from one corner by red and from the other by blue, a
    // hive between the two fronts and a few units of each side. Drawn large on the mask, so that
    // shrinking it (Shrink) gives soft edges at every size.
    BITMAP* IconMaster(int s)
    {
        BITMAP* b = NewBitmap(s, s, Mask());
        const int lo = s / 16, hi = s - 1 - s / 16, r = s / 6;
        rectfill(b, lo + r, lo, hi - r, hi, Col(kInk));
        rectfill(b, lo, lo + r, hi, hi - r, Col(kInk));
        for (int cx : {lo + r, hi - r})
            for (int cy : {lo + r, hi - r})
                circlefill(b, cx, cy, r, Col(kInk));
        for (int y = 0; y < s; ++y)
            for (int x = 0; x < s; ++x)
                if (!IsMask(b, x, y))
                {
                    float red = 1.0f - std::hypot(float(x - lo), float(hi - y)) / (0.95f * s);
                    float blue = 1.0f - std::hypot(float(hi - x), float(y - lo)) / (0.95f * s);
                    AddLight(b, x, y, {230, 70, 10}, red > 0 ? 1.3f * red * red : 0);
                    AddLight(b, x, y, {20, 90, 230}, blue > 0 ? 1.3f * blue * blue : 0);
                }
        Hexagon(b, s / 2, s / 2, s * 0.25f, {50, 26, 4});
        Hexagon(b, s / 2, s / 2, s * 0.21f, {255, 215, 110});
        Hexagon(b, s / 2, s / 2, s * 0.11f, {225, 150, 40});
        circlefill(b, s / 2, s / 2, s / 32, makecol(60, 30, 6));
        // Red's units come up from the lower left, blue's down from the upper right.
        const float units[][2] = {{0.20f, 0.70f}, {0.30f, 0.80f}, {0.18f, 0.56f}, {0.42f, 0.78f}};
        const int u = s / 28;
        for (const auto& p : units)
            for (bool red : {true, false})
            {
                int x = Round((red ? p[0] : 1 - p[0]) * s), y = Round((red ? p[1] : 1 - p[1]) * s);
                rectfill(b, x - 2 * u, y - 2 * u, x + 2 * u, y + 2 * u, Col(kInk));
                rectfill(b, x - u, y - u, x + u, y + u,
                         red ? makecol(255, 150, 60) : makecol(90, 180, 255));
            }
        return b;
    }

    // size x size RGBA pixels from a master whose side is a whole multiple of size: each pixel
    // is the mean of the master's opaque pixels in its block, as opaque as they cover the block.
    std::vector<unsigned char> Shrink(BITMAP* master, int size)
    {
        const int f = master->w / size;
        std::vector<unsigned char> rgba;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
            {
                long r = 0, g = 0, bl = 0, n = 0;
                for (int v = y * f; v < (y + 1) * f; ++v)
                    for (int h = x * f; h < (x + 1) * f; ++h)
                        if (!IsMask(master, h, v))
                        {
                            int p = getpixel(master, h, v);
                            r += getr(p), g += getg(p), bl += getb(p), ++n;
                        }
                long m = std::max(n, 1L);
                rgba.insert(rgba.end(), {(unsigned char)(r / m), (unsigned char)(g / m),
                                         (unsigned char)(bl / m),
                                         (unsigned char)((n * 255 + f * f / 2) / (f * f))});
            }
        return rgba;
    }

    // The icon at each size the desktop's icon theme asks for: DIR/glowfront-SIZE.png.
    int WriteIcons(const std::string& dir)
    {
        BITMAP* master = IconMaster(1024);
        int status = 0;
        for (int size : {32, 64, 128, 256})
        {
            std::string path = dir + "/glowfront-" + std::to_string(size) + ".png";
            if (!WritePng(path.c_str(), size, size, Shrink(master, size)))
            {
                std::fprintf(stderr, "makepictures: cannot write %s\n", path.c_str());
                status = 1;
            }
        }
        destroy_bitmap(master);
        return status;
    }

// One drawing function per picture, named as the picture: a picture added to the game's list
// and not drawn here does not compile.
#define DRAWER(name) name,
    BITMAP* (*const kDrawers[PICTURE_COUNT])() = {GLOWFRONT_PICTURES(DRAWER)};
#undef DRAWER

} // namespace

int main(int argc, char** argv)
{
    bool icons = argc == 3 && std::string(argv[1]) == "--icons";
    if (argc != 2 && !icons)
    {
        std::fprintf(stderr, "usage: makepictures OUTDIR | makepictures --icons OUTDIR\n");
        return 1;
    }
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
    {
        std::fprintf(stderr, "makepictures: cannot initialise Allegro\n");
        return 1;
    }
    set_color_depth(24);
    if (icons)
        return WriteIcons(argv[2]);
    for (int i = 0; i < PICTURE_COUNT; ++i)
    {
        std::string path = std::string(argv[1]) + "/" + PictureName(i) + ".bmp";
        BITMAP* b = kDrawers[i]();
        int failed = save_bmp(path.c_str(), b, nullptr);
        destroy_bitmap(b);
        if (failed)
        {
            std::fprintf(stderr, "makepictures: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
END_OF_MAIN()

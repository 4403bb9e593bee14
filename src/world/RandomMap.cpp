#include "RandomMap.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>

namespace
{
    const int W = MAP_WIDTH, H = MAP_HEIGHT;

    // splitmix64 from the FNV-1a hash of the seed: unsigned arithmetic, the same everywhere.
    class SeedRandom
    {
    public:
        explicit SeedRandom(const std::string& seed)
        {
            for (unsigned char c : seed)
                m_dwState = (m_dwState ^ c) * 1099511628211ull;
        }
        int Below(int n) { return (int)(Next() % (uint32_t)n); }

    private:
        uint32_t Next()
        {
            uint64_t z = m_dwState += 0x9E3779B97F4A7C15ull;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
            return (uint32_t)((z ^ (z >> 31)) >> 32);
        }

        uint64_t m_dwState = 14695981039346656037ull;
    };

    // The map as it is drawn, in kinds without owners: every change is made to a tile and to the
    // tile half round from it, so the drawing stays fair whatever is drawn.
    struct Sketch
    {
        char cells[H][W]; // '#' rock, or the red letter of an open kind
        int baseX, baseY; // red's hive; blue's is half round from it

        void Set(int x, int y, char c)
        {
            cells[y][x] = c;
            cells[H - 1 - y][W - 1 - x] = c;
        }
        bool InBase(int x, int y) // within either side's 3 x 3 base
        {
            auto near = [&](int cx, int cy)
            { return std::abs(x - cx) <= 1 && std::abs(y - cy) <= 1; };
            return near(baseX, baseY) || near(W - 1 - baseX, H - 1 - baseY);
        }
    };

    // A wanderer that turns now and then, leaving c behind it.
    void Walk(Sketch& s, SeedRandom& random, int x, int y, int steps, char c, int turnsIn)
    {
        static const int dx[4] = {0, 1, 0, -1}, dy[4] = {-1, 0, 1, 0};
        int dir = random.Below(4);
        for (int i = 0; i < steps; i++)
        {
            if (random.Below(turnsIn) == 0)
                dir = random.Below(4);
            int nx = x + dx[dir], ny = y + dy[dir];
            if (nx < 0 || nx >= W || ny < 0 || ny >= H)
            {
                dir = (dir + 2) % 4;
                continue;
            }
            x = nx;
            y = ny;
            if (!s.InBase(x, y))
                s.Set(x, y, c);
        }
    }

    // A kind on n floor tiles outside the bases, each chosen among all such tiles.
    void Scatter(Sketch& s, SeedRandom& random, char c, int n)
    {
        for (; n > 0; n--)
        {
            int floors = 0, pick;
            for (int i = 0; i < W * H; i++)
                floors += s.cells[i / W][i % W] == 'f' && !s.InBase(i % W, i / W);
            if (floors == 0)
                return;
            pick = random.Below(floors);
            for (int i = 0; i < W * H; i++)
                if (s.cells[i / W][i % W] == 'f' && !s.InBase(i % W, i / W) && pick-- == 0)
                    s.Set(i % W, i / W, c);
        }
    }
}

bool IsMapSeed(const std::string& seed)
{
    if (seed.empty() || seed.size() > MAP_SEED_MOST)
        return false;
    for (char c : seed)
        if (!isascii((unsigned char)c) || !isalnum((unsigned char)c))
            return false;
    return true;
}

zolMapPlan RandomMap(const std::string& seed)
{
    SeedRandom random(seed);
    Sketch s;
    s.baseX = 2 + random.Below(W - 4);
    s.baseY = 2 + random.Below(3);
    // Four kinds of ground: caves of wide wanderers, narrow tunnels, rooms joined by tunnels, and
    // open ground broken by rock.
    int ground = random.Below(4);
    for (int i = 0; i < W * H; i++)
        s.cells[i / W][i % W] = ground == 3 ? 'f' : '#';
    // Each draw is a statement of its own, in order: a call's arguments are evaluated in an order
    // each compiler chooses, and a seed must make one map on every build.
    if (ground == 3)
        for (int n = 4 + random.Below(8); n > 0; n--)
        {
            int x = random.Below(W), y = random.Below(H), steps = 2 + random.Below(8);
            Walk(s, random, x, y, steps, '#', 3);
        }
    if (ground == 2)
        for (int n = 3 + random.Below(4); n > 0; n--)
        {
            int w = 2 + random.Below(4), h = 2 + random.Below(3);
            int x0 = random.Below(W - w + 1), y0 = random.Below(H - h + 1);
            for (int y = y0; y < y0 + h; y++)
                for (int x = x0; x < x0 + w; x++)
                    s.Set(x, y, 'f');
        }
    int walkers = ground == 0 ? 3 + random.Below(4) : ground == 1 ? 4 + random.Below(4) : 2;
    for (int n = 0; n < walkers; n++)
    {
        int steps = ground == 0 ? 12 + random.Below(24) : 8 + random.Below(16);
        int x = random.Below(W), y = random.Below(H);
        // The first wanderers leave the base; the rest start anywhere.
        if (n < 2)
            x = s.baseX, y = s.baseY;
        Walk(s, random, x, y, steps, 'f', ground == 1 ? 6 : 3);
    }
    for (int y = -1; y <= 1; y++)
        for (int x = -1; x <= 1; x++)
            s.Set(s.baseX + x, s.baseY + y, x == 0 && y == 0 ? 'h' : 'f');
    Scatter(s, random, 'h', random.Below(3));
    Scatter(s, random, 't', random.Below(4));
    Scatter(s, random, 'x', random.Below(3) == 0 ? 0 : 2 + random.Below(6));

    // Each open tile is the side's whose hive is nearer, red's where both are as near in the top
    // half: half round, a tile's nearer hive is the other, so the sides swap with it.
    zolMapPlan plan;
    plan.name = "random:" + seed;
    for (int y = 0; y < H; y++)
    {
        std::string row;
        for (int x = 0; x < W; x++)
        {
            char c = s.cells[y][x];
            int red = std::abs(x - s.baseX) + std::abs(y - s.baseY);
            int blue = std::abs(x - (W - 1 - s.baseX)) + std::abs(y - (H - 1 - s.baseY));
            bool isRed = red < blue || (red == blue && y < H / 2);
            row += c == '#' || isRed ? c : (char)toupper(c);
        }
        plan.rows.push_back(row);
    }
    return plan;
}

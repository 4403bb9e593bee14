#include "MapPlan.h"

#include <cctype>
#include <cstdio>

#include "Bytes.h"
#include "zolMap.h"
#include "zolTile.h"
#include "zolTileType.h"

namespace
{
    // Red's letter of each kind, by zolTileKind; blue's is its upper case, and rock has one.
    const char LETTERS[TILE_KINDS + 1] = "#fhtx";

    int KindOf(char c) // -1 for a letter that is no tile
    {
        for (int kind = 0; kind < TILE_KINDS; kind++)
            if (c == LETTERS[kind] || (kind != TILE_ROCK && c == toupper(LETTERS[kind])))
                return kind;
        return -1;
    }

    bool IsRed(char c)
    {
        return islower((unsigned char)c);
    }

    char Turned(char c) // the tile as the other side's
    {
        return IsRed(c) ? (char)toupper(c) : (char)tolower((unsigned char)c);
    }

    // A control byte breaks the line it is on; a byte past ASCII is no letter of ours.
    bool IsText(unsigned char c, bool comment)
    {
        return c == '\t' || (c >= ' ' && c != 0x7F && (comment || c < 0x80));
    }

    std::string NotText(unsigned char c, size_t column)
    {
        char text[64];
        snprintf(text, sizeof text, "byte 0x%02X in column %zu is not text", c, column);
        return text;
    }

    std::string RowFault(const std::string& row)
    {
        for (size_t i = 0; i < row.size(); i++)
            if (!IsText((unsigned char)row[i], false))
                return NotText((unsigned char)row[i], i + 1);
        if (row.size() != (size_t)MAP_WIDTH)
            return std::to_string(row.size()) + " characters, not " + std::to_string(MAP_WIDTH);
        for (size_t i = 0; i < row.size(); i++)
            if (KindOf(row[i]) < 0)
                return std::string("'") + row[i] + "' in column " + std::to_string(i + 1) +
                       " is no tile (# f h t x, upper case for blue)";
        return "";
    }

    std::string HiveFault(const std::vector<std::string>& rows)
    {
        bool hive[2] = {false, false};
        for (const std::string& row : rows)
            for (char c : row)
                if (KindOf(c) == TILE_HIVE)
                    hive[IsRed(c)] = true;
        return !hive[1] ? "red has no hive (h)" : !hive[0] ? "blue has no hive (H)" : "";
    }
}

bool ParseMapText(const std::string& text, zolMapPlan* plan, std::string* why)
{
    if (text.size() > MAP_FILE_MOST)
    {
        *why = std::to_string(text.size()) + " bytes, more than " + std::to_string(MAP_FILE_MOST);
        return false;
    }
    std::vector<std::string> rows;
    size_t line = 0;
    for (size_t at = 0; at < text.size(); line++)
    {
        size_t end = text.find('\n', at);
        end = end == std::string::npos ? text.size() : end;
        std::string content = text.substr(at, end - at);
        at = end + 1;
        // Lines written on Windows end in CR LF; a CR anywhere else is a stray byte.
        if (!content.empty() && content.back() == '\r')
            content.pop_back();
        std::string fault;
        if (!content.empty() && content[0] == ';')
        {
            for (size_t i = 0; i < content.size() && fault.empty(); i++)
                if (!IsText((unsigned char)content[i], true))
                    fault = NotText((unsigned char)content[i], i + 1);
        }
        else if (rows.size() == (size_t)MAP_HEIGHT)
            fault = "a row too many: a map has " + std::to_string(MAP_HEIGHT);
        else if ((fault = RowFault(content)).empty())
            rows.push_back(content);
        if (!fault.empty())
        {
            *why = "line " + std::to_string(line + 1) + ": " + fault;
            return false;
        }
    }
    std::string fault = rows.size() < (size_t)MAP_HEIGHT
                            ? "line " + std::to_string(line + 1) + ": the map ends after " +
                                  std::to_string(rows.size()) + " rows, not " +
                                  std::to_string(MAP_HEIGHT)
                            : HiveFault(rows);
    if (!fault.empty())
    {
        *why = fault;
        return false;
    }
    plan->rows = rows;
    return true;
}

std::string CheckMapRows(const std::vector<std::string>& rows)
{
    if (rows.size() != (size_t)MAP_HEIGHT)
        return std::to_string(rows.size()) + " rows, not " + std::to_string(MAP_HEIGHT);
    for (size_t y = 0; y < rows.size(); y++)
    {
        std::string fault = RowFault(rows[y]);
        if (!fault.empty())
            return "row " + std::to_string(y + 1) + ": " + fault;
    }
    return HiveFault(rows);
}

std::string MapText(const zolMapPlan& plan)
{
    std::string text = "; " + plan.name + "\n";
    for (const std::string& row : plan.rows)
        text += row + "\n";
    return text;
}

std::string MapBytes(const zolMapPlan& plan)
{
    zolByteWriter out;
    out.Text(plan.name, MAP_NAME_MOST);
    for (const std::string& row : plan.rows)
        out.bytes += row;
    return out.bytes;
}

std::string ReadMapBytes(zolByteReader& in, zolMapPlan* plan)
{
    std::string name;
    std::vector<std::string> rows(MAP_HEIGHT, std::string(MAP_WIDTH, '#'));
    if (!in.Text(&name))
        return "cut short";
    for (std::string& row : rows)
        if (!in.Take(&row[0], row.size()))
            return "cut short";
    std::string fault = name.empty() ? "no name" : CheckMapRows(rows);
    if (fault.empty())
    {
        plan->name = PrintableText(name, MAP_NAME_MOST);
        plan->rows = rows;
    }
    return fault;
}

zolMap* BuildMap(const zolMapPlan& plan)
{
    zolMap* map = new zolMap();
    map->SetSize(MAP_WIDTH, MAP_HEIGHT);
    for (int y = 0; y < MAP_HEIGHT; y++)
        for (int x = 0; x < MAP_WIDTH; x++)
            map->SetTile(x, y, g_pvTileTypes[KindOf(plan.rows[y][x])]);
    // Lit only once every tile is there: lighting a tile recounts its neighbours' masks.
    for (int y = 0; y < MAP_HEIGHT; y++)
        for (int x = 0; x < MAP_WIDTH; x++)
            if (IsRed(plan.rows[y][x]))
                map->SetTileLit(x, y, true);
    return map;
}

bool FindFirstHive(zolMap* map, bool side, int* x, int* y)
{
    for (int ty = 0; ty < map->GetHeight(); ty++)
        for (int tx = 0; tx < map->GetWidth(); tx++)
        {
            zolTile* tile = map->GetTile(tx, ty);
            if (tile && tile->GetType() == g_pvTileTypes[TILE_HIVE] && tile->IsLit() == side)
            {
                *x = tx;
                *y = ty;
                return true;
            }
        }
    return false;
}

bool IsFair(const zolMapPlan& plan)
{
    for (int y = 0; y < MAP_HEIGHT; y++)
        for (int x = 0; x < MAP_WIDTH; x++)
            if (plan.rows[MAP_HEIGHT - 1 - y][MAP_WIDTH - 1 - x] != Turned(plan.rows[y][x]))
                return false;
    return true;
}

#include "MapChoice.h"

#include <ctime>

#include "MapBook.h"
#include "RandomMap.h"

zolMapChoice::zolMapChoice(const std::string& m, const zolMapPlan& map)
    : m_dwSeedState((uint64_t)time(nullptr) * 6364136223846793005ull + (uint64_t)clock())
{
    size_t at = 0;
    if (!m.empty() && NamesMapFile(m))
    {
        m_sFile = m;
        m_vChoices.push_back(map);
    }
    for (const zolBuiltInMap& builtIn : BuiltInMaps())
    {
        if (m_sFile.empty() && builtIn.plan.name == map.name)
            at = m_vChoices.size();
        m_vChoices.push_back(builtIn.plan);
    }
    m_vChoices.push_back(map);
    if (m_sFile.empty() && map.name.compare(0, 7, "random:") == 0)
        at = m_vChoices.size() - 1;
    else
        NewSeed();
    m_dwAt = at;
}

void zolMapChoice::Step(int by)
{
    if (by < 0 && m_dwAt > 0)
        m_dwAt--;
    else if (by > 0 && m_dwAt + 1 < m_vChoices.size())
        m_dwAt++;
}

void zolMapChoice::NewSeed()
{
    static const char DIGITS[] = "abcdefghijkmnpqrstuvwxyz23456789"; // none mistaken for another
    std::string seed;
    for (int i = 0; i < 6; i++)
    {
        m_dwSeedState = m_dwSeedState * 6364136223846793005ull + 1442695040888963407ull;
        seed += DIGITS[m_dwSeedState >> 59];
    }
    m_vChoices.back() = RandomMap(seed);
    m_dwAt = m_vChoices.size() - 1;
}

std::string zolMapChoice::Label()
{
    return (m_dwAt > 0 ? "< " : "") + m_vChoices[m_dwAt].name +
           (m_dwAt + 1 < m_vChoices.size() ? " >" : "");
}

const zolMapPlan& zolMapChoice::ForMatch(std::string* problem)
{
    problem->clear();
    zolMapPlan fresh;
    if (m_dwAt == 0 && !m_sFile.empty())
    {
        if (FindMap(m_sFile, &fresh, problem))
            m_vChoices[0] = fresh;
    }
    return m_vChoices[m_dwAt];
}

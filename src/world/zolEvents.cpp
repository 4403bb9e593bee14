#include "zolEvents.h"

void zolListen(zolEventListener* listener)
{
    if (g_dwListeners < 4)
        g_pvListeners[g_dwListeners++] = listener;
}

void zolStopListening(zolEventListener* listener)
{
    for (int i = 0; i < g_dwListeners; i++)
        if (g_pvListeners[i] == listener)
        {
            for (int j = i + 1; j < g_dwListeners; j++)
                g_pvListeners[j - 1] = g_pvListeners[j];
            g_dwListeners--;
            return;
        }
}

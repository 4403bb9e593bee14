#include "zolEvents.h"

zolEventListener* g_pEventListener = nullptr;

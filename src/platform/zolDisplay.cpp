#include "zolDisplay.h"

#include <csignal>

#include <X11/Xlib.h>
#include <unistd.h>

namespace
{
    // Runs on whichever thread found the connection broken, maybe with the library's locks held:
    // only calls that are safe there, and no return, since Xlib would then exit() after all.
    int LostDisplay(Display*)
    {
        static const char text[] = "The connection to the display was lost; the game ends.\n";
        if (write(STDERR_FILENO, text, sizeof text - 1) < 0)
        {
            // nowhere left to tell it
        }
        _exit(1);
    }
}

void WatchDisplayConnection()
{
    // A write to a server that has gone would otherwise kill the process silently with SIGPIPE
    // before Xlib could see the error and call the handler.
    signal(SIGPIPE, SIG_IGN);
    XSetIOErrorHandler(LostDisplay);
}

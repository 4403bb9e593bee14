#include "zolDisplay.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/prctl.h>
#include <sys/wait.h>

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

void TellFailure(const char* text)
{
    fprintf(stderr, "%s\n", text);
    if (isatty(STDERR_FILENO) || !getenv("DISPLAY"))
        return;
    fflush(nullptr);
    pid_t parent = getpid(), child = fork();
    if (child == 0)
    {
        // Killed with the game: a box that stayed would speak for a game that is gone.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent)
            _exit(0);
        execlp("xmessage", "xmessage", "-center", "-buttons", "OK", "-default", "OK", text,
               (char*)nullptr);
        _exit(127);
    }
    if (child > 0)
        waitpid(child, nullptr, 0);
}

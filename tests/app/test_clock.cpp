#include <cerrno>
#include <chrono>
#include <thread>

#include <allegro.h>
#include <gtest/gtest.h>

#include "Main.h"

// The timer thread adds to the clock while the main loop takes from it, as a match does. Built
// under ThreadSanitizer too, where any unsynchronised touch of the counter is reported.
TEST(Clock, TimerTicksAreNeitherLostNorCountedTwice)
{
    ASSERT_EQ(0, install_allegro(SYSTEM_AUTODETECT, &errno, atexit)) << "no display";
    ASSERT_EQ(0, install_timer());
    g_dwMainTime = 0;
    install_int(MainTimer, 10);

    auto start = std::chrono::steady_clock::now();
    int taken = 0;
    while (std::chrono::steady_clock::now() - start < std::chrono::seconds(2))
    {
        if (g_dwMainTime > 0)
        {
            g_dwMainTime--;
            taken++;
        }
        std::this_thread::yield();
    }
    remove_int(MainTimer);
    int owed = g_dwMainTime;

    // Two seconds of a 10 ms timer, give or take what a busy machine delays.
    EXPECT_GE(taken + owed, 150);
    EXPECT_LE(taken + owed, 210);
    EXPECT_LE(owed, 5);
    remove_timer();
}

#include <allegro.h>

#include "Main.h"

// The process entry lives apart from Main.cpp so that tests can link the whole game.
int main(int argc, char** argv)
{
    return GameMain(argc, argv);
}
END_OF_MAIN()

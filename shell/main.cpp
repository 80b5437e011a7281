#include "shell/app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    RunGlimvane(instance);
}

// The program's entry: the layer starts the GUI, calls WinMain and returns
// its result.
#include "win32.h"

// Defined by the layer (platform/win32/src/core/app.cpp).
typedef int(WINAPI* W32WinMainFn)(HINSTANCE, HINSTANCE, LPSTR, int);
int w32_main(int argc, char** argv, W32WinMainFn winMain);

int main(int argc, char** argv) { return w32_main(argc, argv, &WinMain); }

// The executable's entry: the one application object and the framework's WinMain.
#include "app/TrayApp.h"

TrayApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand) {
    return AfxWinMain(instance, previous, commandLine, showCommand);
}

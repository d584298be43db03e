// The process entry point: the program defines one global CWinApp-derived object.
#include "CWinApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR cmdLine, int cmdShow) {
    return AfxWinMain(instance, cmdLine, cmdShow);
}

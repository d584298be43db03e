// The one application object of the program.
#include "CTovrixApp.h"

CTovrixApp theApp;

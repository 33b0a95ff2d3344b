#pragma once

#include "registerwindows.h"

class TfErdeklodo;
struct PrintReports;

// The long-lived windows besides the main window, made by start-up in the program's fixed order
// after it; the main window opens them from its menu and panels.
struct Windows
{
    RegisterWindows registerWindows;
    TfErdeklodo *fErdeklodo = nullptr;
    PrintReports *printReports = nullptr;
};

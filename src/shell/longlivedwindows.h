#pragma once

#include "erdeklodes.h"
#include "registerwindows.h"

class TfErdeklodo;
class TfHirek;
class TfModosit;
struct PrintReports;

// The long-lived windows besides the main window, made by start-up in the program's fixed order
// after it; the main window opens them from its menu and panels.
struct Windows
{
    RegisterWindows registerWindows;
    RequestWindows requestWindows;
    TfErdeklodo *fErdeklodo = nullptr;
    PrintReports *printReports = nullptr;
    TfModosit *fModosit = nullptr;
    TfHirek *fHirek = nullptr;
};

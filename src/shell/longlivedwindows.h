#pragma once

#include "buyers/erdeklodes.h"
#include "register/registerwindows.h"

class TfErdeklodo;
class TfHirek;
class TfModosit;
struct PrintReports;

// The long-lived windows besides the main window, made by start-up in the program's fixed order
// after it, as its children: the main window owns them and deletes them before its cursors.
// These are the handles it opens them by from its menu and panels. The report forms are no
// window; the program owns them.
struct Windows
{
    RegisterWindows registerWindows;
    RequestWindows requestWindows;
    TfErdeklodo *fErdeklodo = nullptr;
    PrintReports *printReports = nullptr;
    TfModosit *fModosit = nullptr;
    TfHirek *fHirek = nullptr;
};

#pragma once

#include "buyers/erdeklodes.h"
#include "register/registerwindows.h"
#include "widgets/lazywindow.h"

class TfErdeklodo;
class TfHirek;
class TfModosit;
struct PrintReports;

// The long-lived windows besides the main window: each is made the first time it is opened, as a
// child of the main window, which owns them and deletes them before its cursors. These are the
// handles it opens them by from its menu and panels. The report forms are no window; the
// program owns them.
struct Windows
{
    RegisterWindows registerWindows;
    RequestWindows requestWindows;
    LazyWindow<TfErdeklodo> fErdeklodo;
    PrintReports *printReports = nullptr;
    LazyWindow<TfModosit> fModosit;
    LazyWindow<TfHirek> fHirek;
};

#pragma once

#include "widgets/lazywindow.h"

class TfUjKep;
class TfKepmegtekint;
class TfTulajHozzaad;
class TfTulajModosit;

// The long-lived windows of the register that panels and other windows open. Start-up tells each
// handle how its window is made; the window is made on its first use and lives on from there.
struct RegisterWindows
{
    LazyWindow<TfUjKep> fUjKep;
    LazyWindow<TfKepmegtekint> fKepmegtekint;
    LazyWindow<TfTulajHozzaad> fTulajHozzaad;
    LazyWindow<TfTulajModosit> fTulajModosit;
};

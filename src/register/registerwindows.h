#pragma once

class TfUjKep;
class TfKepmegtekint;
class TfTulajHozzaad;
class TfTulajModosit;

// The long-lived windows of the register that panels and other windows open. Start-up creates
// them in the program's fixed order, after the main window, and fills these in; a panel looks
// them up when it needs one.
struct RegisterWindows
{
    TfUjKep *fUjKep = nullptr;
    TfKepmegtekint *fKepmegtekint = nullptr;
    TfTulajHozzaad *fTulajHozzaad = nullptr;
    TfTulajModosit *fTulajModosit = nullptr;
};

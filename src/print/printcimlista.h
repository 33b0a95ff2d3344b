#pragma once

#include "store/record.h"

struct RegisterState;
class PrintCanvas;

// What one address list run prints besides the properties of the register's view.
struct CimlistaRun
{
    Record handout; // the buyer: the latest handout of the view's first property
    bool megbizoAdataival = true; // the principal line under each address
    bool qElvitel = false; // the agency's terms after the last address
};

// The address list handed to a buyer: the buyer at the top of every page, then every property
// of the register's view, numbered from 1, then the agency's terms.
class TfPrintCimlista
{
public:
    explicit TfPrintCimlista(RegisterState &cursors);
    void paint(PrintCanvas &canvas, const CimlistaRun &run);

private:
    RegisterState &m_c;
};

#pragma once

#include "print/sheetoptions.h"

struct RegisterState;
class PrintCanvas;

// The full data sheet of the register's current property: address, general data, and the
// principal's and detailed sections when the run asks for them.
class TfPrintTeljes
{
public:
    explicit TfPrintTeljes(RegisterState &cursors);

    // One copy. The detailed section prints only for a property that has a detailed description.
    void paint(PrintCanvas &canvas, const SheetOptions &options);

private:
    RegisterState &m_c;
};

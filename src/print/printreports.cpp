#include "print/printreports.h"

#include "buyers/handouts.h"
#include "store/registerstate.h"

PrintReports::PrintReports(RegisterState &mainCursors, BuyerPrompt prompt)
    : cursors(mainCursors)
    , askBuyer(std::move(prompt))
    , fPrintErdeklodo(mainCursors, mainCursors.tErdeklodo)
    , fPrintTeljes(mainCursors)
    , fPrintArchiv(mainCursors)
    , fPrintCimlista(mainCursors)
    , fPrintApro(mainCursors)
{ }

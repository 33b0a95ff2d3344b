#include "printreports.h"

#include "erdeklodo.h"
#include "maincursors.h"

PrintReports::PrintReports(MainCursors &mainCursors, BuyerPrompt prompt)
    : cursors(mainCursors)
    , askBuyer(std::move(prompt))
    , fPrintErdeklodo(mainCursors, mainCursors.tErdeklodo)
    , fPrintTeljes(mainCursors)
    , fPrintArchiv(mainCursors)
    , fPrintCimlista(mainCursors)
    , fPrintApro(mainCursors)
{ }

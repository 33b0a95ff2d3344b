#include "printreports.h"

#include "erdeklodo.h"

PrintReports::PrintReports(MainCursors &mainCursors, TfErdeklodo &buyerWindow)
    : cursors(mainCursors)
    , fErdeklodo(buyerWindow)
    , fPrintErdeklodo(mainCursors, buyerWindow.tErdeklodo())
    , fPrintTeljes(mainCursors)
    , fPrintArchiv(mainCursors)
    , fPrintCimlista(mainCursors)
    , fPrintApro(mainCursors)
{ }

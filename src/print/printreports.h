#pragma once

#include "printapro.h"
#include "printarchiv.h"
#include "printcimlista.h"
#include "printerdeklodo.h"
#include "printoutput.h"
#include "printteljes.h"

class TfErdeklodo;

// The long-lived report forms and the printer they go to. Start-up makes one after the buyer
// window and keeps it until the end; the print dialog and the side menu use it.
struct PrintReports
{
    PrintReports(MainCursors &cursors, TfErdeklodo &fErdeklodo);

    MainCursors &cursors;
    TfErdeklodo &fErdeklodo;
    TfPrintErdeklodo fPrintErdeklodo;
    TfPrintTeljes fPrintTeljes;
    TfPrintArchiv fPrintArchiv;
    TfPrintCimlista fPrintCimlista;
    TfPrintApro fPrintApro;
    PrintOutput output;
};

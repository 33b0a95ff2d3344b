#pragma once

#include "printapro.h"
#include "printarchiv.h"
#include "printcimlista.h"
#include "printerdeklodo.h"
#include "printoutput.h"
#include "printteljes.h"

#include <functional>
#include <optional>

struct Buyer;

// Who receives an address list: asks the user for the buyer, or gives nothing when the user
// abandoned the handout. The program asks through its buyer window; print knows no window.
using BuyerPrompt = std::function<std::optional<Buyer>()>;

// The long-lived report forms and the printer they go to. Start-up makes one and keeps it until
// the end; the print dialog and the side menu use it. The handouts are recorded in the
// register's handout cursor.
struct PrintReports
{
    PrintReports(MainCursors &cursors, BuyerPrompt askBuyer);

    MainCursors &cursors;
    BuyerPrompt askBuyer;
    TfPrintErdeklodo fPrintErdeklodo;
    TfPrintTeljes fPrintTeljes;
    TfPrintArchiv fPrintArchiv;
    TfPrintCimlista fPrintCimlista;
    TfPrintApro fPrintApro;
    PrintOutput output;
};

#pragma once

#include "print/printapro.h"
#include "print/printarchiv.h"
#include "print/printcimlista.h"
#include "print/printerdeklodo.h"
#include "print/printoutput.h"
#include "print/printteljes.h"

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
    PrintReports(RegisterState &cursors, BuyerPrompt askBuyer);

    RegisterState &cursors;
    BuyerPrompt askBuyer;
    TfPrintErdeklodo fPrintErdeklodo;
    TfPrintTeljes fPrintTeljes;
    TfPrintArchiv fPrintArchiv;
    TfPrintCimlista fPrintCimlista;
    TfPrintApro fPrintApro;
    PrintOutput output;
};

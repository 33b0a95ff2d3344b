#pragma once

// The two print dialog options the reports read, handed to them with each run.
struct SheetOptions
{
    bool megbizoAdataival = true; // "Megbízó adataival"
    bool reszletesAdatokkal = false; // "Részletes adatokkal"
};

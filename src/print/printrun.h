#pragma once

#include "print/printoutput.h"
#include "print/sheetoptions.h"
#include "store/record.h"

#include <optional>

struct Buyer;
struct PrintReports;
class QWidget;

// What the print dialog asks for.
struct PrintChoice
{
    enum class Target { Aktualis, Kijelolt, Erdeklodok };

    Target target = Target::Aktualis;
    SheetOptions sheet;
    bool archivalas = false; // "Archiválás": archive sheets instead of data sheets
    bool cimlista = false; // "Érdeklődőnek címlista kiadás": hand the addresses to a buyer
    bool apro = false; // "Apróhírdetési szöveg": the classified-ad texts
    int copies = 1; // of each data sheet
};

// One run of the print dialog: which reports go out, for which properties, in which order, and
// which handouts are recorded. It borrows the register's shared cursor and leaves its filter
// and row as it found them. The handouts of a run are recorded together with it: a run that
// fails or stops half way records none, since no address went out.
class PrintRun
{
public:
    // An address list handed out asks the reports' buyer prompt who receives it.
    explicit PrintRun(PrintReports &reports, QWidget *parent = nullptr);

    // True when everything asked for went out; false when it was abandoned or failed (the user
    // has been told why). Throws StoreError on a table error, after undoing the run's records.
    bool execute(const PrintChoice &choice, Destination destination);

private:
    bool send(const PaintRoutine &paint, int copies);
    bool archiveSheets(const PrintChoice &choice);
    bool sheetsAndLists(const PrintChoice &choice, const std::optional<Buyer> &buyer);
    void filterView(const QString &filterText);
    void recordHandouts();

    PrintReports &m_reports;
    QWidget *m_parent;
    Destination m_destination = Destination::Printer;
    // The run's handouts, recorded when everything went out: one for each property the filter
    // lets through, all with the same buyer and time.
    struct Handouts
    {
        QString filterText;
        QString indexName;
        Record handout; // as the address list shows it
    };
    std::optional<Handouts> m_handouts;
};

#include "print/printrun.h"

#include "buyers/handouts.h"
#include "print/printreports.h"
#include "store/cursorstate.h"
#include "store/filter.h"
#include "store/registerstate.h"

PrintRun::PrintRun(PrintReports &reports, QWidget *parent)
    : m_reports(reports)
    , m_parent(parent)
{ }

bool PrintRun::send(const PaintRoutine &paint, int copies)
{
    return m_reports.output.run(m_destination, paint, copies, m_parent);
}

void PrintRun::filterView(const QString &filterText)
{
    Cursor &view = m_reports.cursors.tEgyszeru;
    view.setFilterText(filterText);
    view.setFiltered(true);
    view.first();
}

bool PrintRun::execute(const PrintChoice &choice, Destination destination)
{
    m_destination = destination;
    const PrintOutput::Batch batch(m_reports.output);
    if (choice.target == PrintChoice::Target::Erdeklodok)
        return send([this](PrintCanvas &canvas) { m_reports.fPrintErdeklodo.paint(canvas); }, 1);

    std::optional<Buyer> buyer;
    if (choice.cimlista) {
        buyer = m_reports.askBuyer();
        if (!buyer)
            return false;
    }

    Cursor &handouts = m_reports.cursors.tErdeklodo;
    CursorState keepHandouts(handouts);
    CursorState keepView(m_reports.cursors.tEgyszeru);
    handouts.open();
    m_pending.clear();
    const bool done = choice.archivalas ? archiveSheets(choice) : sheetsAndLists(choice, buyer);
    if (done)
        recordHandouts();
    m_pending.clear();
    return done;
}

// The handouts wait while the reports go out, since a preview or a print dialog may stay open
// for as long as the user likes and no unit of writes may stay open that long. Written once
// everything went out, together.
void PrintRun::recordHandouts()
{
    if (m_pending.isEmpty())
        return;
    Cursor &handouts = m_reports.cursors.tErdeklodo;
    Database::Transaction unit(handouts.database());
    for (const Record &handout : std::as_const(m_pending))
        ErdeklodoFelvitel(handouts, handout);
    unit.commit();
}

Record PrintRun::latestHandoutOf(double ingatlanId)
{
    for (auto it = m_pending.crbegin(); it != m_pending.crend(); ++it) {
        if (it->number(QStringLiteral("IngatlanId")) == ingatlanId)
            return *it;
    }
    return latestHandout(m_reports.cursors.tErdeklodo, ingatlanId);
}

bool PrintRun::archiveSheets(const PrintChoice &choice)
{
    auto sheet = [this] {
        return send([this](PrintCanvas &canvas) { m_reports.fPrintArchiv.paint(canvas); }, 1);
    };
    if (choice.target == PrintChoice::Target::Aktualis)
        return sheet();
    Cursor &view = m_reports.cursors.tEgyszeru;
    filterView(filters::printListed());
    const int n = view.recordCount();
    for (int i = 0; i < n; ++i) {
        if (!sheet())
            return false;
        view.next();
    }
    return true;
}

bool PrintRun::sheetsAndLists(const PrintChoice &choice, const std::optional<Buyer> &buyer)
{
    Cursor &view = m_reports.cursors.tEgyszeru;
    const SheetOptions options = choice.sheet;
    const bool aktualis = choice.target == PrintChoice::Target::Aktualis;
    const double currentId = view.number(QStringLiteral("Id"));

    auto adList = [this] {
        return send([this](PrintCanvas &canvas) { m_reports.fPrintApro.paint(canvas); }, 1);
    };
    auto sheetStep = [&] {
        if (!choice.cimlista || options.reszletesAdatokkal) {
            if (!send([&](PrintCanvas &canvas) { m_reports.fPrintTeljes.paint(canvas, options); },
                      choice.copies))
                return false;
        }
        if (choice.cimlista)
            m_pending.append(handoutRecord(view.number(QStringLiteral("Id")),
                                           view.text(QStringLiteral("Azonosito")), *buyer,
                                           QDateTime::currentDateTime()));
        return true;
    };

    if (aktualis) {
        if (choice.apro) {
            filterView(filters::withId(currentId));
            if (!adList())
                return false;
        } else if (!sheetStep()) {
            return false;
        }
    } else {
        filterView(filters::printListed());
        if (choice.apro) {
            if (!adList())
                return false;
        } else {
            const int n = view.recordCount();
            for (int i = 0; i < n; ++i) {
                if (!sheetStep())
                    return false;
                view.next();
            }
        }
    }

    if (!choice.cimlista)
        return true;
    if (aktualis)
        filterView(filters::withId(currentId));
    else
        view.first();
    CimlistaRun run;
    run.handout = latestHandoutOf(view.number(QStringLiteral("Id")));
    run.megbizoAdataival = options.megbizoAdataival;
    Cursor &settings = m_reports.cursors.tDefaults;
    settings.open();
    run.qElvitel = !settings.text(QStringLiteral("Elvitel")).isEmpty();
    return send([&](PrintCanvas &canvas) { m_reports.fPrintCimlista.paint(canvas, run); }, 1);
}

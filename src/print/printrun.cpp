#include "print/printrun.h"

#include "buyers/handouts.h"
#include "print/printreports.h"
#include "store/bulkwrite.h"
#include "store/cursorstate.h"
#include "store/filter.h"
#include "store/registerstate.h"
#include "store/selection.h"
#include "store/tables.h"

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
    m_handouts.reset();
    const bool done = choice.archivalas ? archiveSheets(choice) : sheetsAndLists(choice, buyer);
    if (done)
        recordHandouts();
    m_handouts.reset();
    return done;
}

// The handouts wait while the reports go out, since a preview or a print dialog may stay open
// for as long as the user likes and no unit of writes may stay open that long. Written once
// everything went out, together, in the order they were printed.
void PrintRun::recordHandouts()
{
    if (!m_handouts)
        return;
    Cursor &view = m_reports.cursors.tEgyszeru;
    Selection handedOut(view.def());
    handedOut.addFilter(Filter::parse(m_handouts->filterText), view.caseInsensitive());
    handedOut.setIndexName(m_handouts->indexName);
    const Record &handout = m_handouts->handout;
    QVector<std::pair<QString, QVariant>> fixed;
    for (const QString &field :
         {QStringLiteral("Name"), QStringLiteral("Address"), QStringLiteral("Telefon"),
          QStringLiteral("Szigsz"), QStringLiteral("When")})
        fixed.append({field, handout.value(field)});
    bulkwrite::appendFor(view.database(), handedOut, tables::erdeklodok,
                         {{QStringLiteral("IngatlanId"), QStringLiteral("Id")},
                          {QStringLiteral("IngatlanAzon"), QStringLiteral("Azonosito")}},
                         fixed);
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
    // Only the data sheets need a visit to each property; the handouts are the view's set.
    auto sheetStep = [&] {
        return send([&](PrintCanvas &canvas) { m_reports.fPrintTeljes.paint(canvas, options); },
                    choice.copies);
    };
    const bool sheets = !choice.cimlista || options.reszletesAdatokkal;

    if (aktualis) {
        if (choice.apro) {
            filterView(filters::withId(currentId));
            if (!adList())
                return false;
        } else if (sheets && !sheetStep()) {
            return false;
        }
    } else {
        filterView(filters::printListed());
        if (choice.apro) {
            if (!adList())
                return false;
        } else if (sheets) {
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
    const QDateTime when = QDateTime::currentDateTime();
    m_handouts = Handouts {view.filterText(), view.indexName(),
                           handoutRecord(view.number(QStringLiteral("Id")),
                                         view.text(QStringLiteral("Azonosito")), *buyer, when)};
    CimlistaRun run;
    run.handout = m_handouts->handout;
    run.megbizoAdataival = options.megbizoAdataival;
    Cursor &settings = m_reports.cursors.tDefaults;
    settings.open();
    run.qElvitel = !settings.text(QStringLiteral("Elvitel")).isEmpty();
    return send([&](PrintCanvas &canvas) { m_reports.fPrintCimlista.paint(canvas, run); }, 1);
}

#pragma once

#include <QString>
#include <functional>
#include <memory>

class PrintCanvas;
class QPrinter;
class QWidget;

// Paints one copy of one report.
using PaintRoutine = std::function<void(PrintCanvas &)>;

enum class Destination { Printer, Preview };

// Where the reports go: the printer the user set up (or the system's default), a preview window,
// or a PDF file saved from the preview. Making the printer for a run is one replaceable
// function, so every run can be sent elsewhere (the tests write each run to a PDF of its own).
class PrintOutput
{
public:
    using PrinterFactory = std::function<std::unique_ptr<QPrinter>()>;

    PrintOutput();
    ~PrintOutput();

    void setPrinterFactory(PrinterFactory factory) { m_factory = std::move(factory); }
    std::unique_ptr<QPrinter> makePrinter() const;

    // The platform's printer setup dialog; the printer chosen there serves the following runs.
    void setupPrinter(QWidget *parent);

    // One report run, to the printer (with the copies asked for) or into a modal preview that
    // returns when it is closed. False when the run failed; the user has been told why.
    bool run(Destination destination, const PaintRoutine &paint, int copies, QWidget *parent);

    // Paints the copies on one printer. A printer that cannot make copies itself (a PDF file)
    // gets the report painted that many times. False when it could not print; `error` says why.
    static bool paintCopies(QPrinter *printer, const PaintRoutine &paint, int copies,
                            QString *error = nullptr);

private:
    bool preview(QPrinter *printer, const PaintRoutine &paint, int copies, QWidget *parent);

    PrinterFactory m_factory;
    std::unique_ptr<QPrinter> m_chosen; // what the setup dialog left, null until it was used
};

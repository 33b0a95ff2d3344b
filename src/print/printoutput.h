#pragma once

#include <QSet>
#include <QString>
#include <functional>
#include <memory>

class PrintCanvas;
class QPrinter;
class QWidget;

// Paints one copy of one report.
using PaintRoutine = std::function<void(PrintCanvas &)>;

enum class Destination { Printer, Preview };

// Thrown from a page hook when the user stopped the run.
struct PrintCancelled
{ };

// Where the reports go: the printer the user set up (or the system's default), a preview window,
// or a PDF file saved from the preview. Making the printer for a run is one replaceable
// function, so every run can be sent elsewhere (the tests write each run to a PDF of its own).
//
// A PDF file is never written over by a later report: a PDF printer without a file (no printer
// is installed, or none was named) asks for one, and a report going to a file this program has
// already written goes to the next free numbered name beside it ("adatlap-2.pdf", ...).
class PrintOutput
{
public:
    using PrinterFactory = std::function<std::unique_ptr<QPrinter>()>;

    // The reports sent while a batch lives are one run for the user (the sheets and lists of one
    // press of "Nyomtatás"): a PDF file is asked for once, the later reports numbered after it.
    // A report sent outside a batch is a batch of its own.
    class Batch
    {
    public:
        explicit Batch(PrintOutput &output);
        ~Batch();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

    private:
        PrintOutput &m_output;
    };

    PrintOutput();
    ~PrintOutput();

    void setPrinterFactory(PrinterFactory factory) { m_factory = std::move(factory); }

    // When a long run shows its progress window, and how often it looks at it meanwhile.
    struct ProgressTiming
    {
        int showAfterMs = 400;
        int lookEveryMs = 50;
    };
    void setProgressTiming(ProgressTiming timing) { m_progressTiming = timing; }
    std::unique_ptr<QPrinter> makePrinter() const;

    // The platform's printer setup dialog; the printer chosen there serves the following runs.
    void setupPrinter(QWidget *parent);

    // One report run, to the printer (with the copies asked for) or into a modal preview that
    // returns when it is closed. False when the run failed; the user has been told why.
    bool run(Destination destination, const PaintRoutine &paint, int copies, QWidget *parent);

    // Paints the copies on one printer. A printer that cannot make copies itself (a PDF file)
    // gets the report painted that many times. False when it could not print; `error` says why.
    // `progress` is told every page started; when it throws PrintCancelled the run is aborted
    // and false returned with no error.
    static bool paintCopies(QPrinter *printer, const PaintRoutine &paint, int copies,
                            QString *error = nullptr,
                            const std::function<void(int page)> &progress = {});

    // The save dialog for a PDF file, offering `suggestion`; empty when the user cancelled.
    static QString askPdfFile(QWidget *parent, const QString &title, const QString &suggestion);
    // `file` itself when nothing is there, else the first "name-N.pdf" beside it that is free.
    static QString freeFileName(const QString &file);

private:
    bool preview(QPrinter *printer, const PaintRoutine &paint, int copies, QWidget *parent);
    // Gives a PDF printer the file this report goes to; false when the user cancelled.
    bool choosePdfFile(QPrinter &printer, QWidget *parent);

    PrinterFactory m_factory;
    ProgressTiming m_progressTiming;
    std::unique_ptr<QPrinter> m_chosen; // what the setup dialog left, null until it was used
    int m_batches = 0;
    QString m_batchFile; // the file asked for in the current batch
    QString m_batchBase; // and the name its later reports are numbered from
    QString m_lastAsked; // offered again, numbered, the next time a file is asked for
    QSet<QString> m_written; // PDF files written by this program, absolute paths
};

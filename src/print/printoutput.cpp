#include "print/printoutput.h"

#include "print/printcanvas.h"
#include "widgets/errorboundary.h"
#include "widgets/messages.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QToolBar>

namespace {

// Why a printer could not be started, in words the user can act on.
QString startError(const QPrinter *printer)
{
    const bool pdf = printer->outputFormat() == QPrinter::PdfFormat;
    if ((pdf && printer->outputFileName().isEmpty()) || (!pdf && printer->printerName().isEmpty()))
        return QStringLiteral("Nincs elérhető nyomtató, a nyomtatás nem indítható!");
    if (pdf) {
        return QStringLiteral("A(z) %1 fájl nem írható, a nyomtatás nem indítható!")
            .arg(printer->outputFileName());
    }
    return QStringLiteral("A(z) %1 nyomtató nem érhető el, a nyomtatás nem indítható!")
        .arg(printer->printerName());
}

// A long run (the lists of a whole register) shows which page it is at and can be stopped; the
// window is repainted meanwhile. A short one is over before anything is shown.
class PrintProgress
{
public:
    PrintProgress(QWidget *parent, PrintOutput::ProgressTiming timing)
        : m_parent(parent)
        , m_timing(timing)
    {
        m_clock.start();
    }

    // Throws PrintCancelled once the user pressed "Mégsem".
    void at(int page)
    {
        if (m_clock.elapsed() < m_nextLook)
            return;
        m_nextLook = m_clock.elapsed() + m_timing.lookEveryMs;
        if (!m_dialog && m_clock.elapsed() >= m_timing.showAfterMs)
            open();
        if (!m_dialog)
            return;
        m_dialog->setLabelText(QStringLiteral("Nyomtatás folyamatban: %1. oldal").arg(page));
        QCoreApplication::processEvents();
        if (m_dialog->wasCanceled())
            throw PrintCancelled();
    }

private:
    void open()
    {
        m_dialog = std::make_unique<QProgressDialog>(m_parent);
        m_dialog->setObjectName(QStringLiteral("nyomtatasFolyamat"));
        m_dialog->setWindowTitle(QStringLiteral("Pelmora - Nyomtatás"));
        m_dialog->setCancelButtonText(QStringLiteral("Mégsem"));
        m_dialog->setRange(0, 0); // the number of pages is known only at the end
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setMinimumDuration(0);
        m_dialog->show();
    }

    QWidget *m_parent;
    PrintOutput::ProgressTiming m_timing;
    QElapsedTimer m_clock;
    qint64 m_nextLook = 0;
    std::unique_ptr<QProgressDialog> m_dialog;
};

} // namespace

PrintOutput::PrintOutput()
{
    m_factory = [this] {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (m_chosen) {
            printer->setPrinterName(m_chosen->printerName());
            printer->setOutputFormat(m_chosen->outputFormat());
            printer->setOutputFileName(m_chosen->outputFileName());
            printer->setColorMode(m_chosen->colorMode());
            printer->setDuplex(m_chosen->duplex());
        }
        // With no printer installed Qt's own PDF printer is still there: print into a file.
        if (printer->outputFormat() == QPrinter::NativeFormat && printer->printerName().isEmpty())
            printer->setOutputFormat(QPrinter::PdfFormat);
        return printer;
    };
}

PrintOutput::~PrintOutput() = default;

PrintOutput::Batch::Batch(PrintOutput &output)
    : m_output(output)
{
    ++m_output.m_batches;
}

PrintOutput::Batch::~Batch()
{
    if (--m_output.m_batches == 0) {
        m_output.m_batchFile.clear();
        m_output.m_batchBase.clear();
    }
}

QString PrintOutput::askPdfFile(QWidget *parent, const QString &title, const QString &suggestion)
{
    const QFileInfo offered(suggestion);
    QFileDialog dialog(parent, title, suggestion.isEmpty() ? QString() : offered.absolutePath(),
                       QStringLiteral("PDF fájl (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The suffix is added before the dialog asks about an existing file, so "lapok" is checked
    // as the "lapok.pdf" it becomes.
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (!suggestion.isEmpty())
        dialog.selectFile(offered.fileName());
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

QString PrintOutput::freeFileName(const QString &file)
{
    if (!QFileInfo::exists(file))
        return file;
    const QFileInfo info(file);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    for (int n = 2;; ++n) {
        QString numbered = info.dir().filePath(
            QStringLiteral("%1-%2%3").arg(info.completeBaseName()).arg(n).arg(suffix));
        if (!QFileInfo::exists(numbered))
            return numbered;
    }
}

bool PrintOutput::choosePdfFile(QPrinter &printer, QWidget *parent)
{
    QString file = printer.outputFileName();
    QString base = file; // the name a numbered file is counted from
    if (file.isEmpty() && !m_batchFile.isEmpty()) {
        file = m_batchFile;
        base = m_batchBase;
    }
    if (file.isEmpty()) {
        const QString suggestion = m_lastAsked.isEmpty()
            ? QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                  .filePath(QStringLiteral("nyomtatas.pdf"))
            : freeFileName(m_lastAsked);
        file = askPdfFile(parent, QStringLiteral("Nyomtatás fájlba (PDF)"), suggestion);
        if (file.isEmpty())
            return false;
        // Taking the numbered name offered goes on counting from the same name.
        const bool offered = QFileInfo(file) == QFileInfo(suggestion);
        base = offered && !m_lastAsked.isEmpty() ? m_lastAsked : file;
        m_batchFile = file;
        m_batchBase = m_lastAsked = base;
        // Chosen in the dialog, which asked about an existing file: written as chosen.
        m_written.remove(QFileInfo(file).absoluteFilePath());
    }
    if (m_written.contains(QFileInfo(file).absoluteFilePath()))
        file = freeFileName(base);
    m_written.insert(QFileInfo(file).absoluteFilePath());
    printer.setOutputFileName(file);
    return true;
}

std::unique_ptr<QPrinter> PrintOutput::makePrinter() const
{
    std::unique_ptr<QPrinter> printer = m_factory();
    // Page positions are measured inside the margins, never from the paper's edge.
    printer->setFullPage(false);
    PrintCanvas::prepare(printer.get());
    return printer;
}

void PrintOutput::setupPrinter(QWidget *parent)
{
    std::unique_ptr<QPrinter> printer = makePrinter();
    QPrintDialog dialog(printer.get(), parent);
    dialog.setWindowTitle(QStringLiteral("Pelmora - Nyomtató beállítása"));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, false);
    if (dialog.exec() == QDialog::Accepted)
        m_chosen = std::move(printer);
}

bool PrintOutput::paintCopies(QPrinter *printer, const PaintRoutine &paint, int copies,
                              QString *error, const std::function<void(int page)> &progress)
{
    copies = std::max(copies, 1);
    int passes = 1;
    printer->setCopyCount(1);
    if (copies > 1) {
        if (printer->supportsMultipleCopies())
            printer->setCopyCount(copies);
        else
            passes = copies;
    }
    PrintCanvas canvas(printer);
    if (!canvas.isActive()) {
        if (error)
            *error = startError(printer);
        return false;
    }
    canvas.setPageHook(progress);
    try {
        for (int i = 0; i < passes; ++i)
            paint(canvas);
    } catch (const PrintCancelled &) {
        // Nothing half printed is left behind: the printer drops the job, a PDF its file.
        printer->abort();
        if (error)
            error->clear();
        return false;
    }
    // A printer can end in error after the last page was handed over.
    if (!canvas.finish() || printer->printerState() == QPrinter::Error) {
        if (error)
            *error = QStringLiteral("A nyomtatás hibával ért véget, a nyomat hiányos lehet!");
        return false;
    }
    return true;
}

bool PrintOutput::run(Destination destination, const PaintRoutine &paint, int copies,
                      QWidget *parent)
{
    const Batch single(*this);
    std::unique_ptr<QPrinter> printer = makePrinter();
    if (destination == Destination::Preview)
        return preview(printer.get(), paint, copies, parent);
    if (printer->outputFormat() == QPrinter::PdfFormat && !choosePdfFile(*printer, parent))
        return false;
    QString error;
    PrintProgress progress(parent, m_progressTiming);
    if (paintCopies(printer.get(), paint, copies, &error, [&](int page) { progress.at(page); }))
        return true;
    if (!error.isEmpty())
        showMessage(error);
    return false;
}

bool PrintOutput::preview(QPrinter *printer, const PaintRoutine &paint, int copies, QWidget *parent)
{
    QPrintPreviewDialog dialog(printer, parent);
    dialog.setWindowTitle(QStringLiteral("Pelmora - Nyomtatási kép"));
    dialog.setWindowState(dialog.windowState() | Qt::WindowMaximized);
    // A table error while painting must not escape through Qt's signal machinery; it ends the
    // run once the preview is closed.
    QString failure;
    auto collected = [&](PrintCanvas &canvas) {
        if (const auto error = failureOf([&] { paint(canvas); }))
            failure = *error;
    };
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter *target) {
        QString error;
        if (!paintCopies(target, collected, copies, &error))
            failure = error;
    });

    if (auto *toolbar = dialog.findChild<QToolBar *>()) {
        toolbar->addSeparator();
        QAction *save = toolbar->addAction(QStringLiteral("Mentés PDF-be..."));
        save->setObjectName(QStringLiteral("mentesPdf"));
        QObject::connect(save, &QAction::triggered, &dialog, [&] {
            const QString file = askPdfFile(&dialog, QStringLiteral("Mentés PDF-be"), QString());
            if (file.isEmpty())
                return;
            QPrinter pdf(QPrinter::HighResolution);
            pdf.setOutputFormat(QPrinter::PdfFormat);
            pdf.setOutputFileName(file);
            QString error;
            if (!paintCopies(&pdf, collected, copies, &error))
                showMessage(error);
        });
    }
    dialog.exec();
    if (failure.isEmpty())
        return true;
    showMessage(failure);
    return false;
}

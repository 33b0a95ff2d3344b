#include "printoutput.h"

#include "messages.h"
#include "printcanvas.h"
#include "storeerror.h"

#include <QAction>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
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
        return printer;
    };
}

PrintOutput::~PrintOutput() = default;

std::unique_ptr<QPrinter> PrintOutput::makePrinter() const
{
    std::unique_ptr<QPrinter> printer = m_factory();
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
                              QString *error)
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
    for (int i = 0; i < passes; ++i)
        paint(canvas);
    if (!canvas.finish()) {
        if (error)
            *error = QStringLiteral("A nyomtatás hibával ért véget, a nyomat hiányos lehet!");
        return false;
    }
    return true;
}

bool PrintOutput::run(Destination destination, const PaintRoutine &paint, int copies,
                      QWidget *parent)
{
    std::unique_ptr<QPrinter> printer = makePrinter();
    if (destination == Destination::Preview)
        return preview(printer.get(), paint, copies, parent);
    QString error;
    if (paintCopies(printer.get(), paint, copies, &error))
        return true;
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
    auto guarded = [&](PrintCanvas &canvas) {
        try {
            paint(canvas);
        } catch (const StoreError &e) {
            failure = e.message();
        }
    };
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter *target) {
        QString error;
        if (!paintCopies(target, guarded, copies, &error))
            failure = error;
    });

    if (auto *toolbar = dialog.findChild<QToolBar *>()) {
        toolbar->addSeparator();
        QAction *save = toolbar->addAction(QStringLiteral("Mentés PDF-be..."));
        save->setObjectName(QStringLiteral("mentesPdf"));
        QObject::connect(save, &QAction::triggered, &dialog, [&] {
            QString file =
                QFileDialog::getSaveFileName(&dialog, QStringLiteral("Mentés PDF-be"), QString(),
                                             QStringLiteral("PDF fájl (*.pdf)"));
            if (file.isEmpty())
                return;
            if (!file.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
                file += QStringLiteral(".pdf");
            QPrinter pdf(QPrinter::HighResolution);
            pdf.setOutputFormat(QPrinter::PdfFormat);
            pdf.setOutputFileName(file);
            QString error;
            if (!paintCopies(&pdf, guarded, copies, &error))
                showMessage(error);
        });
    }
    dialog.exec();
    if (failure.isEmpty())
        return true;
    showMessage(failure);
    return false;
}

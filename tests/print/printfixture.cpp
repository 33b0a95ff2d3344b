#include "tests/print/printfixture.h"

#include "print/printcanvas.h"

#include "store/textformat.h"

#include <QPrinter>
#include <QProcess>

namespace {

QString plainBlanks(QString text)
{
    text.replace(QChar(0x00A0), QLatin1Char(' '));
    text.replace(QChar(0x202F), QLatin1Char(' '));
    return text;
}

} // namespace

PrintFixture::PrintFixture()
    : db(dir.path())
    , cursors(db)
{
    cursors.tDefaults.open();
    if (cursors.tDefaults.isEmpty()) {
        cursors.tDefaults.append();
        cursors.tDefaults.setValue(QStringLiteral("Version"), 3);
        cursors.tDefaults.post();
    }
    cursors.tEgyszeru.open();
}

void PrintFixture::capture(PrintOutput &output)
{
    output.setPrinterFactory([this] {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        const QString file = dir.filePath(
            QStringLiteral("run-%1.pdf").arg(m_runs.size() + 1, 2, 10, QLatin1Char('0')));
        printer->setOutputFileName(file);
        m_runs.append(file);
        return printer;
    });
}

QString PrintFixture::pdfText(const QString &file)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-raw"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), file,
                   QStringLiteral("-")});
    process.waitForFinished(60000);
    return plainBlanks(QString::fromUtf8(process.readAllStandardOutput()));
}

QString PrintFixture::render(const PaintRoutine &paint, int copies)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString file = dir.filePath(QStringLiteral("render-%1.pdf").arg(++m_rendered));
    printer.setOutputFileName(file);
    if (!PrintOutput::paintCopies(&printer, paint, copies))
        return QString();
    return pdfText(file);
}

void PrintFixture::setSettings(const QHash<QString, QVariant> &values)
{
    Cursor &settings = cursors.tDefaults;
    settings.edit();
    for (auto it = values.begin(); it != values.end(); ++it)
        settings.setValue(it.key(), it.value());
    settings.post();
}

int PrintFixture::addProperty(const QHash<QString, QVariant> &values)
{
    Cursor &c = cursors.tEgyszeru;
    c.append();
    for (auto it = values.begin(); it != values.end(); ++it)
        c.setValue(it.key(), it.value());
    c.post();
    return c.integer(QStringLiteral("Id"));
}

void PrintFixture::addDetails(int egyszeruId, const QHash<QString, QVariant> &values)
{
    addLinked(cursors.tReszletes, egyszeruId, values);
}

void PrintFixture::addOwner(int egyszeruId, const QHash<QString, QVariant> &values)
{
    addLinked(cursors.tTulajdonos, egyszeruId, values);
}

void PrintFixture::addLinked(Cursor &c, int egyszeruId, const QHash<QString, QVariant> &values)
{
    c.open();
    c.append();
    c.setValue(QStringLiteral("EgyszeruId"), egyszeruId);
    for (auto it = values.begin(); it != values.end(); ++it)
        c.setValue(it.key(), it.value());
    c.post();
    c.close();
}

int pageCount(const QString &text)
{
    QString trimmed = text;
    while (trimmed.endsWith(QLatin1Char('\f')) || trimmed.endsWith(QLatin1Char('\n')))
        trimmed.chop(1);
    return trimmed.isEmpty() ? 0 : static_cast<int>(trimmed.count(QLatin1Char('\f'))) + 1;
}

QString pageText(const QString &text, int page)
{
    return text.split(QLatin1Char('\f')).value(page);
}

bool inOrder(const QString &text, const QStringList &parts)
{
    qsizetype from = 0;
    for (const QString &part : parts) {
        const qsizetype at = text.indexOf(part, from);
        if (at < 0) {
            qWarning("inOrder: %s not found after position %lld", qPrintable(part),
                     static_cast<long long>(from));
            return false;
        }
        from = at + part.size();
    }
    return true;
}

QString printedMoney(double amount)
{
    return plainBlanks(textformat::moneyText(amount));
}

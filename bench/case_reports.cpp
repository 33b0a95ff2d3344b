#include "bench/benchcase.h"
#include "bench/generator.h"
#include "buyers/handouts.h"
#include "print/printreports.h"
#include "print/printrun.h"
#include "store/bulkwrite.h"
#include "store/filter.h"
#include "store/registerstate.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>

// The two lists that go through the whole print list, with every property of a large register
// on it: the classified-ad list and the address list handed to a buyer, each as the print dialog
// sends it (its buyer asked, its handouts recorded), into a PDF file.
namespace {

QString pdfText(const QString &file)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-raw"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), file,
                   QStringLiteral("-")});
    process.waitForFinished(600000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString identifier(int number)
{
    return QStringLiteral("P-%1").arg(number, 6, 10, QLatin1Char('0'));
}

// Every property once, the first and the last among them, on a sensible number of pages.
void checkList(BenchRun &run, const QString &name, const QString &file, int perPageAtLeast)
{
    if (!QFileInfo::exists(file)) {
        run.fail(name + QStringLiteral(": no PDF written"));
        return;
    }
    const QString text = pdfText(file);
    const int pages = static_cast<int>(text.count(QLatin1Char('\f')));
    QSet<QString> seen;
    static const QRegularExpression id(QStringLiteral("\\bP-\\d{6}\\b"));
    for (auto it = id.globalMatch(text); it.hasNext();)
        seen.insert(it.next().captured());
    if (seen.size() != run.n || !seen.contains(identifier(1)) || !seen.contains(identifier(run.n)))
        run.fail(QStringLiteral("%1: %2 of %3 properties printed")
                     .arg(name)
                     .arg(seen.size())
                     .arg(run.n));
    if (pages < 1 || pages > run.n / perPageAtLeast + 1)
        run.fail(QStringLiteral("%1: %2 pages for %3 properties").arg(name).arg(pages).arg(run.n));
    if (!text.startsWith(QStringLiteral("Pelmora Ingatlan Nyilvántartás")))
        run.fail(name + QStringLiteral(": no page header on the first page"));
}

int handoutCount(Database &db)
{
    QSqlQuery q = db.query(QStringLiteral("SELECT COUNT(*) FROM erdeklodok"));
    return q.next() ? q.value(0).toInt() : -1;
}

const BenchRegistrar registrar(QStringLiteral("reports"), 100000, 3, [](BenchRun &run) {
    BenchDatabase db(run, QStringLiteral("data"));
    generator::generateRegister(db, run.n);
    RegisterState cursors(db);
    cursors.tDefaults.append();
    cursors.tDefaults.setValue(QStringLiteral("Name"), QStringLiteral("Mérő Ingatlan Kft."));
    cursors.tDefaults.setValue(QStringLiteral("Irsz"), QStringLiteral("9021"));
    cursors.tDefaults.setValue(QStringLiteral("Varos"), QStringLiteral("Győr"));
    cursors.tDefaults.setValue(QStringLiteral("Utca"), QStringLiteral("Baross út 1."));
    cursors.tDefaults.setValue(QStringLiteral("Elvitel"),
                               QStringLiteral("A címek elvitele jutalékfizetési kötelezettséggel "
                                              "jár.\r\nA jutalék a vételár 3%-a."));
    cursors.tDefaults.setValue(QStringLiteral("Version"), 3.0);
    cursors.tDefaults.post();
    cursors.tEgyszeru.open();
    bulkwrite::setField(db, Selection(cursors.tEgyszeru.def()), QStringLiteral("Print"), true);

    const Buyer buyer {QStringLiteral("Érdeklődő Ödön"), QStringLiteral("Szeged, Tisza L. krt. 2."),
                       QStringLiteral("+36 30 1234567"), QStringLiteral("123456AB")};
    PrintReports reports(cursors, [&buyer] { return std::optional<Buyer>(buyer); });
    QString file;
    reports.output.setPrinterFactory([&file] {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(file);
        return printer;
    });
    PrintChoice ads;
    ads.target = PrintChoice::Target::Kijelolt;
    ads.apro = true;
    PrintChoice addresses;
    addresses.target = PrintChoice::Target::Kijelolt;
    addresses.cimlista = true;
    addresses.sheet.reszletesAdatokkal = false;

    run.measureGrowth();
    double adMillis = 0;
    double addressMillis = 0;
    for (int i = 0; i < run.runs; ++i) {
        const QString adFile = run.workDir + QStringLiteral("/apro-%1.pdf").arg(i);
        const QString addressFile = run.workDir + QStringLiteral("/cimlista-%1.pdf").arg(i);
        const int handoutsBefore = handoutCount(db);
        bool done = true;
        run.time([&] {
            QElapsedTimer timer;
            timer.start();
            PrintRun printRun(reports);
            file = adFile;
            done = printRun.execute(ads, Destination::Printer) && done;
            adMillis += static_cast<double>(timer.restart()) / run.runs;
            file = addressFile;
            done = printRun.execute(addresses, Destination::Printer) && done;
            addressMillis += static_cast<double>(timer.elapsed()) / run.runs;
        });
        if (!done)
            run.fail(QStringLiteral("a list did not go out"));
        if (handoutCount(db) != handoutsBefore + run.n)
            run.fail(QStringLiteral("%1 handouts recorded instead of %2")
                         .arg(handoutCount(db) - handoutsBefore)
                         .arg(run.n));
        if (i == 0) {
            checkList(run, QStringLiteral("ad list"), adFile, 5);
            checkList(run, QStringLiteral("address list"), addressFile, 10);
        }
        QFile::remove(adFile);
        QFile::remove(addressFile);
    }
    run.setSize(QStringLiteral("%1 properties; ad list %2 ms, address list %3 ms (mean)")
                    .arg(run.n)
                    .arg(adMillis, 0, 'f', 0)
                    .arg(addressMillis, 0, 'f', 0));
});

} // namespace

#include "bench/benchcase.h"
#include "bench/generator.h"
#include "publish/uploadfiles.h"
#include "store/cp1250.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/registerstate.h"

#include <QDir>
#include <QFile>

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Undoes the portal's encoding, to check a column against the record it came from.
QString urlDecode(const QByteArray &encoded)
{
    QByteArray bytes = encoded;
    bytes.replace('+', ' ');
    return cp1250::decode(QByteArray::fromPercentEncoding(bytes));
}

} // namespace

// The three files of an upload run for a large register, every property in the upload set.
static BenchRegistrar registrar(QStringLiteral("upload-files"), 100000, 5, [](BenchRun &run) {
    BenchDatabase db(run, QStringLiteral("data"));
    generator::generateRegister(db, run.n);
    RegisterState cursors(db);
    cursors.tDefaults.append();
    cursors.tDefaults.setValue(QStringLiteral("Userid"), QStringLiteral("bench1"));
    cursors.tDefaults.setValue(QStringLiteral("Name"), QStringLiteral("Mérő Ingatlan Kft."));
    cursors.tDefaults.setValue(QStringLiteral("Version"), 3.0);
    cursors.tDefaults.post();
    Cursor &properties = cursors.tEgyszeru;
    const QDir out(run.workDir);

    for (int i = 0; i < run.runs; ++i) {
        // As the upload panel leaves it when entered with "only the ones not yet uploaded" off.
        properties.setFilterText(QString());
        properties.setFiltered(true);
        const QString stamp = MakeRunStamp(QDateTime::currentDateTime());
        run.time([&] {
            WriteDataFile(stamp, properties, out);
            WriteHeadFile(stamp, properties, out);
            WriteUserFile(stamp, cursors.tDefaults, out);
        });

        const QByteArray data = readFile(out.filePath(dataFileName(stamp)));
        const QByteArray head = readFile(out.filePath(headFileName(stamp)));
        const QByteArray user = readFile(out.filePath(userFileName(stamp)));
        if (data.count("\r\n") != run.n || head.count("\r\n") != run.n || user.count("\r\n") != 11)
            run.fail(QStringLiteral("line counts %1, %2, %3")
                         .arg(data.count("\r\n"))
                         .arg(head.count("\r\n"))
                         .arg(user.count("\r\n")));
        const QList<QByteArray> lines = data.split('\n');
        const int sample = run.n * 7 / 10;
        const QList<QByteArray> columns = lines.value(sample).chopped(1).split('\t');
        const Record record = properties.recordAt(sample);
        if (columns.size() != 33 ||
            cp1250::decode(columns[1]) != record.text(QStringLiteral("Azonosito")) ||
            urlDecode(columns[28]) != record.text(QStringLiteral("LeirasMagyar")) ||
            urlDecode(columns[14]) != record.text(QStringLiteral("CimVaros")))
            run.fail(QStringLiteral("line %1 does not match its property").arg(sample + 1));
        if (i == 0)
            run.setSize(QStringLiteral("%1 properties, %2 MB")
                            .arg(run.n)
                            .arg((data.size() + head.size()) / 1e6, 0, 'f', 1));
        for (const QString &name : {dataFileName(stamp), headFileName(stamp), userFileName(stamp)})
            QFile::remove(out.filePath(name));
    }
});

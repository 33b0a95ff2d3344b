#include "publish/newsfile.h"

#include "store/cp1250.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/storeerror.h"
#include "store/tables.h"
#include "store/textformat.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <limits>
#include <optional>
#include <unistd.h>
#include <vector>

namespace {

constexpr int actionNews = 1;
constexpr int actionInquiry = 2;

// The inquiry's twelve lines in the order they come; the last two are prices.
const char *const inquiryFields[] = {
    "Nev",     "CimIrsz", "CimVaros",  "CimUtca",   "CimMegye",
    "Telefon", "Email",   "TipusText", "Telepules", "Szoveg",
};

struct Entry
{
    QString mikor;
    QString kuldo;
    int action = 0;
    QString uzenet;
    QStringList inquiry;
    double artol = 0;
    double arig = 0;
    QString identity;
};

// A line ends at CR, an LF right after it belonging to the line end; 0x1A or the physical end
// ends the file. A lone LF is an ordinary character of the line.
std::vector<QByteArray> splitLines(QByteArray bytes)
{
    const qsizetype eof = bytes.indexOf('\x1a');
    if (eof >= 0)
        bytes.truncate(eof);
    std::vector<QByteArray> lines;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        qsizetype cr = bytes.indexOf('\r', pos);
        if (cr < 0)
            cr = bytes.size();
        lines.push_back(bytes.mid(pos, cr - pos));
        pos = cr + 1;
        if (pos < bytes.size() && bytes.at(pos) == '\n')
            ++pos;
    }
    return lines;
}

std::optional<qint64> wholeNumber(const QByteArray &line, qint64 min, qint64 max)
{
    const QByteArray text = line.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    if (i == text.size() || text.size() - i > 12)
        return std::nullopt;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    if (negative)
        value = -value;
    if (value < min || value > max)
        return std::nullopt;
    return value;
}

class Reader
{
public:
    explicit Reader(std::vector<QByteArray> lines)
        : m_lines(std::move(lines))
    { }

    bool atEnd() const { return m_next >= m_lines.size(); }

    bool onlyBlankLinesLeft() const
    {
        for (size_t i = m_next; i < m_lines.size(); ++i) {
            if (!m_lines[i].isEmpty())
                return false;
        }
        return true;
    }

    const QByteArray &line()
    {
        if (atEnd())
            throw StoreError(QStringLiteral("a fájl a(z) %1. sornál egy bejegyzés közepén véget ér")
                                 .arg(m_next + 1));
        return m_lines[m_next++];
    }

    QString text() { return cp1250::decode(line()); }
    const QByteArray &lastLine() const { return m_lines[m_next - 1]; }
    size_t position() const { return m_next; }

    // The lines from `from` up to the current one, as they came.
    QByteArray linesSince(size_t from) const
    {
        QByteArray joined;
        for (size_t i = from; i < m_next; ++i)
            joined += m_lines[i] + '\r';
        return joined;
    }

    qint64 number(qint64 min, qint64 max, const QString &what)
    {
        const QByteArray &read = line();
        const std::optional<qint64> value = wholeNumber(read, min, max);
        if (!value)
            throw StoreError(
                QStringLiteral("a(z) %1. sorban nem szabályos %2 áll").arg(m_next).arg(what));
        return *value;
    }

private:
    std::vector<QByteArray> m_lines;
    size_t m_next = 0;
};

std::vector<Entry> parse(std::vector<QByteArray> lines)
{
    Reader reader(std::move(lines));
    std::vector<Entry> entries;
    QHash<QByteArray, int> seen;
    while (!reader.onlyBlankLinesLeft()) {
        const size_t start = reader.position();
        Entry entry;
        entry.mikor = reader.text();
        entry.kuldo = reader.text();
        entry.action = static_cast<int>(reader.number(std::numeric_limits<qint16>::min(),
                                                      std::numeric_limits<qint16>::max(),
                                                      QStringLiteral("műveletkód")));
        // Codes other than news and inquiry show their own line as the message.
        entry.uzenet = cp1250::decode(reader.lastLine());
        if (entry.action == actionNews) {
            entry.uzenet = reader.text();
        } else if (entry.action == actionInquiry) {
            entry.uzenet = QStringLiteral("Érdeklődés érkezett.");
            for (size_t i = 0; i < std::size(inquiryFields); ++i)
                entry.inquiry << reader.text();
            const QString price = QStringLiteral("ár");
            entry.artol = static_cast<double>(reader.number(
                std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max(), price));
            entry.arig = static_cast<double>(reader.number(
                std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max(), price));
        }
        // Two entries of one file may well be alike; the count among equals tells them apart.
        const QByteArray digest =
            QCryptographicHash::hash(reader.linesSince(start), QCryptographicHash::Sha256);
        entry.identity = QString::fromLatin1(digest.toHex()).left(56) +
            QString::number(++seen[digest]).rightJustified(8, QLatin1Char('0'));
        entries.push_back(std::move(entry));
    }
    return entries;
}

// Stores the entries not stored before, and counts them.
NewsCounts store(Database &db, const std::vector<Entry> &entries)
{
    Database::Transaction transaction(db);
    Cursor hirek(db, tables::hirek, false);
    Cursor erdeklodes(db, tables::erdeklodes, false);
    Cursor digests(db, tables::hirkivonat, false);
    QSet<QString> known;
    digests.scan({QStringLiteral("Kivonat")}, [&](const Record &record) {
        known.insert(record.text(QStringLiteral("Kivonat")));
    });
    const QString processed = textformat::timestampNow();
    NewsCounts stored;
    for (const Entry &entry : entries) {
        if (known.contains(entry.identity)) {
            ++stored.alreadyStored;
            continue;
        }
        digests.append();
        digests.setValue(QStringLiteral("Kivonat"), entry.identity);
        digests.setValue(QStringLiteral("Mikor"), processed);
        digests.post();
        ++stored.messages;
        hirek.append();
        hirek.setValue(QStringLiteral("Mikor"), entry.mikor);
        hirek.setValue(QStringLiteral("Kuldo"), entry.kuldo);
        hirek.setValue(QStringLiteral("Action"), entry.action);
        hirek.setValue(QStringLiteral("Uzenet"), entry.uzenet);
        if (entry.action == actionInquiry) {
            ++stored.inquiries;
            erdeklodes.append();
            for (size_t i = 0; i < std::size(inquiryFields); ++i)
                erdeklodes.setValue(QString::fromLatin1(inquiryFields[i]),
                                    entry.inquiry.at(static_cast<qsizetype>(i)));
            erdeklodes.setValue(QStringLiteral("Artol"), entry.artol);
            erdeklodes.setValue(QStringLiteral("Arig"), entry.arig);
            erdeklodes.setValue(QStringLiteral("Mikor"), processed);
            erdeklodes.post();
        }
        hirek.post();
    }
    transaction.commit();
    return stored;
}

// Written through to the disk and checked at every step: a full disk must not pass for a
// saved copy.
bool writeDurably(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        file.write(bytes) != bytes.size() || !file.flush() || ::fsync(file.handle()) != 0 ||
        file.size() != bytes.size()) {
        *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit() || QFileInfo(path).size() != bytes.size()) {
        *error = file.errorString();
        QFile::remove(path);
        return false;
    }
    return true;
}

// A copy of a refused file under a name that tells when it came; never over an earlier one.
QString keepAside(const QString &dataDir, const QByteArray &bytes, QString *error)
{
    const QString folder = RefusedNewsDir(dataDir);
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("a(z) %1 mappa nem hozható létre").arg(folder);
        return {};
    }
    const QString stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    QString path = folder + QStringLiteral("news-%1.txt").arg(stamp);
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder + QStringLiteral("news-%1-%2.txt").arg(stamp).arg(n);
    return writeDurably(path, bytes, error) ? path : QString();
}

} // namespace

QString RefusedNewsDir(const QString &dataDir)
{
    return QDir(dataDir).filePath(QStringLiteral("hibas-hirek")) + QLatin1Char('/');
}

bool ProcessNewsFile(Database &db, const QString &path,
                     const std::function<void(const QString &)> &log, NewsCounts *counts)
{
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        log(QStringLiteral("A(z) %1 nem olvasható (%2), a hírek a szerveren maradnak.")
                .arg(name, file.errorString()));
        return false;
    }
    const QByteArray bytes = file.readAll();
    const bool readOk = file.error() == QFileDevice::NoError;
    file.close();
    if (!readOk) {
        log(QStringLiteral("A(z) %1 nem olvasható (%2), a hírek a szerveren maradnak.")
                .arg(name, file.errorString()));
        return false;
    }

    NewsCounts result;
    std::vector<Entry> entries;
    try {
        entries = parse(splitLines(bytes));
    } catch (const StoreError &error) {
        result.malformed = true;
        QString why;
        result.keptAside = keepAside(db.dataDir(), bytes, &why);
        if (counts)
            *counts = result;
        if (result.keptAside.isEmpty()) {
            log(QStringLiteral("Hibás %1: %2. A hírek nem kerültek rögzítésre, és a fájl "
                               "másolata sem menthető (%3).")
                    .arg(name, error.message(), why));
            return false;
        }
        QFile::remove(path);
        log(QStringLiteral("Hibás %1: %2. A hírek nem kerültek rögzítésre; a fájl másolata: %3")
                .arg(name, error.message(), QDir::toNativeSeparators(result.keptAside)));
        return false;
    }
    try {
        result = store(db, entries);
    } catch (const StoreError &error) {
        log(QStringLiteral("A hírek rögzítése nem sikerült: %1").arg(error.message()));
        return false;
    }

    if (counts)
        *counts = result;
    if (!QFile::remove(path))
        log(QStringLiteral("A(z) %1 nem törölhető.").arg(name));
    log(QString::number(result.messages) + QStringLiteral(" új hír érkezett."));
    if (result.inquiries >= 1)
        log(QString::number(result.inquiries) + QStringLiteral(" új érdeklődés érkezett."));
    if (result.alreadyStored > 0)
        log(QStringLiteral("%1 korábban már rögzített bejegyzés nem került újra rögzítésre.")
                .arg(result.alreadyStored));
    return true;
}

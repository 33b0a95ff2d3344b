#pragma once

#include <QSqlError>
#include <QString>
#include <stdexcept>

// A table, file or filter problem, with a message meant for the user (Hungarian).
class StoreError : public std::runtime_error
{
public:
    explicit StoreError(const QString &message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    { }
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

// A save refused because the record was saved (or removed) by someone else since it was read:
// the edit stays with the caller, who may read the record again.
class ConflictError : public StoreError
{
public:
    ConflictError(const QString &table, bool gone)
        : StoreError(conflictMessage(table, gone))
        , m_table(table)
        , m_gone(gone)
    { }
    const QString &table() const { return m_table; }
    bool gone() const { return m_gone; }

    static QString conflictMessage(const QString &table, bool gone);

private:
    QString m_table;
    bool m_gone;
};

// A failed statement in the user's words. A full disk is the one failure an agency can mend
// itself, so it says so; anything else keeps the driver's own text for whoever helps.
inline QString databaseError(const QSqlError &error)
{
    // The server's unique_violation: the one value no two rows may share is the identifier.
    if (error.nativeErrorCode() == QLatin1String("23505") &&
        error.databaseText().contains(QLatin1String("Azonosito")))
        return QStringLiteral("Van már ilyen azonosító!");
    // SQLITE_FULL
    if (error.nativeErrorCode() == QLatin1String("13") ||
        error.text().contains(QLatin1String("disk is full")))
        return QStringLiteral("Adatbázis hiba: nincs elég szabad hely a lemezen. Szabadítson fel "
                              "helyet, majd próbálja újra.");
    return QStringLiteral("Adatbázis hiba: %1").arg(error.text());
}

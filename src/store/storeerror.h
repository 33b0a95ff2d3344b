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

// A failed statement in the user's words. A full disk is the one failure an agency can mend
// itself, so it says so; anything else keeps the driver's own text for whoever helps.
inline QString databaseError(const QSqlError &error)
{
    // SQLITE_FULL
    if (error.nativeErrorCode() == QLatin1String("13") ||
        error.text().contains(QLatin1String("disk is full")))
        return QStringLiteral("Adatbázis hiba: nincs elég szabad hely a lemezen. Szabadítson fel "
                              "helyet, majd próbálja újra.");
    return QStringLiteral("Adatbázis hiba: %1").arg(error.text());
}

#pragma once

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

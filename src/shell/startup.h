#pragma once

#include <QString>
#include <QStringList>

class InstanceLock;
struct RegisterState;

namespace startup {

// Takes the lock file's first step. The question to ask when another copy seems to work on the
// same data directory ("OK" goes on), else empty.
QString lockQuestion(InstanceLock &lock);

// Empty when the register was made by this version of the program, else what to say before the
// start is refused.
QString versionProblem(double storedVersion);

// The lists the register's windows offer: the property types and the settlements, read from
// their reference cursors. The type cursor is closed afterwards; the settlements stay open for
// the postcode look-up.
struct RegisterLists
{
    QStringList types;
    QStringList settlements;
};
RegisterLists registerLists(RegisterState &cursors);

// The search panel's type choices: "<üres>" (no type asked for) before the types.
QStringList searchTypeChoices(const QStringList &types);

} // namespace startup

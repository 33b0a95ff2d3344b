#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QString>

class Cursor;

// The three text files the portal reads, byte for byte: Windows-1250, every line ending in
// CR LF, no byte-order mark. They are named after the run stamp so that one run's files never
// overwrite another's on the server.

// The local start of the run in milliseconds since the start of 1 January of year 1.
QString MakeRunStamp(const QDateTime &localStart);

// Letters and digits pass, a blank becomes "+", every other byte "%XX"; so an encoded column
// never holds a TAB or a line break.
QByteArray UrlEncode(const QByteArray &cp1250Text);
QByteArray UrlEncode(const QString &text);

QString dataFileName(const QString &runStamp);
QString headFileName(const QString &runStamp);
QString userFileName(const QString &runStamp);

// How the data and head writers read the register: straight from SQLite where the register is an
// SQLite file, else through Qt SQL, which serves every driver. Both write the same bytes; the
// Qt SQL reading can be asked for to compare them.
enum class RegisterReader { Fastest, QtSql };

// Each writer creates its file in `directory` (an existing file is overwritten) and returns
// its path. A file that cannot be written throws StoreError naming it.

// One line per record of the properties' view, in the cursor's order.
QString WriteDataFile(const QString &runStamp, const Cursor &properties, const QDir &directory,
                      RegisterReader reader = RegisterReader::Fastest);
// Every property: switches the cursor's filter off and leaves it off for the caller to restore.
QString WriteHeadFile(const QString &runStamp, Cursor &properties, const QDir &directory,
                      RegisterReader reader = RegisterReader::Fastest);
// The agency's data from the current record of the settings cursor.
QString WriteUserFile(const QString &runStamp, const Cursor &settings, const QDir &directory);

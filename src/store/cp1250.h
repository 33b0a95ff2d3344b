#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The portal, its files and the tables speak Windows-1250. Everything the program stores or
// writes passes through here so that a character outside that repertoire becomes "?" once, at
// the edge, instead of surprising the portal later.
namespace cp1250 {

QByteArray encode(const QString &text);
// The same, appended to `out`: one byte per character, a character outside the repertoire (a
// surrogate pair too) one "?".
void append(QByteArray &out, QStringView text);
// UTF-8 text, as SQLite hands it over, appended as append() appends the same text. Bytes that
// are not well-formed UTF-8 append nothing and give false: their reading is the reader's.
bool appendUtf8(QByteArray &out, QByteArrayView utf8);
// Bytes that Windows-1250 leaves undefined (0x81, 0x83, 0x88, 0x90, 0x98) read as "?".
QString decode(const QByteArray &bytes);
// The text as it will read after a round trip through Windows-1250.
QString clean(const QString &text);

} // namespace cp1250

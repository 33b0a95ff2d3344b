#pragma once

#include <QByteArray>
#include <QString>

// The portal, its files and the tables speak Windows-1250. Everything the program stores or
// writes passes through here so that a character outside that repertoire becomes "?" once, at
// the edge, instead of surprising the portal later.
namespace cp1250 {

QByteArray encode(const QString &text);
// Bytes that Windows-1250 leaves undefined (0x81, 0x83, 0x88, 0x90, 0x98) read as "?".
QString decode(const QByteArray &bytes);
// The text as it will read after a round trip through Windows-1250.
QString clean(const QString &text);

} // namespace cp1250

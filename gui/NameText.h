#pragma once

#include <QByteArray>
#include <QString>
#include <string>
#include <string_view>

#include "db/Names.h"

// The one conversion between the database's name bytes and the texts on screen. Every view and
// dialog goes through it, so a change of character table is made here alone.
namespace satorix::texts {

// Names are single bytes in the receiver's own character set; Latin-1 keeps one byte one character.
inline QString fromBytes(std::string_view bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

inline std::string toBytes(const QString& text) { return text.toLatin1().toStdString(); }

// A name field of the image (at most 16 bytes, NUL not guaranteed).
inline QString nameFromField(const char* name) { return fromBytes(boundedName(name)); }

} // namespace satorix::texts

#pragma once

#include <QByteArray>
#include <QString>
#include <string>
#include <string_view>

#include "db/NameCodec.h"
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

// The list's row texts and everything read through the name codec are UTF-8.
inline QString fromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A program or provider name, read in its own character table.
inline QString decodedName(const char* field, NameTable table)
{
    return fromUtf8(decodeName(boundedName(field), table));
}

// A typed name no single table holds; %1: the characters the best table lacks.
constexpr const char* CANNOT_STORE = "These characters cannot be stored in one character table: %1";

// The bytes for a typed name (see encodeName).
inline EncodedName encodedName(const QString& text, NameTable table, std::size_t room = 15)
{
    return encodeName(text.toStdString(), table, room);
}

} // namespace satorix::texts

#pragma once

#include <QByteArray>
#include <QString>
#include <string>
#include <string_view>

// Texts the views show, exactly as the users know them, and the one conversion between the
// database's name bytes and the texts on screen.
namespace satorix::texts {

constexpr const char* ROOT_FAVS = "Favs";
constexpr const char* ROOT_PROVIDERS = "Providers";
constexpr const char* ROOT_SATELLITES = "Satellites";
constexpr const char* EMPTY_PLACEHOLDER = "Empty";
constexpr const char* NO_CHANNELS = "---NO CHANNELS---";
constexpr const char* CANNOT_RENAME = "You cannot change name of this tree element.";
constexpr const char* UNKNOWN_FAV_LIST = "Program executing error:\nUnknown FAV list!";
constexpr const char* READ_ERROR = "Error: %d->(%d)";
constexpr const char* NO_MEMORY = "Missing memory to create list";

// Names are single bytes in the receiver's own character set; Latin-1 keeps one byte one character.
inline QString fromBytes(std::string_view bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
inline std::string toBytes(const QString& text) { return text.toLatin1().toStdString(); }

} // namespace satorix::texts

#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <string>

#include "gui/NameText.h"

namespace satorix {

// Text helpers the editing dialogs share: reading numbers the way the receiver's own tools did,
// the database's 16-byte names and the messages every dialog shows the same way.

// The first n characters of a field, as the fixed buffers of the original dialogs took them.
inline QString fieldText(const QString& text, int n) { return text.left(n); }

// A decimal integer from the start of text: leading blanks and a sign allowed, anything after the
// digits ignored. Empty when the text holds no number there.
std::optional<long long> leadingInteger(const QString& text);

// The leading integer, or 0 when there is none (transponder node texts, positioner numbers).
inline long long leadingIntegerOrZero(const QString& text) { return leadingInteger(text).value_or(0); }

// A name field of the image (at most 16 bytes, NUL not guaranteed) as text.
inline QString nameText(const char* name) { return texts::nameFromField(name); }

// Orbital position in tenths of a degree with a comma before the last digit: 192 -> "19,2", 8 -> "0,8".
QString positionText(int tenths);

// The leading decimal number of a degree text (first comma taken as the decimal point) in tenths,
// made non-negative and truncated: "19,2" -> 192, "13,05" -> 130, "" -> 0.
std::int32_t parsePositionText(const QString& text);

} // namespace satorix

#pragma once

#include <QString>
#include <cstdint>

namespace satorix {

class Prompter;

// The numeric fields both transponder dialogs check when OK is pressed.
enum class TransponderField { Frequency, SymbolRate, TransportStreamId, NetworkId, OriginalNetworkId };

// Reads the field's text (at most 11 characters); a value outside the field's range, or no number,
// is refused with the field's message and false. On success value receives the number.
bool checkTransponderField(TransponderField field, const QString& text, Prompter& prompter, std::int32_t& value);

} // namespace satorix

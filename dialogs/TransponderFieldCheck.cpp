#include "dialogs/TransponderFieldCheck.h"

#include "dialogs/DialogInput.h"
#include "gui/Prompter.h"

namespace satorix {

namespace {

struct FieldRule {
    long long low, high;
    const char* message;
};

FieldRule ruleFor(TransponderField field)
{
    switch (field) {
    case TransponderField::Frequency:
        return {1000, 13000, "Unknown Frequency value: %1!\nYou must enter value 1000..13000"};
    case TransponderField::SymbolRate:
        return {1000, 50000, "Unknown Symbolrate value: %1!\nYou must enter value 1000..50000"};
    case TransponderField::TransportStreamId:
        return {0, 65535, "Unknown Transport Stream ID value: %1!\nYou must enter value 0..65535"};
    case TransponderField::NetworkId: return {0, 65535, "Unknown Network ID value: %1!\nYou must enter value 0..65535"};
    case TransponderField::OriginalNetworkId:
        return {0, 65535, "Unknown Oryginal Network ID value: %1!\nYou must enter value 0..65535"};
    }
    return {0, 0, ""};
}

} // namespace

bool checkTransponderField(TransponderField field, const QString& text, Prompter& prompter, std::int32_t& value)
{
    const FieldRule rule = ruleFor(field);
    const QString read = fieldText(text, 11);
    const std::optional<long long> n = leadingInteger(read);
    if (!n || *n < rule.low || *n > rule.high) {
        prompter.message(QString::fromLatin1(rule.message).arg(read), PromptIcon::Stop);
        return false;
    }
    value = static_cast<std::int32_t>(*n);
    return true;
}

} // namespace satorix

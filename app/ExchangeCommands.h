#pragma once

namespace satorix {

class COrbitDoc;
class CommandMap;

// File > Export, Import and Apply Reference: programs out to a spreadsheet and back, and the
// order, names and favourite lists of another database. Imports show what they would change
// first and are one undo step.
class ExchangeCommands {
public:
    explicit ExchangeCommands(COrbitDoc& doc) : doc_(doc) {}
    void registerCommands(CommandMap& commands);

    void exportPrograms();
    void importPrograms();
    void applyReference();

private:
    COrbitDoc& doc_;
};

} // namespace satorix

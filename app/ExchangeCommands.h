#pragma once

#include <QString>

namespace satorix {

class COrbitDoc;
class CommandMap;
struct ProgramChanges;

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
    // One undo step; the views show the result.
    void apply(const QString& step, const ProgramChanges& changes);

    COrbitDoc& doc_;
};

} // namespace satorix

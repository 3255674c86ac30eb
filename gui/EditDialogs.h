#pragma once

class QWidget;
class QString;

namespace satorix {

// The editing dialogs as the tree and the program list open them. The application hands the
// views one implementation (dialogs/); view tests use a scripted one. Every call is modal.
class EditDialogs {
public:
    virtual ~EditDialogs() = default;

    // Transponder dialog from the tree: mode 1 adds to the satellite with id key, mode 2 edits
    // transponder index key. Returns the frequency left in BrowserState::lastTransponderFrequency
    // (negative when cancelled); polarisation receives the one chosen (0 H, 1 V, 2 L, 3 R).
    virtual int editTransponder(QWidget* parent, int mode, int key, int& polarisation) = 0;

    // Transponder delete dialog (mode 2) for a transponder index. Returns the frequency deleted,
    // negative when nothing was deleted.
    virtual int deleteTransponder(QWidget* parent, int transponderIndex) = 0;

    // Satellite dialog for the satellite with that name; leaves BrowserState::lastSatelliteName.
    virtual void editSatellite(QWidget* parent, const QString& name) = 0;

    // Program dialog: mode 8 edits programIndex, mode 4 adds (programIndex -1 on an empty list).
    // True on OK; newProgramIndex receives the index of the added or edited program.
    virtual bool editProgram(QWidget* parent, int programIndex, int mode, int& newProgramIndex) = 0;

    // Transponder dialog from the program list: mode 2 edits, mode 1 adds, for the program's
    // transponder. True on OK.
    virtual bool editProgramTransponder(QWidget* parent, int programIndex, int mode) = 0;
};

} // namespace satorix

#pragma once

#include "gui/EditDialogs.h"

namespace satorix {

class BrowserState;
class ChannelDatabase;
class Prompter;

// The editing dialogs the views open, each built, loaded and run modally on demand. A dialog
// whose loading failed has shown its message and is not shown; it counts as cancelled.
class EditDialogSet : public EditDialogs {
public:
    EditDialogSet(ChannelDatabase& db, BrowserState& browser, Prompter& prompter)
        : db_(db), browser_(browser), prompter_(prompter)
    {
    }

    int editTransponder(QWidget* parent, int mode, int key, int& polarisation) override;
    int deleteTransponder(QWidget* parent, int transponderIndex) override;
    void editSatellite(QWidget* parent, const QString& name) override;
    bool editProgram(QWidget* parent, int programIndex, int mode, int& newProgramIndex) override;
    bool editProgramTransponder(QWidget* parent, int programIndex, int mode) override;

private:
    ChannelDatabase& db_;
    BrowserState& browser_;
    Prompter& prompter_;
};

} // namespace satorix

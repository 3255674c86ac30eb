#include "dialogs/EditDialogSet.h"

#include "dialogs/DialogInput.h"
#include "dialogs/ProgramEditDialog.h"
#include "dialogs/ProgramTransponderDialog.h"
#include "dialogs/SatelliteEditDialog.h"
#include "dialogs/TransponderDeleteDialog.h"
#include "dialogs/TransponderEditDialog.h"
#include "gui/BrowserState.h"

namespace satorix {

int EditDialogSet::editTransponder(QWidget* parent, int mode, int key, int& polarisation)
{
    TransponderEditDialog dialog(db_, browser_, prompter_, parent);
    // The tree selects the node it was opened on, so the selected text is the caret's.
    if (!dialog.load(key, mode, texts::fromBytes(browser_.selectedText),
                     texts::fromBytes(browser_.previousSiblingText))) {
        browser_.lastTransponderFrequency = -1;
        return -1;
    }
    dialog.exec();
    polarisation = dialog.polarisation();
    return browser_.lastTransponderFrequency;
}

int EditDialogSet::deleteTransponder(QWidget* parent, int transponderIndex)
{
    TransponderDeleteDialog dialog(db_, browser_, prompter_, parent);
    if (!dialog.load(transponderIndex)) {
        browser_.lastTransponderFrequency = -1;
        return -1;
    }
    dialog.exec();
    return browser_.lastTransponderFrequency;
}

void EditDialogSet::editSatellite(QWidget* parent, const QString& name)
{
    SatelliteEditDialog dialog(db_, browser_, prompter_, parent);
    // The tree keeps its label when the satellite cannot be read.
    browser_.lastSatelliteName = texts::toBytes(name);
    if (dialog.load(name)) dialog.exec();
}

bool EditDialogSet::editProgram(QWidget* parent, int programIndex, int mode, int& newProgramIndex)
{
    ProgramEditDialog dialog(db_, browser_, prompter_, parent);
    if (!dialog.load(programIndex, mode) || dialog.exec() != QDialog::Accepted) return false;
    newProgramIndex = dialog.programIndex();
    return true;
}

bool EditDialogSet::editProgramTransponder(QWidget* parent, int programIndex, int mode)
{
    ProgramTransponderDialog dialog(db_, prompter_, parent);
    return dialog.load(programIndex, mode) && dialog.exec() == QDialog::Accepted;
}

} // namespace satorix

#pragma once

#include <QDialog>

#include "db/RecordView.h"
#include "dialogs/ComboItemList.h"
#include "gui/BrowserState.h"

class QComboBox;
class QLineEdit;

namespace satorix {

class ChannelDatabase;
class Prompter;
class TransponderButtons;

// Edits the transponder of a program, or adds a transponder starting from the program's
// satellite, opened from the program list. An existing transponder picked from the frequency
// list only serves as a template.
class ProgramTransponderDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int MODE_ADD = MODE_ADD_TRANSPONDER;
    static constexpr int MODE_EDIT = MODE_EDIT_TRANSPONDER;

    ProgramTransponderDialog(ChannelDatabase& db, Prompter& prompter, QWidget* parent = nullptr);

    // False when a database read failed or no memory was left (the message has been shown).
    bool load(int programIndex, int mode);

private:
    void onOk();
    bool buildFrequencyItems(int satelliteId, int preselectFrequency);
    void onFrequencyPicked(int position);
    void onSatellitePicked(int position);
    bool showTemplate(int position);

    ChannelDatabase& db_;
    Prompter& prompter_;
    int mode_ = MODE_EDIT;
    int programIndex_ = 0;
    RecordView transponder_;
    int satellitePosition_ = -1;
    int frequencyPosition_ = -1;
    // The transponder that OK replaces in edit mode: the program's own, whichever satellite is picked.
    int editedTransponder_ = -1;
    ComboItemList satelliteItems_;
    ComboItemList frequencyItems_;

    QComboBox* satellite_;
    QComboBox* frequency_;
    QLineEdit* symbolRate_;
    QLineEdit* transportStreamId_;
    QLineEdit* networkId_;
    QLineEdit* originalNetworkId_;
    TransponderButtons* buttons_;
};

} // namespace satorix

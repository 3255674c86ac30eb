#pragma once

#include <QDialog>

#include "dialogs/ComboItemList.h"
#include "gui/BrowserState.h"

class QComboBox;
class QPushButton;

namespace satorix {

class BrowserState;
class ChannelDatabase;
class Prompter;

// Deletes a transponder of one satellite together with every program on it, after a Yes/No
// question. BrowserState::lastTransponderFrequency brings the frequency to preselect and takes
// back the deleted one (-1 when nothing was deleted).
class TransponderDeleteDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int MODE_DELETE = MODE_DELETE_TRANSPONDER;

    TransponderDeleteDialog(ChannelDatabase& db, BrowserState& browser, Prompter& prompter, QWidget* parent = nullptr);

    // False when a database read failed or no memory was left (the message has been shown).
    // The opener's mode is always MODE_DELETE; the dialog has no other.
    bool load(int transponderIndex);

    void reject() override;

private:
    void onOk();
    void selectTransponder(int position);

    ChannelDatabase& db_;
    BrowserState& browser_;
    Prompter& prompter_;
    int satellitePosition_ = -1;
    int transponderPosition_ = -1;
    ComboItemList satelliteItems_;
    ComboItemList transponderItems_;

    QComboBox* satellite_;
    QComboBox* transponder_;
    QPushButton* ok_;
};

} // namespace satorix

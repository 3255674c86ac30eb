#pragma once

#include <QDialog>
#include <array>

#include "db/RecordView.h"
#include "dialogs/ComboItemList.h"
#include "gui/BrowserState.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace satorix {

class BrowserState;
class ChannelDatabase;
class Prompter;

// Adds a program or edits one: name, provider, transponder, PIDs, service id, flags, TV or radio
// and the favourite lists it belongs to. The database carries the result; the opener learns the
// index at which the program was stored.
class ProgramEditDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int MODE_ADD = MODE_ADD_PROGRAM;
    static constexpr int MODE_EDIT = MODE_EDIT_PROGRAM;

    ProgramEditDialog(ChannelDatabase& db, const BrowserState& browser, Prompter& prompter, QWidget* parent = nullptr);

    // Edit: the program at programIndex. Add: programIndex is where the new program goes (the row
    // under the pointer, or -1 for none). False when a database read failed or no memory was
    // left; the message has been shown.
    bool load(int programIndex, int mode);

    // After OK: the index at which the program was stored.
    int programIndex() const { return programIndex_; }

private:
    bool buildTransponderItems(int satellitePosition, int preselect);
    void showProgram();
    void preselectFromTree();
    void onSatelliteChanged(int position);
    void onScpcClicked(bool checked);
    void onOk();
    bool readProvider();
    bool readPids();
    bool readServiceId();
    void placeByKind();

    ChannelDatabase& db_;
    const BrowserState& browser_;
    Prompter& prompter_;
    int mode_ = MODE_EDIT;
    int programIndex_ = 0;
    RecordView program_;
    RecordView satelliteCopy_;
    bool hasSatelliteCopy_ = false;
    std::string storedName_; // the name's bytes, kept exactly when the name is not changed
    QString name_;
    std::array<QString, 9> favouriteNames_;
    ComboItemList satelliteItems_;
    ComboItemList providerItems_;
    ComboItemList transponderItems_;
    int satellitePosition_ = -1;
    int providerPosition_ = -1;
    int transponderPosition_ = -1;

    QLineEdit* nameEdit_;
    QComboBox* provider_;
    QComboBox* transponder_;
    QComboBox* satellite_;
    QLineEdit* videoPid_;
    QLineEdit* audioPid_;
    QLineEdit* pcrPid_;
    QLineEdit* serviceId_;
    std::array<QCheckBox*, 9> favourite_{};
    std::array<QLineEdit*, 9> favouriteName_{};
    QCheckBox* scrambled_;
    QCheckBox* scpc_;
    QCheckBox* locked_;
    QCheckBox* user_;
    QRadioButton* tv_;
    QRadioButton* radio_;
};

} // namespace satorix

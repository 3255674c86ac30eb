#pragma once

#include <QDialog>

#include "db/RecordView.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace satorix {

class BrowserState;
class ChannelDatabase;
class Prompter;

// Edits one satellite: name, position, LNB, DiSEqC, tone and positioner. "Default" fills the
// settings from the table of known satellites found by the typed name. The name reaches the
// database as soon as OK is pressed, even when a later check refuses the input.
class SatelliteEditDialog : public QDialog {
    Q_OBJECT
public:
    SatelliteEditDialog(ChannelDatabase& db, BrowserState& browser, Prompter& prompter, QWidget* parent = nullptr);

    // The first satellite with exactly this name. False when it cannot be read (message shown).
    bool load(const QString& name);

    int satelliteIndex() const { return index_; }

private:
    void showSatellite();
    void onDefault();
    void onOk();
    bool readPositioner(const RecordView& stored, int satelliteCount);
    bool readLnb(QComboBox* combo, const char* message, std::int32_t& value);

    ChannelDatabase& db_;
    BrowserState& browser_;
    Prompter& prompter_;
    int index_ = -1;
    RecordView satellite_;

    QLineEdit* name_;
    QLineEdit* degree_;
    QComboBox* eastWest_;
    QComboBox* lnbLow_;
    QComboBox* lnbHigh_;
    QComboBox* diseqcMode_;
    QComboBox* diseqc11_;
    QComboBox* tone_;
    QLineEdit* positioner_;
    QCheckBox* diseqc12_;
};

} // namespace satorix

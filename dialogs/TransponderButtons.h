#pragma once

#include <QObject>

#include "db/RecordView.h"

class QButtonGroup;
class QGroupBox;
class QWidget;

namespace satorix {

// The "Polarization" and "FEC" radio-button groups of both transponder dialogs.
class TransponderButtons : public QObject {
    Q_OBJECT
public:
    // The program list's dialog names the FEC buttons by transmission system instead of code rate.
    enum class FecCaptions { CodeRate, System };

    TransponderButtons(FecCaptions captions, QWidget* parent);

    QGroupBox* polarisationBox() const { return polarisationBox_; }
    QGroupBox* fecBox() const { return fecBox_; }

    // Checks the buttons of the record's polarisation and fec; a value without a button leaves
    // its group unchecked.
    void showValues(const RecordView& transponder);
    // "Horizontal" and the FEC button of code 0, as a new transponder starts.
    void showDefaults();
    // The checked buttons into the record; a group with nothing checked leaves its field alone.
    void readValues(RecordView& transponder) const;

private:
    QGroupBox* polarisationBox_;
    QGroupBox* fecBox_;
    QButtonGroup* polarisation_;
    QButtonGroup* fec_;
};

} // namespace satorix

#include "dialogs/ProgramTransponderDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "db/ChannelDatabase.h"
#include "dialogs/DialogInput.h"
#include "dialogs/DialogWidgets.h"
#include "dialogs/TransponderButtons.h"
#include "dialogs/TransponderFieldCheck.h"
#include "gui/Prompter.h"

namespace satorix {

ProgramTransponderDialog::ProgramTransponderDialog(ChannelDatabase& db, Prompter& prompter, QWidget* parent)
    : QDialog(parent), db_(db), prompter_(prompter)
{
    setObjectName(QStringLiteral("programTransponderDialog"));
    setWindowTitle(QStringLiteral("Transponder edit"));

    satellite_ = new QComboBox(this);
    satellite_->setObjectName(QStringLiteral("satelliteCombo"));
    frequency_ = new QComboBox(this);
    frequency_->setObjectName(QStringLiteral("frequencyCombo"));
    frequency_->setEditable(true);
    frequency_->setInsertPolicy(QComboBox::NoInsert);
    symbolRate_ = namedLineEdit("symbolRateEdit", this);
    buttons_ = new TransponderButtons(TransponderButtons::FecCaptions::System, this);
    transportStreamId_ = namedLineEdit("transportStreamIdEdit", this);
    networkId_ = namedLineEdit("networkIdEdit", this);
    originalNetworkId_ = namedLineEdit("originalNetworkIdEdit", this);

    auto* top = new QFormLayout;
    top->addRow(QStringLiteral("Satellite"), satellite_);
    top->addRow(QStringLiteral("Frequency"), frequency_);
    top->addRow(QStringLiteral("Symbolrate"), symbolRate_);
    auto* groups = new QHBoxLayout;
    groups->addWidget(buttons_->polarisationBox());
    groups->addWidget(buttons_->fecBox());
    auto* ids = new QFormLayout;
    ids->addRow(QStringLiteral("Transport Stream ID"), transportStreamId_);
    ids->addRow(QStringLiteral("Network ID"), networkId_);
    ids->addRow(QStringLiteral("Original Network ID"), originalNetworkId_);

    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    box->setObjectName(QStringLiteral("buttonBox"));
    box->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(box, &QDialogButtonBox::accepted, this, &ProgramTransponderDialog::onOk);
    connect(box, &QDialogButtonBox::rejected, this, &ProgramTransponderDialog::reject);
    connect(satellite_, &QComboBox::activated, this, &ProgramTransponderDialog::onSatellitePicked);
    connect(frequency_, &QComboBox::activated, this, &ProgramTransponderDialog::onFrequencyPicked);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(groups);
    layout->addLayout(ids);
    layout->addWidget(box);
}

bool ProgramTransponderDialog::load(int programIndex, int mode)
{
    programIndex_ = programIndex;
    mode_ = mode;
    RecordView program;
    if (!reportDatabaseResult(prompter_, DBT_PROGRAM, db_.getRecord(DBT_PROGRAM, programIndex_, program))) return false;
    if (!reportDatabaseResult(prompter_, DBT_TRANSPONDER,
                              db_.getRecord(DBT_TRANSPONDER, program.field[progf::TRANSPONDER], transponder_)))
        return false;
    RecordView satellite;
    if (!reportDatabaseResult(
            prompter_, DBT_SATELLITE,
            db_.getRecord(DBT_SATELLITE, db_.findSatellite(transponder_.field[tpf::SAT_ID]), satellite)))
        return false;

    int count = 0;
    if (!reportDatabaseResult(prompter_, DBT_SATELLITE, db_.getCount(DBT_SATELLITE, count))) return false;
    satelliteItems_.clear();
    for (int i = 0; i < count; ++i) {
        RecordView s;
        if (!reportDatabaseResult(prompter_, DBT_SATELLITE, db_.getRecord(DBT_SATELLITE, i, s))) return false;
        if (!satelliteItems_.append(nameText(s.name[0]), i)) {
            prompter_.message(QStringLiteral("Missing memory (1)"));
            return false;
        }
        if (satellitePosition_ < 0 && s.field[satf::ID] == satellite.field[satf::ID]) satellitePosition_ = i;
    }
    if (!buildFrequencyItems(satellite.field[satf::ID], transponder_.field[tpf::FREQUENCY])) return false;
    if (const ComboItem* item = frequencyItems_.atPosition(frequencyPosition_)) editedTransponder_ = item->dbIndex;

    setWindowTitle(mode_ == MODE_EDIT ? QStringLiteral("Edit transponder") : QStringLiteral("Add transponder"));
    satelliteItems_.fill(satellite_);
    satellite_->setCurrentIndex(satellitePosition_);
    frequencyItems_.fill(frequency_);
    if (mode_ == MODE_EDIT) {
        buttons_->showValues(transponder_);
        symbolRate_->setText(QString::number(transponder_.field[tpf::SYMBOL_RATE]));
        transportStreamId_->setText(QString::number(transponder_.field[tpf::TSID]));
        networkId_->setText(QString::number(transponder_.field[tpf::NID]));
        originalNetworkId_->setText(QString::number(transponder_.field[tpf::ONID]));
        frequency_->setCurrentIndex(frequencyPosition_);
    } else {
        buttons_->showDefaults();
    }
    return true;
}

// The transponders of one satellite; with preselectFrequency >= 0 the last one with that
// frequency becomes the preselected position.
bool ProgramTransponderDialog::buildFrequencyItems(int satelliteId, int preselectFrequency)
{
    frequencyItems_.clear();
    int count = 0;
    if (!reportDatabaseResult(prompter_, DBT_TRANSPONDER, db_.getCount(DBT_TRANSPONDER, count))) return false;
    for (int i = 0; i < count; ++i) {
        RecordView t;
        if (!reportDatabaseResult(prompter_, DBT_TRANSPONDER, db_.getRecord(DBT_TRANSPONDER, i, t))) return false;
        if (t.field[tpf::SAT_ID] != satelliteId) continue;
        if (!frequencyItems_.append(QString::number(t.field[tpf::FREQUENCY]), i)) {
            prompter_.message(QStringLiteral("Missing memory (3)"));
            return false;
        }
        if (preselectFrequency >= 0 && t.field[tpf::FREQUENCY] == preselectFrequency)
            frequencyPosition_ = frequencyItems_.size() - 1;
    }
    return true;
}

// Shows the values of the transponder at a frequency position; the combo goes back to the
// preselected position, since that is the transponder OK replaces.
bool ProgramTransponderDialog::showTemplate(int position)
{
    const ComboItem* item = frequencyItems_.atPosition(position);
    if (!item) return false;
    RecordView picked;
    if (!reportDatabaseResult(prompter_, DBT_TRANSPONDER, db_.getRecord(DBT_TRANSPONDER, item->dbIndex, picked)))
        return false;
    transponder_ = picked;
    buttons_->showValues(transponder_);
    symbolRate_->setText(QString::number(transponder_.field[tpf::SYMBOL_RATE]));
    transportStreamId_->setText(QString::number(transponder_.field[tpf::TSID]));
    networkId_->setText(QString::number(transponder_.field[tpf::NID]));
    originalNetworkId_->setText(QString::number(transponder_.field[tpf::ONID]));
    frequency_->setCurrentIndex(frequencyPosition_);
    frequency_->setEditText(item->text);
    return true;
}

void ProgramTransponderDialog::onFrequencyPicked(int position)
{
    if (mode_ == MODE_EDIT) showTemplate(position);
}

void ProgramTransponderDialog::onSatellitePicked(int position)
{
    satellitePosition_ = position;
    const ComboItem* item = satelliteItems_.atPosition(position);
    if (!item) return;
    RecordView satellite;
    if (!reportDatabaseResult(prompter_, DBT_SATELLITE, db_.getRecord(DBT_SATELLITE, item->dbIndex, satellite))) return;
    if (!buildFrequencyItems(satellite.field[satf::ID], -1)) return;
    frequencyItems_.fill(frequency_);
    if (mode_ == MODE_EDIT && !frequencyItems_.empty()) showTemplate(frequencyItems_.size() - 1);
}

void ProgramTransponderDialog::onOk()
{
    RecordView& t = transponder_;
    if (!checkTransponderField(TransponderField::Frequency, frequency_->currentText(), prompter_,
                               t.field[tpf::FREQUENCY])) {
        focusRefusedField(frequency_);
        return;
    }
    buttons_->readValues(t);
    if (!checkTransponderField(TransponderField::SymbolRate, symbolRate_->text(), prompter_,
                               t.field[tpf::SYMBOL_RATE])) {
        focusRefusedField(symbolRate_);
        return;
    }
    const ComboItem* satelliteItem = satelliteItems_.atPosition(satellitePosition_);
    if (!satelliteItem) {
        prompter_.message(QStringLiteral("Error: Can not recognize choosed satellite!"), PromptIcon::Stop);
        return;
    }
    RecordView satellite;
    if (!reportDatabaseResult(prompter_, DBT_SATELLITE,
                              db_.getRecord(DBT_SATELLITE, satelliteItem->dbIndex, satellite)))
        return;
    t.field[tpf::SAT_ID] = satellite.field[satf::ID];
    if (!checkTransponderField(TransponderField::TransportStreamId, transportStreamId_->text(), prompter_,
                               t.field[tpf::TSID])) {
        focusRefusedField(transportStreamId_);
        return;
    }
    if (!checkTransponderField(TransponderField::NetworkId, networkId_->text(), prompter_, t.field[tpf::NID])) {
        focusRefusedField(networkId_);
        return;
    }
    if (!checkTransponderField(TransponderField::OriginalNetworkId, originalNetworkId_->text(), prompter_,
                               t.field[tpf::ONID])) {
        focusRefusedField(originalNetworkId_);
        return;
    }
    if (mode_ == MODE_ADD) {
        int count = 0;
        if (!reportDatabaseResult(prompter_, DBT_TRANSPONDER, db_.getCount(DBT_TRANSPONDER, count))) return;
        // A duplicate has been refused with the database's own message; any other refusal was
        // shown there too, and the dialog is done.
        if (db_.recordOp(DBT_TRANSPONDER, OP_ADD, count, t) == DB_TRANSPONDER_EXISTS) return;
    } else if (!reportDatabaseResult(prompter_, DBT_TRANSPONDER,
                                     db_.recordOp(DBT_TRANSPONDER, OP_EDIT, editedTransponder_, t))) {
        return;
    }
    db_.updateCrc(db_.version());
    QDialog::accept();
}

} // namespace satorix

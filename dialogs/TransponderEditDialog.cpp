#include "dialogs/TransponderEditDialog.h"

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
#include "gui/BrowserState.h"
#include "gui/Prompter.h"

namespace satorix {

TransponderEditDialog::TransponderEditDialog(ChannelDatabase& db, BrowserState& browser, Prompter& prompter,
                                             QWidget* parent)
    : QDialog(parent), db_(db), browser_(browser), prompter_(prompter)
{
    setObjectName(QStringLiteral("transponderEditDialog"));
    setWindowTitle(QStringLiteral("Transponder edit"));

    satellite_ = namedLineEdit("satelliteEdit", this);
    satellite_->setReadOnly(true);
    satellite_->setEnabled(false);
    frequency_ = namedLineEdit("frequencyEdit", this);
    symbolRate_ = namedLineEdit("symbolRateEdit", this);
    networkId_ = namedLineEdit("networkIdEdit", this);
    transportStreamId_ = namedLineEdit("transportStreamIdEdit", this);
    originalNetworkId_ = namedLineEdit("originalNetworkIdEdit", this);
    buttons_ = new TransponderButtons(TransponderButtons::FecCaptions::CodeRate, this);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Satellite"), satellite_);
    fields->addRow(QStringLiteral("Frequency"), frequency_);
    fields->addRow(QStringLiteral("Symbolrate"), symbolRate_);
    fields->addRow(QStringLiteral("Network ID"), networkId_);
    fields->addRow(QStringLiteral("Transport Stream ID"), transportStreamId_);
    fields->addRow(QStringLiteral("Original Network ID"), originalNetworkId_);

    auto* groups = new QHBoxLayout;
    groups->addWidget(buttons_->polarisationBox());
    groups->addWidget(buttons_->fecBox());

    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    box->setObjectName(QStringLiteral("buttonBox"));
    restore_ = box->addButton(QStringLiteral("Restore"), QDialogButtonBox::ResetRole);
    restore_->setObjectName(QStringLiteral("restoreButton"));
    box->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(box, &QDialogButtonBox::accepted, this, &TransponderEditDialog::onOk);
    connect(box, &QDialogButtonBox::rejected, this, &TransponderEditDialog::reject);
    connect(restore_, &QPushButton::clicked, this, &TransponderEditDialog::showTransponder);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(groups);
    layout->addWidget(box);

    setTabOrder(frequency_, symbolRate_);
    setTabOrder(symbolRate_, networkId_);
    setTabOrder(networkId_, transportStreamId_);
    setTabOrder(transportStreamId_, originalNetworkId_);
}

bool TransponderEditDialog::load(int value, int mode, const QString& caretText, const QString& previousText)
{
    mode_ = mode;
    transponder_ = RecordView{};
    if (mode_ == MODE_EDIT) {
        // findTransponder finds the first of two transponders with one frequency; the tree shows
        // them side by side, so equal numbers on the caret and the node before it mean the second.
        // A caret without a number is no transponder node: nothing to tell apart then.
        const long long caret = leadingIntegerOrZero(caretText);
        transponderIndex_ = caret != 0 && caret == leadingIntegerOrZero(previousText) ? value + 1 : value;
        if (const int r = db_.getRecord(DBT_TRANSPONDER, transponderIndex_, transponder_)) {
            prompter_.message(QString::fromStdString(databaseErrorText(DBT_TRANSPONDER, r)));
            return false;
        }
    } else {
        transponder_.field[tpf::SAT_ID] = value;
    }
    RecordView satellite;
    if (const int r = db_.getRecord(DBT_SATELLITE, db_.findSatellite(transponder_.field[tpf::SAT_ID]), satellite)) {
        prompter_.message(QString::fromStdString(databaseErrorText(DBT_SATELLITE, r)));
        return false;
    }
    satelliteName_ = nameText(satellite.name[0]);

    setWindowTitle(mode_ == MODE_EDIT ? QStringLiteral("Edit transponder") : QStringLiteral("Add transponder"));
    browser_.lastTransponderFrequency = -1;
    if (mode_ == MODE_EDIT) {
        showTransponder();
    } else {
        satellite_->setText(satelliteName_);
        buttons_->showDefaults();
        restore_->setEnabled(false);
    }
    return true;
}

void TransponderEditDialog::showTransponder()
{
    setWindowTitle(mode_ == MODE_EDIT ? QStringLiteral("Edit transponder") : QStringLiteral("Add transponder"));
    buttons_->showValues(transponder_);
    satellite_->setText(satelliteName_);
    frequency_->setText(QString::number(transponder_.field[tpf::FREQUENCY]));
    symbolRate_->setText(QString::number(transponder_.field[tpf::SYMBOL_RATE]));
    transportStreamId_->setText(QString::number(transponder_.field[tpf::TSID]));
    networkId_->setText(QString::number(transponder_.field[tpf::NID]));
    originalNetworkId_->setText(QString::number(transponder_.field[tpf::ONID]));
}

void TransponderEditDialog::onOk()
{
    RecordView& t = transponder_;
    if (!checkTransponderField(TransponderField::Frequency, frequency_->text(), prompter_, t.field[tpf::FREQUENCY])) {
        focusRefusedField(frequency_);
        return;
    }
    browser_.lastTransponderFrequency = t.field[tpf::FREQUENCY];
    buttons_->readValues(t);
    if (!checkTransponderField(TransponderField::SymbolRate, symbolRate_->text(), prompter_,
                               t.field[tpf::SYMBOL_RATE])) {
        focusRefusedField(symbolRate_);
        return;
    }
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
    if (!store()) return;
    db_.updateCrc(db_.version());
    QDialog::accept();
}

bool TransponderEditDialog::store()
{
    if (mode_ == MODE_EDIT) {
        if (const int r = db_.recordOp(DBT_TRANSPONDER, OP_EDIT, transponderIndex_, transponder_)) {
            prompter_.message(QString::fromStdString(databaseErrorText(DBT_TRANSPONDER, r)));
            return false;
        }
        return true;
    }
    int count = 0;
    if (const int r = db_.getCount(DBT_TRANSPONDER, count)) {
        prompter_.message(QString::fromStdString(databaseErrorText(DBT_TRANSPONDER, r)));
        return false;
    }
    const int r = db_.recordOp(DBT_TRANSPONDER, OP_ADD, count, transponder_);
    if (r == DB_TRANSPONDER_EXISTS) {
        // The database has told the user that this transponder exists already.
        browser_.lastTransponderFrequency = -10;
        return false;
    }
    if (r != 0) {
        prompter_.message(QString::fromStdString(databaseErrorText(DBT_TRANSPONDER, r)));
        return false;
    }
    return true;
}

void TransponderEditDialog::reject()
{
    browser_.lastTransponderFrequency = -1;
    QDialog::reject();
}

} // namespace satorix

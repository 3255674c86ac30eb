#include "dialogs/TransponderDeleteDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "db/ChannelDatabase.h"
#include "dialogs/DialogInput.h"
#include "dialogs/DialogWidgets.h"
#include "gui/BrowserState.h"
#include "gui/NodeTexts.h"
#include "gui/Prompter.h"

namespace satorix {

TransponderDeleteDialog::TransponderDeleteDialog(ChannelDatabase& db, BrowserState& browser, Prompter& prompter,
                                                 QWidget* parent)
    : QDialog(parent), db_(db), browser_(browser), prompter_(prompter)
{
    setObjectName(QStringLiteral("transponderDeleteDialog"));
    setWindowTitle(QStringLiteral("Transponder Delete"));

    satellite_ = new QComboBox(this);
    satellite_->setObjectName(QStringLiteral("satelliteCombo"));
    transponder_ = new QComboBox(this);
    transponder_->setObjectName(QStringLiteral("transponderCombo"));
    transponder_->setEditable(true);
    transponder_->setInsertPolicy(QComboBox::NoInsert);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Satellite"), satellite_);
    fields->addRow(QStringLiteral("Transponders"), transponder_);

    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    box->setObjectName(QStringLiteral("buttonBox"));
    ok_ = box->button(QDialogButtonBox::Ok);
    ok_->setDefault(true);
    connect(box, &QDialogButtonBox::accepted, this, &TransponderDeleteDialog::onOk);
    connect(box, &QDialogButtonBox::rejected, this, &TransponderDeleteDialog::reject);
    connect(transponder_, &QComboBox::activated, this, &TransponderDeleteDialog::selectTransponder);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(box);
}

bool TransponderDeleteDialog::load(int transponderIndex)
{
    RecordView transponder;
    RecordView satellite;
    if (!reportDatabaseResult(prompter_, DBT_TRANSPONDER,
                              db_.getRecord(DBT_TRANSPONDER, transponderIndex, transponder)))
        return false;
    if (!reportDatabaseResult(
            prompter_, DBT_SATELLITE,
            db_.getRecord(DBT_SATELLITE, db_.findSatellite(transponder.field[tpf::SAT_ID]), satellite)))
        return false;
    const int satelliteId = satellite.field[satf::ID];

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
        if (satellitePosition_ < 0 && s.field[satf::ID] == satelliteId) satellitePosition_ = i;
    }
    if (!reportDatabaseResult(prompter_, DBT_TRANSPONDER, db_.getCount(DBT_TRANSPONDER, count))) return false;
    transponderItems_.clear();
    for (int i = 0; i < count; ++i) {
        RecordView t;
        if (!reportDatabaseResult(prompter_, DBT_TRANSPONDER, db_.getRecord(DBT_TRANSPONDER, i, t))) return false;
        if (t.field[tpf::SAT_ID] != satelliteId) continue;
        // Two transponders may share a frequency: polarisation and symbol rate tell them apart.
        const QString text =
            QString::fromStdString(node::transponderText(t.field[tpf::FREQUENCY], t.field[tpf::POLARISATION])) +
            QStringLiteral(" %1").arg(t.field[tpf::SYMBOL_RATE]);
        if (!transponderItems_.append(text, i)) {
            prompter_.message(QStringLiteral("Missing memory (3)"));
            return false;
        }
    }

    satelliteItems_.fill(satellite_);
    satellite_->setCurrentIndex(satellitePosition_);
    satellite_->setEnabled(false);
    transponderItems_.fill(transponder_);
    // The transponder the user right-clicked, whatever its neighbours' frequencies.
    selectTransponder(transponderItems_.positionOfIndex(transponderIndex));
    browser_.lastTransponderFrequency = -1;
    return true;
}

// Only a transponder picked from the list can be deleted; OK waits for one.
void TransponderDeleteDialog::selectTransponder(int position)
{
    transponderPosition_ = transponderItems_.atPosition(position) ? position : -1;
    transponder_->setCurrentIndex(transponderPosition_);
    ok_->setEnabled(transponderPosition_ >= 0);
}

void TransponderDeleteDialog::onOk()
{
    int satellites = 0;
    int programs = 0;
    if (!reportDatabaseResult(prompter_, DBT_SATELLITE, db_.getCount(DBT_SATELLITE, satellites))) return;
    if (!reportDatabaseResult(prompter_, DBT_PROGRAM, db_.getCount(DBT_PROGRAM, programs))) return;
    const ComboItem* item = transponderItems_.atPosition(transponderPosition_);
    const ComboItem* satelliteItem = satelliteItems_.atPosition(satellitePosition_);
    if (!item) return;
    RecordView satellite;
    if (!reportDatabaseResult(prompter_, DBT_SATELLITE,
                              db_.getRecord(DBT_SATELLITE, satelliteItem ? satelliteItem->dbIndex : -1, satellite)))
        return;
    const int t = item->dbIndex;
    RecordView chosen;
    if (!reportDatabaseResult(prompter_, DBT_TRANSPONDER, db_.getRecord(DBT_TRANSPONDER, t, chosen))) return;
    const QString question = QStringLiteral("Do you realy want to delete transponder %1 (MHz)\nfrom satellite: %2")
                                 .arg(QString::number(chosen.field[tpf::FREQUENCY]), nameText(satellite.name[0]));
    if (prompter_.message(question, PromptIcon::Question, PromptButtons::YesNo) == PromptAnswer::Yes) {
        for (int i = 0; i < programs;) {
            RecordView program;
            if (!reportDatabaseResult(prompter_, DBT_PROGRAM, db_.getRecord(DBT_PROGRAM, i, program))) return;
            if (program.field[progf::TRANSPONDER] != t) {
                ++i;
                continue;
            }
            // The programs behind i move down: look at i again.
            if (!reportDatabaseResult(prompter_, DBT_PROGRAM, db_.recordOp(DBT_PROGRAM, OP_DELETE, i, program))) return;
            if (!reportDatabaseResult(prompter_, DBT_PROGRAM, db_.getCount(DBT_PROGRAM, programs))) return;
        }
        RecordView transponder;
        db_.getRecord(DBT_TRANSPONDER, t, transponder);
        browser_.lastTransponderFrequency = transponder.field[tpf::FREQUENCY];
        if (!reportDatabaseResult(prompter_, DBT_TRANSPONDER, db_.recordOp(DBT_TRANSPONDER, OP_DELETE, t, transponder)))
            return;
    }
    db_.updateCrc(db_.version());
    QDialog::accept();
}

void TransponderDeleteDialog::reject()
{
    // Also after a delete that the database refused: the transponder is still there.
    browser_.lastTransponderFrequency = -1;
    QDialog::reject();
}

} // namespace satorix

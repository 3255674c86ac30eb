#include "dialogs/SatelliteEditDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <cstring>

#include "db/ChannelDatabase.h"
#include "db/Names.h"
#include "db/PredefinedSatellites.h"
#include "dialogs/DialogInput.h"
#include "dialogs/DialogWidgets.h"
#include "gui/BrowserState.h"
#include "gui/Prompter.h"

namespace satorix {

namespace {

constexpr std::array<int, 7> LNB_PRESETS = {5150, 9750, 10000, 10600, 10750, 11300, 11475};
constexpr int MAX_POSITIONER = 200;

// Combo item of an LNB value: the preset's item, or 0 for 0 and any other value.
int lnbItem(int value)
{
    const auto* it = std::find(LNB_PRESETS.begin(), LNB_PRESETS.end(), value);
    return it == LNB_PRESETS.end() ? 0 : static_cast<int>(it - LNB_PRESETS.begin()) + 1;
}

// Item 0 carries a value that is neither 0 nor a preset, so that it survives an untouched OK.
void fillLnb(QComboBox* combo, int value)
{
    combo->clear();
    combo->addItem(value != 0 && lnbItem(value) == 0 ? QString::number(value) : QStringLiteral("0"));
    for (int preset : LNB_PRESETS) combo->addItem(QString::number(preset));
    combo->setCurrentIndex(lnbItem(value));
}

// DiSEqC 1.1 inputs 10 to 16 are stored as 16 to 22.
int diseqc11Item(int port)
{
    if (port >= 0 && port <= 9) return port;
    if (port >= 16 && port <= 22) return port - 6;
    return -1;
}
int diseqc11Port(int item) { return item <= 9 ? item : item + 6; }

int itemOrNone(int value, int count) { return value >= 0 && value < count ? value : -1; }

QComboBox* combo(const char* name, QWidget* parent, bool editable)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(editable);
    if (editable) c->setInsertPolicy(QComboBox::NoInsert);
    return c;
}

} // namespace

SatelliteEditDialog::SatelliteEditDialog(ChannelDatabase& db, BrowserState& browser, Prompter& prompter,
                                         QWidget* parent)
    : QDialog(parent), db_(db), browser_(browser), prompter_(prompter)
{
    setObjectName(QStringLiteral("satelliteEditDialog"));
    setWindowTitle(QStringLiteral("Satellite edit"));

    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("nameEdit"));
    name_->setMaxLength(15);
    degree_ = new QLineEdit(this);
    degree_->setObjectName(QStringLiteral("degreeEdit"));
    eastWest_ = combo("eastWestCombo", this, true);
    eastWest_->addItems({QStringLiteral("E"), QStringLiteral("W")});
    lnbLow_ = combo("lnbLowCombo", this, true);
    lnbHigh_ = combo("lnbHighCombo", this, true);
    diseqcMode_ = combo("diseqcModeCombo", this, false);
    diseqcMode_->addItems({QStringLiteral("OFF"), QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                           QStringLiteral("D"), QStringLiteral("Tone Burst A"), QStringLiteral("Tone Burst B")});
    diseqc11_ = combo("diseqc11Combo", this, false);
    diseqc11_->addItem(QStringLiteral("OFF"));
    for (int i = 1; i <= 16; ++i) diseqc11_->addItem(QString::number(i));
    tone_ = combo("toneCombo", this, false);
    tone_->addItems({QStringLiteral("AUTO"), QStringLiteral("ON"), QStringLiteral("OFF")});
    positioner_ = new QLineEdit(this);
    positioner_->setObjectName(QStringLiteral("positionerEdit"));
    diseqc12_ = new QCheckBox(QStringLiteral(" DiSEqC 1.2"), this);
    diseqc12_->setObjectName(QStringLiteral("diseqc12Check"));

    auto* grid = new QGridLayout;
    int row = 0;
    const auto addRow = [&](const char* label, QWidget* field) {
        grid->addWidget(new QLabel(QString::fromLatin1(label), this), row, 0);
        grid->addWidget(field, row++, 1, 1, 3);
    };
    addRow("Name:", name_);
    grid->addWidget(new QLabel(QStringLiteral("Degree:"), this), row, 0);
    grid->addWidget(degree_, row, 1);
    grid->addWidget(new QLabel(QStringLiteral("\u00b0"), this), row, 2);
    grid->addWidget(eastWest_, row++, 3);
    addRow("LNB Lower LO:", lnbLow_);
    addRow("LNB Upper LO:", lnbHigh_);
    addRow("DiSEqC Mode:", diseqcMode_);
    addRow("DisEqc 1.1 :", diseqc11_);
    addRow("Tone 22 kHz:", tone_);
    addRow("Positioner No :", positioner_);
    grid->addWidget(diseqc12_, row++, 1, 1, 3);

    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    box->setObjectName(QStringLiteral("buttonBox"));
    QPushButton* defaults = box->addButton(QStringLiteral("Default"), QDialogButtonBox::ResetRole);
    defaults->setObjectName(QStringLiteral("defaultButton"));
    defaults->setAutoDefault(false);
    box->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(box, &QDialogButtonBox::accepted, this, &SatelliteEditDialog::onOk);
    connect(box, &QDialogButtonBox::rejected, this, &SatelliteEditDialog::reject);
    connect(defaults, &QPushButton::clicked, this, &SatelliteEditDialog::onDefault);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(box);
}

bool SatelliteEditDialog::load(const QString& name)
{
    db_.findSatelliteByName(texts::toBytes(name).c_str(), &index_);
    if (const int r = db_.getRecord(DBT_SATELLITE, index_, satellite_)) {
        prompter_.message(QString::fromStdString(databaseErrorText(DBT_SATELLITE, r)));
        return false;
    }
    showSatellite();
    return true;
}

void SatelliteEditDialog::showSatellite()
{
    const RecordView& s = satellite_;
    name_->setText(nameText(s.name[0]));
    browser_.lastSatelliteName = std::string(boundedName(s.name[0]));
    positioner_->setText(QString::number(s.field[satf::POSITIONER]));
    degree_->setText(positionText(s.field[satf::POSITION]));
    eastWest_->setCurrentIndex(s.field[satf::EAST_WEST] == 'E' ? 0 : 1);
    fillLnb(lnbLow_, s.field[satf::LNB_LOW]);
    fillLnb(lnbHigh_, s.field[satf::LNB_HIGH]);
    diseqcMode_->setCurrentIndex(itemOrNone(s.field[satf::DISEQC_MODE], diseqcMode_->count()));
    diseqc11_->setCurrentIndex(diseqc11Item(s.field[satf::DISEQC11]));
    tone_->setCurrentIndex(itemOrNone(s.field[satf::TONE22K], tone_->count()));
    diseqc12_->setChecked(s.field[satf::DISEQC12] == 1);
}

void SatelliteEditDialog::onDefault()
{
    const std::string name = texts::toBytes(fieldText(name_->text(), 15));
    const int row = findPredefinedSatellite(name);
    if (row < 0) {
        prompter_.message(QStringLiteral("Cannot find predefined sat parameters."));
        return;
    }
    const PredefinedSatellite& r = predefinedSatellites()[static_cast<std::size_t>(row)];
    degree_->setText(positionText(r.position));
    positioner_->setText(QString::number(r.positionerNo));
    eastWest_->setCurrentIndex(r.eastWest == 'E' ? 0 : 1);
    if (r.lnbLowLo == 0 || lnbItem(r.lnbLowLo) != 0) lnbLow_->setCurrentIndex(lnbItem(r.lnbLowLo));
    if (r.lnbHighLo == 0 || lnbItem(r.lnbHighLo) != 0) lnbHigh_->setCurrentIndex(lnbItem(r.lnbHighLo));
    if (r.diseqcMode >= 0 && r.diseqcMode <= 6) diseqcMode_->setCurrentIndex(r.diseqcMode);
    if (const int item = diseqc11Item(r.diseqc11Port); item >= 0) diseqc11_->setCurrentIndex(item);
    if (r.tone22k >= 0 && r.tone22k <= 2) tone_->setCurrentIndex(r.tone22k);
    if (r.diseqc12 <= 1) diseqc12_->setChecked(r.diseqc12 == 1);
}

void SatelliteEditDialog::onOk()
{
    RecordView stored;
    int count = 0;
    int r = db_.getRecord(DBT_SATELLITE, index_, stored);
    if (r == 0) r = db_.getCount(DBT_SATELLITE, count);
    if (r != 0) {
        prompter_.message(QString::fromStdString(databaseErrorText(DBT_SATELLITE, r)));
        return;
    }
    RecordView& s = satellite_;
    s = stored;

    // The name goes into the database at once; a refusal further down does not take it back.
    const std::string name = texts::toBytes(fieldText(name_->text(), 15));
    const std::string_view typed = name;
    char* field = db_.raw().namePtr(DatabaseImage::satelliteOffset(index_) + layout::sat::NAME);
    if (boundedName(field) != typed) {
        std::memcpy(field, typed.data(), typed.size());
        field[typed.size()] = '\0';
    }
    browser_.lastSatelliteName = std::string(typed);

    s.field[satf::POSITION] = parsePositionText(fieldText(degree_->text(), 15));
    if (!readPositioner(stored, count)) return;
    const QString ew = eastWest_->currentText();
    s.field[satf::EAST_WEST] = ew.isEmpty() ? 0 : static_cast<unsigned char>(texts::toBytes(ew)[0]);
    if (!readLnb(lnbHigh_, "LNB Upper LO Range expected 3350...14900", s.field[satf::LNB_HIGH])) return;
    if (!readLnb(lnbLow_, "LNB Lower LO Range expected 3350...14900", s.field[satf::LNB_LOW])) return;
    if (diseqcMode_->currentIndex() >= 0) s.field[satf::DISEQC_MODE] = diseqcMode_->currentIndex();
    if (diseqc11_->currentIndex() >= 0) s.field[satf::DISEQC11] = diseqc11Port(diseqc11_->currentIndex());
    if (tone_->currentIndex() >= 0) s.field[satf::TONE22K] = tone_->currentIndex();
    s.field[satf::DISEQC12] = diseqc12_->isChecked() ? 1 : 0;

    // Our own copy of the name: setSatellite must not copy the image's bytes onto themselves.
    char nameCopy[NAME_LEN + 1] = {};
    std::memcpy(nameCopy, field, NAME_LEN);
    s.name[0] = nameCopy;
    r = db_.setSatellite(index_, s);
    s.name[0] = field;
    if (r != 0) {
        prompter_.message(QString::fromStdString(databaseErrorText(DBT_SATELLITE, r)));
        return;
    }
    QDialog::accept();
}

bool SatelliteEditDialog::readPositioner(const RecordView& stored, int satelliteCount)
{
    const QString text = fieldText(positioner_->text(), 11);
    const QString rangeMessage =
        QStringLiteral("Your designated value is beyond the limited range,\n please input proper value(28 ~ %1)")
            .arg(MAX_POSITIONER);
    // An empty field means no positioner; letters or a negative number fit no positioner number.
    const std::optional<long long> read = text.trimmed().isEmpty() ? 0 : leadingInteger(text);
    if (!read || *read < 0 || *read > MAX_POSITIONER) {
        prompter_.message(rangeMessage);
        focusRefusedField(positioner_);
        return false;
    }
    const int n = static_cast<int>(*read);
    if (n == 0 || n == stored.field[satf::POSITIONER]) {
        satellite_.field[satf::POSITIONER] = n;
        return true;
    }
    for (int i = 0; i < satelliteCount; ++i) {
        RecordView other;
        if (db_.getRecord(DBT_SATELLITE, i, other) != 0) break;
        if (other.field[satf::POSITIONER] == n) {
            prompter_.message(QStringLiteral("%1(%2) already exist as given DisEqC 1.2 position!")
                                  .arg(nameText(other.name[0]))
                                  .arg(n),
                              PromptIcon::Stop);
            return false;
        }
    }
    satellite_.field[satf::POSITIONER] = n;
    return true;
}

bool SatelliteEditDialog::readLnb(QComboBox* combo, const char* message, std::int32_t& value)
{
    const int item = combo->currentIndex();
    const bool typed = item < 0 || combo->currentText() != combo->itemText(item);
    if (typed) {
        const long long v = std::abs(leadingIntegerOrZero(combo->currentText()));
        if (v < 3350 || v > 14900) {
            prompter_.message(QString::fromLatin1(message));
            focusRefusedField(combo);
            return false;
        }
        value = static_cast<std::int32_t>(v);
    } else if (item == 0) {
        value = static_cast<std::int32_t>(leadingIntegerOrZero(combo->itemText(0)));
    } else {
        value = LNB_PRESETS[static_cast<std::size_t>(item - 1)];
    }
    return true;
}

} // namespace satorix

#include "dialogs/ProgramEditDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>
#include <vector>

#include "db/ChannelDatabase.h"
#include "db/Names.h"
#include "dialogs/DialogInput.h"
#include "dialogs/DialogWidgets.h"
#include "gui/BrowserState.h"
#include "gui/Prompter.h"

namespace satorix {

namespace {

constexpr int PID_LOW = 17;
constexpr int PID_HIGH = 8190;

QLineEdit* edit(const char* name, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

QCheckBox* check(const char* text, const char* name, QWidget* parent)
{
    auto* c = new QCheckBox(QString::fromLatin1(text), parent);
    c->setObjectName(QString::fromLatin1(name));
    return c;
}

void setBit(std::int32_t& flags, std::uint16_t bit, bool on)
{
    flags = on ? (flags | bit) : (flags & ~static_cast<std::int32_t>(bit));
}

} // namespace

ProgramEditDialog::ProgramEditDialog(ChannelDatabase& db, const BrowserState& browser, Prompter& prompter,
                                     QWidget* parent)
    : QDialog(parent), db_(db), browser_(browser), prompter_(prompter)
{
    setObjectName(QStringLiteral("programEditDialog"));
    setWindowTitle(QStringLiteral("Channel edit"));

    nameEdit_ = edit("nameEdit", this);
    nameEdit_->setMaxLength(20);
    provider_ = new QComboBox(this);
    provider_->setObjectName(QStringLiteral("providerCombo"));
    provider_->setEditable(true);
    provider_->setInsertPolicy(QComboBox::NoInsert);
    transponder_ = new QComboBox(this);
    transponder_->setObjectName(QStringLiteral("transponderCombo"));
    satellite_ = new QComboBox(this);
    satellite_->setObjectName(QStringLiteral("satelliteCombo"));
    videoPid_ = edit("videoPidEdit", this);
    audioPid_ = edit("audioPidEdit", this);
    pcrPid_ = edit("pcrPidEdit", this);
    serviceId_ = edit("serviceIdEdit", this);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Channel name"), nameEdit_);
    fields->addRow(QStringLiteral("Provider"), provider_);
    fields->addRow(QStringLiteral("Transponder frequency"), transponder_);
    fields->addRow(QStringLiteral("Satellite"), satellite_);
    fields->addRow(QStringLiteral("PID Video"), videoPid_);
    fields->addRow(QStringLiteral("PID Audio"), audioPid_);
    fields->addRow(QStringLiteral("PID PCR"), pcrPid_);
    fields->addRow(QStringLiteral("Service ID"), serviceId_);

    auto* favourites = new QGroupBox(QStringLiteral("Favorites"), this);
    auto* favGrid = new QGridLayout(favourites);
    for (int k = 0; k < 9; ++k) {
        favourite_[static_cast<std::size_t>(k)] = check("", "", favourites);
        favourite_[static_cast<std::size_t>(k)]->setObjectName(QStringLiteral("fav%1Check").arg(k + 1));
        auto* listName = new QLineEdit(favourites);
        listName->setObjectName(QStringLiteral("fav%1Name").arg(k + 1));
        listName->setReadOnly(true);
        listName->setFocusPolicy(Qt::NoFocus);
        favouriteName_[static_cast<std::size_t>(k)] = listName;
        favGrid->addWidget(favourite_[static_cast<std::size_t>(k)], k, 0);
        favGrid->addWidget(listName, k, 1);
    }

    auto* status = new QGroupBox(QStringLiteral("Ch Status"), this);
    scrambled_ = check("Scrambled", "scrambledCheck", status);
    scpc_ = check("SCPC", "scpcCheck", status);
    locked_ = check("Locked", "lockedCheck", status);
    user_ = check("User.Prog.", "userCheck", status);
    auto* statusLayout = new QVBoxLayout(status);
    for (QCheckBox* c : {scrambled_, scpc_, locked_, user_}) statusLayout->addWidget(c);

    auto* kind = new QGroupBox(QStringLiteral("TV / Radio"), this);
    tv_ = new QRadioButton(QStringLiteral("TV"), kind);
    tv_->setObjectName(QStringLiteral("tvRadio"));
    radio_ = new QRadioButton(QStringLiteral("Radio"), kind);
    radio_->setObjectName(QStringLiteral("radioRadio"));
    auto* kindLayout = new QVBoxLayout(kind);
    kindLayout->addWidget(tv_);
    kindLayout->addWidget(radio_);

    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    box->setObjectName(QStringLiteral("buttonBox"));
    box->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(box, &QDialogButtonBox::accepted, this, &ProgramEditDialog::onOk);
    connect(box, &QDialogButtonBox::rejected, this, &ProgramEditDialog::reject);
    connect(satellite_, &QComboBox::activated, this, &ProgramEditDialog::onSatelliteChanged);
    connect(scpc_, &QCheckBox::clicked, this, &ProgramEditDialog::onScpcClicked);

    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addWidget(status);
    left->addWidget(kind);
    left->addStretch();
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addWidget(favourites);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(box);

    // Down the left column first, then the favourite lists beside it.
    std::vector<QWidget*> order = {nameEdit_,  provider_,  transponder_, satellite_, videoPid_, audioPid_, pcrPid_,
                                   serviceId_, scrambled_, scpc_,        locked_,    user_,     tv_,       radio_};
    order.insert(order.end(), favourite_.begin(), favourite_.end());
    for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

bool ProgramEditDialog::load(int programIndex, int mode)
{
    programIndex_ = programIndex;
    mode_ = mode;
    program_ = RecordView{};
    hasSatelliteCopy_ = false;
    std::string storedName;
    if (programIndex_ != -1) {
        RecordView transponder;
        RecordView provider;
        if (!reportDatabaseResult(prompter_, DBT_PROGRAM, db_.getRecord(DBT_PROGRAM, programIndex_, program_)))
            return false;
        const std::string_view n = boundedName(program_.name[0]);
        storedName = std::string(n);
        if (!reportDatabaseResult(prompter_, DBT_TRANSPONDER,
                                  db_.getRecord(DBT_TRANSPONDER, program_.field[progf::TRANSPONDER], transponder)))
            return false;
        const int s = db_.findSatellite(transponder.field[tpf::SAT_ID]);
        if (!reportDatabaseResult(prompter_, DBT_PROVIDER,
                                  db_.getRecord(DBT_PROVIDER, program_.field[progf::PROVIDER], provider)))
            return false;
        if (!reportDatabaseResult(prompter_, DBT_SATELLITE, db_.getRecord(DBT_SATELLITE, s, satelliteCopy_)))
            return false;
        hasSatelliteCopy_ = true;
    }
    for (int l = 0; l < 9; l += 3) {
        RecordView lists; // position 0: only the names are wanted
        if (!reportDatabaseResult(prompter_, DBT_FAVOURITE, db_.getRecord(DBT_FAVOURITE, l, lists))) return false;
        for (int k = 0; k < 3; ++k)
            favouriteNames_[static_cast<std::size_t>(l + k)] = nameText(lists.name[static_cast<std::size_t>(k)]);
    }
    if (programIndex_ == -1) programIndex_ = 0;
    if (mode_ == MODE_ADD) {
        // The satellite copy stays: a program added on a row starts on that row's satellite.
        program_ = RecordView{};
        storedName.clear();
    }

    int count = 0;
    if (!reportDatabaseResult(prompter_, DBT_SATELLITE, db_.getCount(DBT_SATELLITE, count))) return false;
    satelliteItems_.clear();
    satellitePosition_ = -1;
    for (int i = 0; i < count; ++i) {
        RecordView s;
        if (!reportDatabaseResult(prompter_, DBT_SATELLITE, db_.getRecord(DBT_SATELLITE, i, s))) return false;
        if (!satelliteItems_.append(nameText(s.name[0]), i)) {
            prompter_.message(QStringLiteral("Missing memory (1)"));
            return false;
        }
        if (hasSatelliteCopy_ && satellitePosition_ < 0 && s.field[satf::ID] == satelliteCopy_.field[satf::ID])
            satellitePosition_ = i;
    }
    if (!reportDatabaseResult(prompter_, DBT_PROVIDER, db_.getCount(DBT_PROVIDER, count))) return false;
    providerItems_.clear();
    providerPosition_ = -1;
    for (int i = 0; i < count; ++i) {
        RecordView p;
        if (!reportDatabaseResult(prompter_, DBT_PROVIDER, db_.getRecord(DBT_PROVIDER, i, p))) return false;
        if (!providerItems_.append(texts::decodedName(p.name[0], db_.nameTable()), i)) {
            prompter_.message(QStringLiteral("Missing memory (2)"));
            return false;
        }
        if (mode_ == MODE_EDIT && i == program_.field[progf::PROVIDER]) providerPosition_ = i;
    }
    if (!buildTransponderItems(satellitePosition_, program_.field[progf::TRANSPONDER])) return false;

    storedName_ = storedName;
    name_ = texts::fromUtf8(decodeName(storedName_, db_.nameTable()));
    showProgram();
    if (mode_ == MODE_ADD) preselectFromTree();
    return true;
}

// The transponders of the satellite at a position, the one with index preselect chosen.
bool ProgramEditDialog::buildTransponderItems(int satellitePosition, int preselect)
{
    transponderItems_.clear();
    transponderPosition_ = -1;
    // Without a satellite there is nothing to list.
    const ComboItem* satellite = satelliteItems_.atPosition(satellitePosition);
    if (!satellite) return true;
    RecordView s;
    if (!reportDatabaseResult(prompter_, DBT_SATELLITE, db_.getRecord(DBT_SATELLITE, satellite->dbIndex, s)))
        return false;
    // A transponder belongs to the first satellite carrying its id.
    const bool owner = db_.findSatellite(s.field[satf::ID]) == satellite->dbIndex;
    int count = 0;
    if (!reportDatabaseResult(prompter_, DBT_TRANSPONDER, db_.getCount(DBT_TRANSPONDER, count))) return false;
    for (int i = 0; owner && i < count; ++i) {
        RecordView t;
        if (!reportDatabaseResult(prompter_, DBT_TRANSPONDER, db_.getRecord(DBT_TRANSPONDER, i, t))) return false;
        if (t.field[tpf::SAT_ID] != s.field[satf::ID]) continue;
        if (!transponderItems_.append(QString::number(t.field[tpf::FREQUENCY]), i)) {
            prompter_.message(QStringLiteral("Missing memory (3)"));
            return false;
        }
        if (i == preselect) transponderPosition_ = transponderItems_.size() - 1;
    }
    return true;
}

void ProgramEditDialog::showProgram()
{
    const bool edit = mode_ == MODE_EDIT;
    setWindowTitle(edit ? QStringLiteral("Edit program") : QStringLiteral("Add program"));
    const std::uint32_t scope = browser_.scope();
    const bool fixedKind = edit || (scope & (SCOPE_RADIO | SCOPE_TV)) != 0;
    tv_->setEnabled(!fixedKind);
    radio_->setEnabled(!fixedKind);
    if (!edit && (scope & SCOPE_RADIO))
        radio_->setChecked(true);
    else if (!edit && (scope & SCOPE_TV))
        tv_->setChecked(true);

    nameEdit_->setText(name_);
    satelliteItems_.fill(satellite_);
    satellite_->setCurrentIndex(satellitePosition_);
    providerItems_.fill(provider_);
    if (edit) provider_->setCurrentIndex(providerPosition_);
    transponderItems_.fill(transponder_);
    transponder_->setCurrentIndex(transponderPosition_);
    serviceId_->setText(QString::number(program_.field[progf::SERVICE_ID]));
    for (std::size_t k = 0; k < 9; ++k) favouriteName_[k]->setText(favouriteNames_[k]);

    int tvCount = 0;
    db_.getCount(DBT_TV_PROGRAMS, tvCount);
    if (edit) {
        std::uint32_t mask = 0;
        db_.favouriteMask(programIndex_, mask);
        for (int k = 0; k < 9; ++k) favourite_[static_cast<std::size_t>(k)]->setChecked((mask & scopeFav(k)) != 0);
        const std::int32_t flags = program_.field[progf::FLAGS];
        scrambled_->setChecked((flags & FLAG_SCRAMBLED) != 0);
        scpc_->setChecked((flags & FLAG_SCPC) != 0);
        locked_->setChecked((flags & FLAG_LOCKED) != 0);
        user_->setChecked((flags & FLAG_USER) != 0);
    }
    if (edit || (scope & SCOPE_TV_RADIO)) (programIndex_ < tvCount ? tv_ : radio_)->setChecked(true);

    const bool scpc = scpc_->isChecked();
    videoPid_->setText(scpc ? QString::number(program_.field[progf::VIDEO_PID]) : QString());
    audioPid_->setText(scpc ? QString::number(program_.field[progf::AUDIO_PID]) : QString());
    pcrPid_->setText(scpc ? QString::number(program_.field[progf::PCR_PID]) : QString());
    for (QLineEdit* pid : {videoPid_, audioPid_, pcrPid_}) pid->setEnabled(scpc);
}

void ProgramEditDialog::preselectFromTree()
{
    const QString selected = texts::fromBytes(browser_.selectedText);
    const QString parent = texts::fromBytes(browser_.parentText);
    if (parent.isEmpty() || parent == QLatin1String("Favs") || selected == QLatin1String("Providers")) return;
    if (parent == QLatin1String("Providers")) {
        const int p = providerItems_.positionOfText(selected);
        if (p >= 0) provider_->setCurrentIndex(p);
        return;
    }
    const bool satelliteNode = parent == QLatin1String("Satellites");
    const int s = satelliteItems_.positionOfText(satelliteNode ? selected : parent);
    if (s < 0) return;
    satellite_->setCurrentIndex(s);
    onSatelliteChanged(s);
    if (satelliteNode) return;
    // A transponder node reads "11720(H)"; its frequency is what the combo lists.
    const std::optional<long long> frequency = leadingInteger(selected);
    const int t = transponderItems_.positionOfText(frequency ? QString::number(*frequency) : selected);
    if (t >= 0) transponder_->setCurrentIndex(t);
}

void ProgramEditDialog::onSatelliteChanged(int position)
{
    satellitePosition_ = position;
    buildTransponderItems(position, -1);
    transponderItems_.fill(transponder_);
    transponder_->setCurrentIndex(transponderItems_.empty() ? -1 : 0);
}

void ProgramEditDialog::onScpcClicked(bool checked)
{
    const QString text = checked ? QStringLiteral("0") : QStringLiteral("Auto");
    for (QLineEdit* pid : {videoPid_, audioPid_, pcrPid_}) {
        pid->setEnabled(checked);
        pid->setText(text);
    }
}

void ProgramEditDialog::onOk()
{
    // The name buffer: at most 15 bytes, the 16th stays zero. An unchanged name keeps its bytes.
    char name[NAME_LEN + 1] = {};
    std::string bytes = storedName_;
    if (nameEdit_->text() != name_) {
        const EncodedName typed = texts::encodedName(nameEdit_->text(), db_.nameTable());
        if (!typed.ok()) {
            prompter_.message(QString::fromUtf8(texts::CANNOT_STORE).arg(texts::fromUtf8(typed.unstorable)),
                              PromptIcon::Exclamation);
            return;
        }
        bytes = typed.bytes;
    }
    std::memcpy(name, bytes.data(), std::min<std::size_t>(bytes.size(), NAME_LEN - 1));
    program_.name[0] = name;

    if (!readProvider()) return;
    if (const ComboItem* t = transponderItems_.atPosition(transponder_->currentIndex()))
        program_.field[progf::TRANSPONDER] = t->dbIndex;
    std::int32_t& flags = program_.field[progf::FLAGS];
    setBit(flags, FLAG_SCRAMBLED, scrambled_->isChecked());
    setBit(flags, FLAG_SCPC, scpc_->isChecked());
    setBit(flags, FLAG_LOCKED, locked_->isChecked());
    setBit(flags, FLAG_USER, user_->isChecked());
    if (scpc_->isChecked() && !readPids()) return;
    if (!readServiceId()) return;
    placeByKind();

    const int op = mode_ == MODE_ADD ? OP_ADD : OP_EDIT;
    if (!reportDatabaseResult(prompter_, DBT_PROGRAM, db_.recordOp(DBT_PROGRAM, op, programIndex_, program_))) return;
    for (int l = 0; l < 9; ++l) {
        RecordView member;
        member.field[favf::ENTRY] = programIndex_;
        const int favOp = favourite_[static_cast<std::size_t>(l)]->isChecked() ? OP_ADD : OP_DELETE;
        if (!reportDatabaseResult(prompter_, DBT_FAVOURITE, db_.recordOp(DBT_FAVOURITE, favOp, l, member))) return;
    }
    db_.updateCrc(db_.version());
    QDialog::accept();
}

bool ProgramEditDialog::readProvider()
{
    const QString text = fieldText(provider_->currentText(), 15);
    const int found = providerItems_.positionOfText(text);
    if (found >= 0) {
        program_.field[progf::PROVIDER] = providerItems_.atPosition(found)->dbIndex;
        return true;
    }
    int count = 0;
    if (!reportDatabaseResult(prompter_, DBT_PROVIDER, db_.getCount(DBT_PROVIDER, count))) return false;
    const EncodedName encoded = texts::encodedName(text, db_.nameTable());
    if (!encoded.ok()) {
        prompter_.message(QString::fromUtf8(texts::CANNOT_STORE).arg(texts::fromUtf8(encoded.unstorable)),
                          PromptIcon::Exclamation);
        return false;
    }
    const std::string& bytes = encoded.bytes;
    RecordView provider;
    provider.name[0] = bytes.c_str();
    if (!reportDatabaseResult(prompter_, DBT_PROVIDER, db_.recordOp(DBT_PROVIDER, OP_ADD, count, provider)))
        return false;
    program_.field[progf::PROVIDER] = count;
    // Known from now on, so that OK again after a later refusal does not add it twice.
    if (providerItems_.append(text, count)) {
        provider_->addItem(text);
        provider_->setCurrentIndex(provider_->count() - 1);
    }
    return true;
}

bool ProgramEditDialog::readPids()
{
    struct Pid {
        QLineEdit* edit;
        std::int32_t& value;
        bool refuseReserved;
        const char* message;
    };
    const Pid pids[] = {
        {videoPid_, program_.field[progf::VIDEO_PID], true, "Video PID error!\nExpected digit 17..8190"},
        {audioPid_, program_.field[progf::AUDIO_PID], false, "Audio PID error!\nExpected digit 17..8190"},
        {pcrPid_, program_.field[progf::PCR_PID], false, "PCR PID error!\nExpected digit 17..8190"}};
    for (const Pid& pid : pids) {
        const QString text = fieldText(pid.edit->text(), 11).toLower();
        if (text.startsWith(QLatin1String("auto"))) {
            prompter_.message(QStringLiteral("PIDs for SCPC program can not be 'Auto'"));
            focusRefusedField(pid.edit);
            return false;
        }
        if (pid.refuseReserved && text.startsWith(QLatin1String("reserved"))) {
            prompter_.message(QStringLiteral("PIDs for SCPC program can not be 'Reserved'"));
            focusRefusedField(pid.edit);
            return false;
        }
        const std::optional<long long> n = leadingInteger(text);
        if (!n || *n < PID_LOW || *n > PID_HIGH) {
            prompter_.message(QString::fromLatin1(pid.message), PromptIcon::Stop);
            focusRefusedField(pid.edit);
            return false;
        }
        pid.value = static_cast<std::int32_t>(*n);
    }
    return true;
}

bool ProgramEditDialog::readServiceId()
{
    const std::optional<long long> n = leadingInteger(fieldText(serviceId_->text(), 11));
    if (!n || *n < 0 || *n > 65535) {
        prompter_.message(QStringLiteral("Service ID error!\nExpected digit 0..65535"), PromptIcon::Stop);
        focusRefusedField(serviceId_);
        return false;
    }
    program_.field[progf::SERVICE_ID] = static_cast<std::int32_t>(*n);
    return true;
}

// TV programs come before radio programs: the insertion position follows the chosen kind.
void ProgramEditDialog::placeByKind()
{
    int tvCount = 0;
    db_.getCount(DBT_TV_PROGRAMS, tvCount);
    // An edited program keeps its place and kind; only an add tells the database what it inserts.
    if (tv_->isChecked()) {
        if (mode_ == MODE_ADD) db_.setPendingInsertKind(0);
        if (programIndex_ >= tvCount) programIndex_ = 0;
    } else if (radio_->isChecked()) {
        if (mode_ == MODE_ADD) db_.setPendingInsertKind(1);
        if (programIndex_ < tvCount) programIndex_ = tvCount;
    }
}

} // namespace satorix

#include "dialogs/TransponderButtons.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>
#include <array>

namespace satorix {

namespace {

constexpr std::array<int, 6> FEC_CODES = {0, 1, 2, 3, 5, 7};
constexpr std::array<const char*, 6> FEC_RATES = {"Auto", "1/2", "2/3", "3/4", "5/6", "7/8"};
constexpr std::array<const char*, 6> FEC_SYSTEMS = {"DVBS", "DVBS2", "DVBS2", "DVBS2", "DVBS2", "DVBS2"};
constexpr std::array<const char*, 4> POLARISATIONS = {"Horizontal", "Vertical", "Circular Left", "Circular Right"};

// An exclusive group cannot be emptied by unchecking its button.
void checkOnly(QButtonGroup* group, int id)
{
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons()) b->setChecked(group->id(b) == id);
    group->setExclusive(true);
}

} // namespace

TransponderButtons::TransponderButtons(FecCaptions captions, QWidget* parent)
    : QObject(parent), polarisationBox_(new QGroupBox(QStringLiteral("Polarization"), parent)),
      fecBox_(new QGroupBox(QStringLiteral("FEC"), parent)), polarisation_(new QButtonGroup(this)),
      fec_(new QButtonGroup(this))
{
    polarisationBox_->setObjectName(QStringLiteral("polarisationGroup"));
    fecBox_->setObjectName(QStringLiteral("fecGroup"));
    auto* polLayout = new QVBoxLayout(polarisationBox_);
    for (int p = 0; p < static_cast<int>(POLARISATIONS.size()); ++p) {
        auto* b = new QRadioButton(QString::fromLatin1(POLARISATIONS[static_cast<std::size_t>(p)]), polarisationBox_);
        b->setObjectName(QStringLiteral("pol%1").arg(p));
        polarisation_->addButton(b, p);
        polLayout->addWidget(b);
    }
    const auto& texts = captions == FecCaptions::CodeRate ? FEC_RATES : FEC_SYSTEMS;
    auto* fecLayout = new QVBoxLayout(fecBox_);
    for (std::size_t i = 0; i < FEC_CODES.size(); ++i) {
        auto* b = new QRadioButton(QString::fromLatin1(texts[i]), fecBox_);
        b->setObjectName(QStringLiteral("fec%1").arg(FEC_CODES[i]));
        fec_->addButton(b, FEC_CODES[i]);
        fecLayout->addWidget(b);
    }
}

void TransponderButtons::showValues(const RecordView& transponder)
{
    checkOnly(polarisation_, transponder.field[tpf::POLARISATION]);
    checkOnly(fec_, transponder.field[tpf::FEC]);
}

void TransponderButtons::showDefaults()
{
    checkOnly(polarisation_, 0);
    checkOnly(fec_, 0);
}

void TransponderButtons::readValues(RecordView& transponder) const
{
    if (polarisation_->checkedId() >= 0) transponder.field[tpf::POLARISATION] = polarisation_->checkedId();
    if (fec_->checkedId() >= 0) transponder.field[tpf::FEC] = fec_->checkedId();
}

} // namespace satorix

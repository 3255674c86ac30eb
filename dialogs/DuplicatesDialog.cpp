#include "dialogs/DuplicatesDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "db/ChannelDatabase.h"
#include "db/ProgramRowTexts.h"
#include "gui/NameText.h"

namespace satorix {
namespace {

enum Column { NUMBER, NAME, PROVIDER, TRANSPONDER, FAVOURITES, COLUMNS };

QString lists(std::uint16_t bits)
{
    QStringList l;
    for (int k = 0; k < FAV_LISTS; ++k)
        if (bits & (1u << k)) l << QString::number(k + 1);
    return l.join(QLatin1Char(' '));
}

} // namespace

DuplicatesDialog::DuplicatesDialog(const ChannelDatabase& db, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Find Duplicates"));
    setObjectName(QStringLiteral("duplicatesDialog"));
    auto* layout = new QVBoxLayout(this);
    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("duplicatesTree"));
    tree_->setColumnCount(COLUMNS);
    tree_->setHeaderLabels({QStringLiteral("Ch Index"), QStringLiteral("Channel Name"), QStringLiteral("Provider"),
                            QStringLiteral("Transponder"), QStringLiteral("FAVs")});
    tree_->setUniformRowHeights(true);
    layout->addWidget(tree_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    remove_ = buttons->addButton(QStringLiteral("Delete checked"), QDialogButtonBox::AcceptRole);
    remove_->setObjectName(QStringLiteral("deleteCheckedButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    fill(db);
    connect(tree_, &QTreeWidget::itemChanged, this, [this] { updateButton(); });
    updateButton();
    resize(720, 480);
}

void DuplicatesDialog::fill(const ChannelDatabase& db)
{
    groups_ = findDuplicates(db);
    const ProgramRowBuilder rows(db);
    QTreeWidgetItem* section[2] = {nullptr, nullptr};
    int number[2] = {0, 0};
    for (const DuplicateGroup& g : groups_) {
        QTreeWidgetItem*& top = section[g.certain ? 0 : 1];
        if (!top) {
            top = new QTreeWidgetItem(tree_, {g.certain ? QStringLiteral("Certain: same transponder and service id")
                                                        : QStringLiteral("Likely: same name on the same satellite")});
            top->setFirstColumnSpanned(true);
            top->setExpanded(true);
        }
        auto* group = new QTreeWidgetItem(top, {QStringLiteral("Group %1").arg(++number[g.certain ? 0 : 1])});
        group->setFirstColumnSpanned(true);
        group->setExpanded(true);
        std::vector<QTreeWidgetItem*>& items = items_.emplace_back();
        for (int p : g.programs) {
            RowTexts t;
            rows.build(p, p, t);
            auto* item = new QTreeWidgetItem(
                group, {texts::fromUtf8(t[0]), texts::fromUtf8(t[1]), texts::fromUtf8(t[3]),
                        texts::fromUtf8(t[5] + " " + t[7]) + QStringLiteral(" ") + texts::fromUtf8(t[4]),
                        lists(rows.favBits(p))});
            item->setCheckState(NUMBER, p == g.keep ? Qt::Unchecked : Qt::Checked);
            items.push_back(item);
        }
    }
    if (groups_.empty()) {
        auto* none = new QTreeWidgetItem(tree_, {QStringLiteral("No duplicates.")});
        none->setFirstColumnSpanned(true);
    }
    for (int c = 0; c < COLUMNS; ++c) tree_->resizeColumnToContents(c);
}

std::vector<int> DuplicatesDialog::checked() const
{
    std::vector<int> out;
    for (std::size_t g = 0; g < groups_.size(); ++g)
        for (std::size_t i = 0; i < items_[g].size(); ++i)
            if (items_[g][i]->checkState(NUMBER) == Qt::Checked) out.push_back(groups_[g].programs[i]);
    return out;
}

std::vector<std::pair<int, int>> DuplicatesDialog::replacements() const
{
    std::vector<std::pair<int, int>> out;
    for (std::size_t g = 0; g < groups_.size(); ++g) {
        // The first program left unchecked takes the removed ones' favourite places.
        int kept = -1;
        for (std::size_t i = 0; i < items_[g].size() && kept < 0; ++i)
            if (items_[g][i]->checkState(NUMBER) != Qt::Checked) kept = groups_[g].programs[i];
        if (kept < 0) continue;
        for (std::size_t i = 0; i < items_[g].size(); ++i)
            if (items_[g][i]->checkState(NUMBER) == Qt::Checked) out.emplace_back(groups_[g].programs[i], kept);
    }
    return out;
}

void DuplicatesDialog::updateButton() { remove_->setEnabled(!checked().empty()); }

} // namespace satorix

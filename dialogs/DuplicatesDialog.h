#pragma once

#include <QDialog>
#include <utility>
#include <vector>

#include "db/Duplicates.h"

class QTreeWidget;
class QTreeWidgetItem;
class QPushButton;

namespace satorix {

class ChannelDatabase;

// Edit > Find Duplicates: the groups of programs that are there twice, certain ones first, all
// but the kept one of each checked. "Delete checked" closes with what to remove; the caller makes
// it one step.
class DuplicatesDialog : public QDialog {
    Q_OBJECT
public:
    DuplicatesDialog(const ChannelDatabase& db, QWidget* parent = nullptr);

    bool empty() const { return groups_.empty(); }
    // The checked programs, and for each the program of its group that takes its favourite places.
    std::vector<int> checked() const;
    std::vector<std::pair<int, int>> replacements() const;

private:
    void fill(const ChannelDatabase& db);
    void updateButton();

    std::vector<DuplicateGroup> groups_;
    // One item a program, by group.
    std::vector<std::vector<QTreeWidgetItem*>> items_;
    QTreeWidget* tree_ = nullptr;
    QPushButton* remove_ = nullptr;
};

} // namespace satorix

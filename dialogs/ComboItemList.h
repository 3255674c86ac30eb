#pragma once

#include <QString>
#include <vector>

class QComboBox;

namespace satorix {

// One choice of a dialog's combo box and the record behind it.
struct ComboItem {
    QString text;
    int position = 0; // place in the combo box
    int dbIndex = 0;  // record index in its table
};

// The items a dialog builds from the database for one combo box, in combo order.
class ComboItemList {
public:
    // False when no memory is left for the item; the caller reports it and stops loading.
    bool append(const QString& text, int dbIndex);
    void clear() { items_.clear(); }

    int size() const { return static_cast<int>(items_.size()); }
    bool empty() const { return items_.empty(); }
    const ComboItem* atPosition(int position) const;
    // Position of the first item with exactly this text, -1 when none.
    int positionOfText(const QString& text) const;
    // Position of the item for a record index, -1 when none.
    int positionOfIndex(int dbIndex) const;

    // Replaces the combo's items by these texts.
    void fill(QComboBox* combo) const;

private:
    std::vector<ComboItem> items_;
};

} // namespace satorix

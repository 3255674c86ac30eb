#include "dialogs/ComboItemList.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <new>

namespace satorix {

bool ComboItemList::append(const QString& text, int dbIndex)
{
    try {
        items_.push_back({text, size(), dbIndex});
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

const ComboItem* ComboItemList::atPosition(int position) const
{
    if (position < 0 || position >= size()) return nullptr;
    return &items_[static_cast<std::size_t>(position)];
}

int ComboItemList::positionOfText(const QString& text) const
{
    for (const ComboItem& item : items_)
        if (item.text == text) return item.position;
    return -1;
}

int ComboItemList::positionOfIndex(int dbIndex) const
{
    for (const ComboItem& item : items_)
        if (item.dbIndex == dbIndex) return item.position;
    return -1;
}

void ComboItemList::fill(QComboBox* combo) const
{
    const QSignalBlocker blocker(combo);
    combo->clear();
    QStringList texts;
    texts.reserve(size());
    for (const ComboItem& item : items_) texts << item.text;
    combo->addItems(texts);
    combo->setCurrentIndex(-1);
}

} // namespace satorix

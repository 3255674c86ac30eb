#pragma once

#include <QStyledItemDelegate>

namespace satorix {

// Draws the program list's cells as the old owner-drawn list did: one line, vertically centred,
// cut with "..." when too wide, the selection highlighted even without focus and a focus
// rectangle around the current row.
class ProgramRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int TEXT_MARGIN = 3;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The longest beginning of text that fits width with "..." appended, or text when it fits.
    static QString cutToWidth(const QString& text, const QFontMetrics& metrics, int width);
};

} // namespace satorix

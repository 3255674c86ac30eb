#include "views/ProgramRowDelegate.h"

#include <QAbstractItemView>
#include <QPainter>

namespace satorix {

QString ProgramRowDelegate::cutToWidth(const QString& text, const QFontMetrics& metrics, int width)
{
    if (metrics.horizontalAdvance(text) <= width) return text;
    const QString dots = QStringLiteral("...");
    // Binary search on the length: the widths of beginnings only grow.
    qsizetype lo = 0;
    qsizetype hi = text.size() - 1;
    while (lo < hi) {
        const qsizetype mid = (lo + hi + 1) / 2;
        if (metrics.horizontalAdvance(text.left(mid) + dots) <= width)
            lo = mid;
        else
            hi = mid - 1;
    }
    return text.left(lo) + dots;
}

void ProgramRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    // The list keeps the active colours when it loses focus, so the selection stays visible.
    const QPalette& palette = option.palette;
    const bool selected = option.state & QStyle::State_Selected;
    painter->fillRect(option.rect, palette.color(QPalette::Active, selected ? QPalette::Highlight : QPalette::Base));
    painter->setPen(palette.color(QPalette::Active, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(option.font);

    const QRect textRect = option.rect.adjusted(TEXT_MARGIN, 0, -TEXT_MARGIN, 0);
    const QString text = cutToWidth(index.data().toString(), option.fontMetrics, textRect.width());
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);

    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    if (!view || !view->hasFocus() || view->currentIndex().row() != index.row()) return;
    // One rectangle around the whole row: each cell draws its part of it.
    QPen pen(palette.color(QPalette::Active, selected ? QPalette::HighlightedText : QPalette::Text));
    pen.setStyle(Qt::DotLine);
    painter->setPen(pen);
    const QRect r = option.rect.adjusted(0, 0, -1, -1);
    painter->drawLine(r.topLeft(), r.topRight());
    painter->drawLine(r.bottomLeft(), r.bottomRight());
    if (index.column() == 0) painter->drawLine(r.topLeft(), r.bottomLeft());
    if (index.column() == index.model()->columnCount() - 1) painter->drawLine(r.topRight(), r.bottomRight());
}

QSize ProgramRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    return {option.fontMetrics.horizontalAdvance(index.data().toString()) + 2 * TEXT_MARGIN,
            option.fontMetrics.height() + 4};
}

} // namespace satorix

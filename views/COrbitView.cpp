#include "views/COrbitView.h"

#include <QHeaderView>

namespace satorix {

COrbitView::COrbitView(COrbitDoc& doc, QWidget* parent) : QTableView(parent), DocumentView(doc)
{
    setObjectName(QStringLiteral("orbitView"));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setShowGrid(false);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
}

void COrbitView::onUpdate(DocumentView*, int) { refill(); }

void COrbitView::refill() { ++fillCount_; }

} // namespace satorix

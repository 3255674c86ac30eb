#include "views/CLeftView.h"

#include <QHeaderView>

namespace satorix {

CLeftView::CLeftView(COrbitDoc& doc, QWidget* parent) : QTreeView(parent), DocumentView(doc)
{
    setObjectName(QStringLiteral("leftView"));
    header()->hide();
    setRootIsDecorated(true);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
}

void CLeftView::onUpdate(DocumentView*, int) {}

} // namespace satorix

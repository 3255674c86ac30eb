#pragma once

#include <QTreeView>

#include "views/DocumentView.h"

namespace satorix {

// The left pane: the tree of favourite lists, providers and satellites that chooses what the
// program list shows.
class CLeftView : public QTreeView, public DocumentView {
    Q_OBJECT
public:
    CLeftView(COrbitDoc& doc, QWidget* parent = nullptr);

    void onUpdate(DocumentView* sender, int hint) override;
    QWidget* widget() override { return this; }
};

} // namespace satorix

#pragma once

#include <QTableView>

#include "views/DocumentView.h"

namespace satorix {

// The right pane: the programs of the tree's current selection.
class COrbitView : public QTableView, public DocumentView {
    Q_OBJECT
public:
    COrbitView(COrbitDoc& doc, QWidget* parent = nullptr);

    void onUpdate(DocumentView* sender, int hint) override;
    QWidget* widget() override { return this; }

    // How often the list has been refilled; every document update refills it.
    int fillCount() const { return fillCount_; }

private:
    void refill();
    int fillCount_ = 0;
};

} // namespace satorix

#pragma once

#include <QPersistentModelIndex>
#include <QStandardItemModel>
#include <QTreeView>
#include <optional>

#include "db/RecordView.h"
#include "gui/DocumentView.h"

namespace satorix {

class CommandMenu;
class EditDialogs;

// The left pane: the tree of favourite lists, providers and satellites that chooses what the
// program list shows. Items carry no data: a node is known by its text and its parents' texts.
class CLeftView : public QTreeView, public DocumentView {
    Q_OBJECT
public:
    CLeftView(Document& doc, QWidget* parent = nullptr);
    ~CLeftView() override;

    void onInitialUpdate() override;
    void onUpdate(DocumentView* sender, int hint) override;
    QWidget* widget() override { return this; }

    // The dialogs the tree opens; null opens nothing.
    void setEditDialogs(EditDialogs* dialogs) { dialogs_ = dialogs; }

    QStandardItemModel& treeModel() { return model_; }
    // The root with that text, or null.
    QStandardItem* root(const char* text) const;
    // Selects the first node with that text, expanding its parents; false when there is none.
    bool selectNode(const QString& text);

    CommandMenu* transponderMenu() const { return transponderMenu_; }
    bool contextItemIsReal() const { return contextItemIsReal_; }
    // How often the tree was built from the database.
    int rebuildCount() const { return rebuildCount_; }

    // Label editing: begin runs the rename with the present text, end with the typed one (absent
    // when the user cancelled).
    void labelEdit(const QModelIndex& index, const std::optional<QString>& newText);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    friend class TreeLabelDelegate;

    void registerCommands();
    void insertRoots();
    void firstBuild();
    void rebuild();
    // After an undo or a redo: built again with the same node selected where it still exists; the
    // list refills on its own update.
    void rebuildKeepingNode();
    void appendProvider();
    void nodeSelected(const QModelIndex& index);
    void selectIndex(const QModelIndex& index);
    void contextMenuAt(const QPoint& globalPos, bool keyboard);
    void satelliteDialog(const QModelIndex& index);
    void editTransponder();
    void addTransponder();
    void deleteTransponder();
    bool beginLabelEdit(const QModelIndex& index);
    void renameNode(const QString& parentText, const std::string& oldName, const RecordView& rec);
    int contextSatelliteId() const;
    void addPlaceholderIfChildless(QStandardItem* satellite);
    void showChangedLabels();

    QStandardItemModel model_;
    EditDialogs* dialogs_ = nullptr;
    CommandMenu* transponderMenu_ = nullptr;
    bool treeBuilt_ = false;
    bool building_ = false;
    bool keepingNode_ = false;
    int rebuildCount_ = 0;
    QString currentSelectionText_;
    QPersistentModelIndex contextItem_;
    QString contextText_;
    QPersistentModelIndex contextParent_;
    QString contextParentText_;
    bool contextItemIsReal_ = true;
    // The label being edited and whether its end has been handled.
    QPersistentModelIndex editing_;
    bool editPending_ = false;
};

} // namespace satorix

#include "views/CLeftView.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <vector>

#include "db/ChannelDatabase.h"
#include "db/Names.h"
#include "gui/BrowserState.h"
#include "gui/CommandIds.h"
#include "gui/Document.h"
#include "gui/EditDialogs.h"
#include "gui/NodeTexts.h"
#include "gui/Prompter.h"
#include "gui/StepTexts.h"
#include "views/CommandMenu.h"
#include "views/ViewTexts.h"

namespace satorix {

namespace {

constexpr int NAME_CHARS = 15;

const QString& favs()
{
    static const QString s = QString::fromLatin1(texts::ROOT_FAVS);
    return s;
}
const QString& providers()
{
    static const QString s = QString::fromLatin1(texts::ROOT_PROVIDERS);
    return s;
}
const QString& satellites()
{
    static const QString s = QString::fromLatin1(texts::ROOT_SATELLITES);
    return s;
}

// Every root test is by text: a provider called "Favs" counts as a root too.
bool isRoot(const QString& text) { return text == favs() || text == providers() || text == satellites(); }

QString textOf(const QModelIndex& index) { return index.isValid() ? index.data().toString() : QString(); }

QStandardItem* makeItem(const QString& text)
{
    auto* item = new QStandardItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    return item;
}

QStandardItem* makeItem(std::string_view bytes) { return makeItem(texts::fromBytes(bytes)); }

// Provider names are shown in their own character table; the node keeps the bytes they name.
constexpr int BYTES_ROLE = Qt::UserRole + 1;

void setName(QStandardItem* item, std::string_view bytes, NameTable table)
{
    item->setText(texts::fromUtf8(decodeName(bytes, table)));
    item->setData(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), BYTES_ROLE);
}

QStandardItem* makeNameItem(std::string_view bytes, NameTable table)
{
    QStandardItem* item = makeItem(QString());
    setName(item, bytes, table);
    return item;
}

// The database's bytes a node stands for.
std::string bytesOf(const QModelIndex& index)
{
    const QVariant bytes = index.data(BYTES_ROLE);
    return bytes.isValid() ? bytes.toByteArray().toStdString() : texts::toBytes(textOf(index));
}

} // namespace

// Lets the tree refuse or accept a label before the editor exists and after it has closed; the
// model never takes the edited text itself.
class TreeLabelDelegate : public QStyledItemDelegate {
public:
    explicit TreeLabelDelegate(CLeftView* view) : QStyledItemDelegate(view), view_(view) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (!view_->beginLabelEdit(index)) return nullptr;
        return QStyledItemDelegate::createEditor(parent, option, index);
    }
    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}

private:
    CLeftView* view_;
};

CLeftView::CLeftView(Document& doc, QWidget* parent) : QTreeView(parent), DocumentView(doc)
{
    setObjectName(QStringLiteral("leftView"));
    setModel(&model_);
    setItemDelegate(new TreeLabelDelegate(this));
    header()->hide();
    // Labels are never cut: a narrow pane scrolls sideways, as the old tree control did.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    setTextElideMode(Qt::ElideNone);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    // The selection stays visible while the list has the focus.
    QPalette p = palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText, p.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(p);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this](const QItemSelection& selected) {
        if (!building_ && !selected.indexes().isEmpty()) nodeSelected(selected.indexes().constFirst());
    });

    transponderMenu_ = new CommandMenu(*this, QStringLiteral("transponderMenu"), this);
    transponderMenu_->addCommand(ID_TRANSPONDER_ADD, QStringLiteral("Add"));
    transponderMenu_->addCommand(ID_TRANSPONDER_EDIT, QStringLiteral("Edit"));
    transponderMenu_->addCommand(ID_TRANSPONDER_DELETE, QStringLiteral("Delete"));
    registerCommands();
}

CLeftView::~CLeftView() = default;

void CLeftView::registerCommands()
{
    const auto realOnly = [this](CommandUi& ui) { ui.enabled = contextItemIsReal_; };
    commands_
        .on(
            ID_TRANSPONDER_EDIT, [this] { editTransponder(); }, realOnly)
        .on(ID_TRANSPONDER_ADD, [this] { addTransponder(); })
        .on(
            ID_TRANSPONDER_DELETE, [this] { deleteTransponder(); }, realOnly);
}

QStandardItem* CLeftView::root(const char* text) const
{
    const QString wanted = QString::fromLatin1(text);
    for (int r = 0; r < model_.rowCount(); ++r)
        if (model_.item(r)->text() == wanted) return model_.item(r);
    return nullptr;
}

// --- building ---

void CLeftView::insertRoots()
{
    building_ = true;
    model_.clear();
    model_.appendRow(makeItem(favs()));
    model_.appendRow(makeItem(providers()));
    model_.appendRow(makeItem(satellites()));
    building_ = false;
}

void CLeftView::onInitialUpdate()
{
    if (treeBuilt_) return;
    treeBuilt_ = true;
    insertRoots();
    QList<QStandardItem*> lists;
    for (int l = 1; l <= FAV_LISTS; ++l) lists << makeItem(QStringLiteral("Fav_%1").arg(l));
    model_.item(0)->appendRows(lists);
    selectIndex(model_.item(2)->index());
}

void CLeftView::onUpdate(DocumentView*, int hint)
{
    BrowserState& browser = document().browser();
    if (browser.rebuildRequest) {
        if (hint == HINT_HISTORY)
            rebuildKeepingNode();
        else
            rebuild();
    }
    if (browser.providerRequest) appendProvider();
}

void CLeftView::rebuildKeepingNode()
{
    QStringList path;
    for (QModelIndex i = currentIndex(); i.isValid(); i = i.parent()) path.prepend(textOf(i));
    keepingNode_ = true;
    rebuild();
    // The deepest node of the old path that is still there; Satellites when none is.
    QModelIndex found = model_.item(2)->index();
    QModelIndex at;
    for (const QString& text : path) {
        QModelIndex match;
        for (int r = 0; r < model_.rowCount(at) && !match.isValid(); ++r)
            if (textOf(model_.index(r, 0, at)) == text) match = model_.index(r, 0, at);
        if (!match.isValid()) break;
        found = at = match;
    }
    for (QModelIndex p = found.parent(); p.isValid(); p = p.parent()) expand(p);
    building_ = true;
    selectIndex(found);
    building_ = false;
    nodeSelected(found);
    keepingNode_ = false;
}

void CLeftView::rebuild()
{
    const ChannelDatabase& db = document().database();
    insertRoots();
    selectIndex(model_.item(2)->index());

    building_ = true;
    QList<QStandardItem*> items;
    for (int first = 0; first < FAV_LISTS; first += 3) {
        RecordView rec;
        if (db.getRecord(DBT_FAVOURITE, first, rec) != 0) continue;
        for (int k = 0; k < 3 && rec.name[static_cast<std::size_t>(k)]; ++k)
            items << makeItem(boundedName(rec.name[static_cast<std::size_t>(k)]));
    }
    model_.item(0)->appendRows(items);

    items.clear();
    for (int p = 0; p < db.providersInUse(); ++p) {
        RecordView rec;
        if (db.getRecord(DBT_PROVIDER, p, rec) == 0) items << makeNameItem(boundedName(rec.name[0]), db.nameTable());
    }
    model_.item(1)->appendRows(items);

    // Transponders by satellite id once, instead of a table walk per satellite.
    std::vector<std::vector<int>> bySatellite(256);
    for (int t = 0; t < db.transpondersInUse(); ++t) {
        RecordView tp;
        if (db.getRecord(DBT_TRANSPONDER, t, tp) == 0)
            bySatellite[static_cast<std::size_t>(tp.field[tpf::SAT_ID])].push_back(t);
    }
    items.clear();
    for (int s = 0; s < db.satellitesInUse(); ++s) {
        RecordView sat;
        if (db.getRecord(DBT_SATELLITE, s, sat) != 0) continue;
        QStandardItem* node = makeItem(boundedName(sat.name[0]));
        QList<QStandardItem*> children;
        if (sat.field[satf::ID] >= 0 && sat.field[satf::ID] < 256) {
            for (int t : bySatellite[static_cast<std::size_t>(sat.field[satf::ID])]) {
                RecordView tp;
                db.getRecord(DBT_TRANSPONDER, t, tp);
                children << makeItem(node::transponderText(tp.field[tpf::FREQUENCY], tp.field[tpf::POLARISATION]));
            }
        }
        if (children.isEmpty()) children << makeItem(QString::fromLatin1(texts::EMPTY_PLACEHOLDER));
        node->appendRows(children);
        items << node;
    }
    model_.item(2)->appendRows(items);
    building_ = false;

    document().browser().rebuildRequest = false;
    ++rebuildCount_;
    viewport()->update();
}

void CLeftView::appendProvider()
{
    BrowserState& browser = document().browser();
    browser.providerRequest = false;
    const ChannelDatabase& db = document().database();
    QStandardItem* providersRoot = root(texts::ROOT_PROVIDERS);
    const int n = db.providersInUse();
    RecordView last;
    if (!providersRoot || n == 0 || db.getRecord(DBT_PROVIDER, n - 1, last) != 0) return;
    const std::string_view name = boundedName(last.name[0]);
    const int children = providersRoot->rowCount();
    if (children == 0 || bytesOf(providersRoot->child(children - 1)->index()) != name)
        providersRoot->appendRow(makeNameItem(name, db.nameTable()));
}

bool CLeftView::selectNode(const QString& text)
{
    std::vector<QStandardItem*> pending;
    for (int r = model_.rowCount() - 1; r >= 0; --r) pending.push_back(model_.item(r));
    while (!pending.empty()) {
        QStandardItem* item = pending.back();
        pending.pop_back();
        if (item->text() == text) {
            for (QModelIndex p = item->index().parent(); p.isValid(); p = p.parent()) expand(p);
            selectIndex(item->index());
            scrollTo(item->index());
            return true;
        }
        for (int r = item->rowCount() - 1; r >= 0; --r) pending.push_back(item->child(r));
    }
    return false;
}

// --- selection ---

void CLeftView::selectIndex(const QModelIndex& index)
{
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
}

void CLeftView::nodeSelected(const QModelIndex& index)
{
    // Every selection, root to root included, sets what the list shows: the tree must never
    // highlight one node while the list and its commands belong to another.
    const QString text = textOf(index);
    currentSelectionText_ = text;
    const QModelIndex parent = index.parent();
    const QString parentText = textOf(parent);
    const QString grandText = textOf(parent.isValid() ? parent.parent() : QModelIndex());

    BrowserState& browser = document().browser();
    browser.selectedText = bytesOf(index);
    const auto showPrograms = [&browser] { browser.setScope((browser.scope() & ~SCOPE_FAV_ALL) | SCOPE_PROGRAMS); };
    const auto setNode = [&](std::uint8_t kind, std::uint8_t mask) {
        browser.nodeKind = kind;
        browser.commandMask = mask;
        showPrograms();
    };
    if (text == providers() || text == satellites()) {
        setNode(0, MASK_ALL);
    } else if (text == favs()) {
        setNode(8, MASK_NO_PASTE);
    } else if (parentText == providers()) {
        browser.parentText = texts::ROOT_PROVIDERS;
        setNode(1, MASK_NO_PASTE);
    } else if (parentText == satellites()) {
        browser.parentText = texts::ROOT_SATELLITES;
        setNode(2, MASK_NO_PASTE);
    } else if (grandText == satellites()) {
        browser.parentText = texts::toBytes(parentText);
        setNode(4, MASK_NO_PASTE);
    } else if (parentText == favs()) {
        browser.nodeKind = 0;
        browser.commandMask = MASK_NO_PASTE;
        const ChannelDatabase& db = document().database();
        for (int first = 0; first < FAV_LISTS; first += 3) {
            RecordView rec;
            if (db.getRecord(DBT_FAVOURITE, first, rec) != 0) continue;
            int found = -1;
            for (int k = 0; k < 3 && found < 0; ++k)
                if (rec.name[static_cast<std::size_t>(k)] &&
                    boundedName(rec.name[static_cast<std::size_t>(k)]) == browser.selectedText)
                    found = first + k;
            if (found >= 0) {
                browser.setScope((browser.scope() & ~(SCOPE_FAV_ALL | SCOPE_PROGRAMS)) | scopeFav(found));
                break;
            }
        }
    }
    if (!keepingNode_) document().updateAllViews(this);
}

// --- mouse, menu, tooltips ---

void CLeftView::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
    // The mouse's menu comes with the button's release, as the click notification did.
    if (event->reason() == QContextMenuEvent::Keyboard) contextMenuAt(event->globalPos(), true);
}

void CLeftView::mouseReleaseEvent(QMouseEvent* event)
{
    QTreeView::mouseReleaseEvent(event);
    if (event->button() != Qt::RightButton) return;
    contextMenuAt(event->globalPosition().toPoint(), false);
    if (contextItem_.isValid()) satelliteDialog(contextItem_);
}

void CLeftView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) satelliteDialog(indexAt(event->position().toPoint()));
    QTreeView::mouseDoubleClickEvent(event);
}

void CLeftView::contextMenuAt(const QPoint& globalPos, bool keyboard)
{
    QPoint at = globalPos;
    if (keyboard) {
        const QRect label = visualRect(currentIndex());
        at = viewport()->mapToGlobal(QPoint(label.left(), label.bottom() - 1));
    }
    const QModelIndex hit = indexAt(viewport()->mapFromGlobal(at));
    contextItem_ = hit;
    contextText_ = textOf(hit);
    if (!hit.isValid()) return;
    selectIndex(hit);
    contextItemIsReal_ = contextText_ != QLatin1String(texts::EMPTY_PLACEHOLDER);
    if (isRoot(contextText_)) return;
    contextParent_ = hit.parent();
    contextParentText_ = textOf(hit.parent());
    // Only transponders and placeholders have a menu, and only while the list shows the table.
    if (!isRoot(contextParentText_) && (document().browser().scope() & SCOPE_PROGRAMS)) transponderMenu_->popupAt(at);
}

bool CLeftView::viewportEvent(QEvent* event)
{
    if (event->type() != QEvent::ToolTip) return QTreeView::viewportEvent(event);
    // A label cut off by the pane's edge shows in full; other nodes need no tip.
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = indexAt(help->pos());
    const QString text = textOf(index);
    const QRect rect = visualRect(index);
    if (index.isValid() && rect.left() + fontMetrics().horizontalAdvance(text) + 6 > viewport()->width())
        QToolTip::showText(help->globalPos(), text, viewport(), rect);
    else
        QToolTip::hideText();
    return true;
}

// --- dialogs ---

void CLeftView::satelliteDialog(const QModelIndex& index)
{
    if (!dialogs_ || !index.isValid() || textOf(index.parent()) != satellites()) return;
    const QPersistentModelIndex node(index);
    const QString name = textOf(index);
    document().edit(steps::named("Edit satellite", name), [&] { dialogs_->editSatellite(this, name); });
    const QString after = texts::fromBytes(document().browser().lastSatelliteName);
    if (node.isValid() && !after.isEmpty() && after != name) {
        model_.itemFromIndex(node)->setText(after);
        showChangedLabels();
    }
}

int CLeftView::contextSatelliteId() const
{
    return document().database().findSatelliteByName(texts::toBytes(contextParentText_).c_str());
}

void CLeftView::editTransponder()
{
    if (!dialogs_ || !contextItem_.isValid()) return;
    ChannelDatabase& db = document().database();
    BrowserState& browser = document().browser();
    const int transponder = db.findTransponder(contextSatelliteId(), node::leadingNumber(texts::toBytes(contextText_)));
    // The dialog tells two transponders of one frequency apart by the caret node's neighbour.
    const QModelIndex caret = currentIndex();
    browser.previousSiblingText = caret.row() > 0 ? texts::toBytes(textOf(caret.siblingAtRow(caret.row() - 1))) : "";
    int polarisation = 0;
    int frequency = -1;
    document().edit(steps::named("Edit transponder", contextText_), [&] {
        frequency = dialogs_->editTransponder(this, MODE_EDIT_TRANSPONDER, transponder, polarisation);
    });
    if (frequency < 0 || !contextItem_.isValid()) return;
    const std::string text = node::transponderText(frequency, polarisation);
    model_.itemFromIndex(contextItem_)->setText(texts::fromBytes(text));
    contextText_ = texts::fromBytes(text);
    browser.selectedText = text;
    showChangedLabels();
    document().updateAllViews(this);
}

void CLeftView::showChangedLabels()
{
    // Labels changed after a dialog closed are not repainted on their own (the column sizes
    // itself to its contents): lay the tree out again and paint it whole.
    scheduleDelayedItemsLayout();
    viewport()->update();
}

void CLeftView::addTransponder()
{
    if (!dialogs_ || !contextParent_.isValid()) return;
    int polarisation = 0;
    int frequency = -1;
    document().edit(QStringLiteral("Add transponder"), [&] {
        frequency = dialogs_->editTransponder(this, MODE_ADD_TRANSPONDER, contextSatelliteId(), polarisation);
    });
    if (frequency < 0 || !contextParent_.isValid()) return;
    QStandardItem* satellite = model_.itemFromIndex(contextParent_);
    QStandardItem* node = makeItem(node::transponderText(frequency, polarisation));
    if (contextText_ == QLatin1String(texts::EMPTY_PLACEHOLDER)) {
        if (contextItem_.isValid() && contextItem_.parent() == contextParent_) satellite->removeRow(contextItem_.row());
        satellite->insertRow(0, node);
    } else {
        // Frequencies ascend: in front of the first node that is not below the new one.
        int at = satellite->rowCount();
        for (int r = 0; r < satellite->rowCount(); ++r) {
            if (node::leadingNumber(texts::toBytes(satellite->child(r)->text())) >= frequency) {
                at = r;
                break;
            }
        }
        satellite->insertRow(at, node);
    }
    showChangedLabels();
}

void CLeftView::deleteTransponder()
{
    if (!dialogs_ || !contextParent_.isValid()) return;
    ChannelDatabase& db = document().database();
    BrowserState& browser = document().browser();
    const std::string text = texts::toBytes(contextText_);
    const int shown = node::leadingNumber(text);
    browser.lastTransponderFrequency = shown;
    // By polarisation too: the dialog preselects exactly the node that was right-clicked.
    int transponder = db.findTransponder(contextSatelliteId(), shown, node::polarisationOf(text));
    if (transponder < 0) transponder = db.findTransponder(contextSatelliteId(), shown);
    int frequency = -1;
    document().edit(steps::named("Delete transponder", contextText_),
                    [&] { frequency = dialogs_->deleteTransponder(this, transponder); });
    if (!contextParent_.isValid()) return;
    QStandardItem* satellite = model_.itemFromIndex(contextParent_);
    if (frequency >= 0) {
        for (int r = 0; r < satellite->rowCount(); ++r) {
            if (node::leadingNumber(texts::toBytes(satellite->child(r)->text())) == frequency) {
                satellite->removeRow(r);
                break;
            }
        }
        document().updateAllViews(this);
    }
    addPlaceholderIfChildless(satellite);
}

void CLeftView::addPlaceholderIfChildless(QStandardItem* satellite)
{
    if (satellite && satellite->rowCount() == 0)
        satellite->appendRow(makeItem(QString::fromLatin1(texts::EMPTY_PLACEHOLDER)));
}

// --- label editing ---

bool CLeftView::beginLabelEdit(const QModelIndex& index)
{
    const QPersistentModelIndex node(index);
    labelEdit(index, textOf(index));
    if (!node.isValid()) return false;
    editing_ = node;
    editPending_ = true;
    return true;
}

void CLeftView::commitData(QWidget* editor)
{
    if (!editPending_) return;
    editPending_ = false;
    const auto* line = qobject_cast<QLineEdit*>(editor);
    labelEdit(editing_, line ? std::optional<QString>(line->text()) : std::nullopt);
}

void CLeftView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (editPending_) {
        editPending_ = false;
        labelEdit(editing_, std::nullopt);
    }
    QTreeView::closeEditor(editor, hint);
}

void CLeftView::labelEdit(const QModelIndex& index, const std::optional<QString>& newText)
{
    if (!index.isValid()) return;
    const QString old = textOf(index);
    if (isRoot(old)) {
        document().prompter().message(QString::fromUtf8(texts::CANNOT_RENAME));
        return;
    }
    const QString parentText = textOf(index.parent());
    if (!newText || !isRoot(parentText)) return;

    const bool provider = parentText == providers();
    const NameTable table = document().database().nameTable();
    std::string name = texts::toBytes(newText->left(NAME_CHARS));
    if (provider) {
        const EncodedName encoded = texts::encodedName(*newText, table);
        if (!encoded.ok()) {
            document().prompter().message(
                QString::fromUtf8(texts::CANNOT_STORE).arg(texts::fromUtf8(encoded.unstorable)),
                PromptIcon::Exclamation);
            return;
        }
        name = encoded.bytes;
    }
    const std::string oldName = bytesOf(index);
    RecordView rec;
    rec.name[0] = name.c_str();
    document().edit(steps::named("Rename", old), [&] { renameNode(parentText, oldName, rec); });
    if (provider)
        setName(model_.itemFromIndex(index), name, table);
    else
        model_.itemFromIndex(index)->setText(texts::fromBytes(name));
    document().browser().selectedText = name;
    document().updateAllViews(nullptr);
}

void CLeftView::renameNode(const QString& parentText, const std::string& oldName, const RecordView& rec)
{
    ChannelDatabase& db = document().database();
    const char* name = rec.name[0];
    if (parentText == providers()) {
        db.recordOp(DBT_PROVIDER, OP_EDIT, db.findByName(DBT_PROVIDER, oldName.c_str()), rec);
    } else if (parentText == favs()) {
        db.recordOp(DBT_FAVOURITE, OP_EDIT, db.findByName(DBT_FAVOURITE, oldName.c_str()), rec);
    } else {
        int s = -1;
        RecordView satellite;
        if (db.findSatelliteByName(oldName.c_str(), &s) >= 0 && db.getRecord(DBT_SATELLITE, s, satellite) == 0) {
            satellite.name[0] = name;
            db.setSatellite(s, satellite);
        }
    }
}

} // namespace satorix

#include "views/ProgramCommands.h"

#include <QItemSelectionModel>
#include <algorithm>
#include <unordered_map>

#include "db/ChannelDatabase.h"
#include "db/EditPrimitives.h"
#include "db/Names.h"
#include "gui/BrowserState.h"
#include "gui/CommandIds.h"
#include "gui/CommandMap.h"
#include "gui/Document.h"
#include "gui/NameText.h"
#include "gui/Prompter.h"
#include "gui/StepTexts.h"
#include "views/COrbitView.h"
#include "views/CommandMenu.h"

namespace satorix {
namespace {

constexpr const char* LIST_FULL = "The favourite list is full.";

const char* sortStep(SortKey key)
{
    switch (key) {
    case SortKey::Name: return "Sort by name";
    case SortKey::Provider: return "Sort by provider";
    case SortKey::SatelliteFrequency: return "Sort by satellite";
    case SortKey::ServiceId: return "Sort by service id";
    }
    return "Sort";
}

const char* moveVerb(Move move)
{
    switch (move) {
    case Move::Top: return "Move to top";
    case Move::Bottom: return "Move to bottom";
    case Move::Up: return "Move up";
    case Move::Down: return "Move down";
    }
    return "Move";
}

QString listName(const ChannelDatabase& db, int list)
{
    const QString name =
        texts::nameFromField(db.raw().namePtr(DatabaseImage::favOffset(list) + layout::fav::NAME)).trimmed();
    return name.isEmpty() ? QStringLiteral("List %1").arg(list + 1) : name;
}

} // namespace

const std::array<CommandText, 4> kSortCommands = {{{ID_SORT_NAME, "by &Name"},
                                                   {ID_SORT_PROVIDER, "by &Provider"},
                                                   {ID_SORT_SATELLITE, "by &Satellite and frequency"},
                                                   {ID_SORT_SERVICE_ID, "by Service &ID"}}};
const std::array<CommandText, 6> kRowCommands = {{{ID_PROGRAM_LOCK, "&Lock"},
                                                  {ID_PROGRAM_UNLOCK, "U&nlock"},
                                                  {ID_MOVE_TOP, "Move to &top"},
                                                  {ID_MOVE_BOTTOM, "Move to &bottom"},
                                                  {ID_MOVE_UP, "Move &up\tCtrl+Up"},
                                                  {ID_MOVE_DOWN, "Move &down\tCtrl+Down"}}};

void addProgramToolCommands(CommandMenu& menu)
{
    QMenu* sort = menu.addMenu(QString::fromLatin1(SORT_MENU));
    sort->setObjectName(QStringLiteral("programMenuSort"));
    for (const CommandText& c : kSortCommands) menu.addCommand(c.id, QString::fromLatin1(c.text), sort);
    for (const CommandText& c : kRowCommands) menu.addCommand(c.id, QString::fromLatin1(c.text));
    QMenu* add = menu.addMenu(QString::fromLatin1(ADD_TO_LIST_MENU));
    add->setObjectName(QStringLiteral("programMenuAddToList"));
    QMenu* remove = menu.addMenu(QString::fromLatin1(REMOVE_FROM_LIST_MENU));
    remove->setObjectName(QStringLiteral("programMenuRemoveFromList"));
    for (int l = 0; l < FAV_LISTS; ++l) {
        menu.addCommand(ID_FAV_ADD_FIRST + l, QStringLiteral("List %1").arg(l + 1), add);
        menu.addCommand(ID_FAV_REMOVE_FIRST + l, QStringLiteral("List %1").arg(l + 1), remove);
    }
}

void ProgramCommands::registerCommands(CommandMap& commands)
{
    const auto anyRow = [this](CommandUi& ui) { ui.enabled = idle() && view_.realRowSelected(); };
    const auto wholeList = [this](CommandUi& ui) {
        ui.enabled = idle() && view_.realRowSelected() && view_.showsWholeList();
    };
    const auto tableRows = [this](CommandUi& ui) { ui.enabled = idle() && view_.realRowSelected() && shownList() < 0; };
    const auto sortable = [this](CommandUi& ui) {
        ui.enabled = idle() && !view_.listModel().holdsPlaceholder() && view_.listModel().rowCount() > 1;
    };
    const std::pair<int, SortKey> sorts[] = {{ID_SORT_NAME, SortKey::Name},
                                             {ID_SORT_PROVIDER, SortKey::Provider},
                                             {ID_SORT_SATELLITE, SortKey::SatelliteFrequency},
                                             {ID_SORT_SERVICE_ID, SortKey::ServiceId}};
    for (const auto& [id, key] : sorts)
        commands.on(
            id, [this, key = key] { sort(key); }, sortable);
    const std::pair<int, Move> moves[] = {
        {ID_MOVE_TOP, Move::Top}, {ID_MOVE_BOTTOM, Move::Bottom}, {ID_MOVE_UP, Move::Up}, {ID_MOVE_DOWN, Move::Down}};
    for (const auto& [id, m] : moves)
        commands.on(
            id,
            [this, wholeList, m = m] {
                CommandUi ui;
                wholeList(ui);
                if (ui.enabled) move(m);
            },
            wholeList);
    commands
        .on(
            ID_PROGRAM_LOCK, [this] { lock(true); }, anyRow)
        .on(
            ID_PROGRAM_UNLOCK, [this] { lock(false); }, anyRow);
    for (int l = 0; l < FAV_LISTS; ++l) {
        const auto named = [this, l, tableRows](CommandUi& ui) {
            tableRows(ui);
            ui.text = listName(view_.document().database(), l);
        };
        commands
            .on(
                ID_FAV_ADD_FIRST + l, [this, l] { addToList(l); }, named)
            .on(
                ID_FAV_REMOVE_FIRST + l, [this, l] { removeFromList(l); }, named);
    }
}

bool ProgramCommands::idle() const { return view_.document().database().isLoaded() && !view_.dragging(); }

int ProgramCommands::shownList() const { return edit::shownList(view_.document().browser().scope()); }

std::vector<int> ProgramCommands::rows(bool allWhenSingle) const
{
    std::vector<int> r = view_.selectedRealRows();
    if (allWhenSingle && r.size() < 2) {
        r.clear();
        for (int i = 0; i < view_.listModel().rowCount(); ++i)
            if (!view_.listModel().isPlaceholder(i)) r.push_back(i);
    }
    return r;
}

std::vector<int> ProgramCommands::places(const std::vector<int>& rows) const
{
    std::vector<int> p;
    for (int r : rows)
        p.push_back(shownList() < 0 ? view_.listModel().programIndex(r) : view_.listModel().row(r).position);
    return p;
}

std::vector<int> ProgramCommands::programs(const std::vector<int>& rows) const
{
    std::vector<int> p;
    for (int r : rows) p.push_back(view_.listModel().programIndex(r));
    return p;
}

void ProgramCommands::showPlaces(const std::vector<int>& places)
{
    view_.refill();
    const ProgramListModel& model = view_.listModel();
    std::unordered_map<int, int> rowOf;
    for (int r = 0; r < model.rowCount(); ++r)
        rowOf.emplace(shownList() < 0 ? model.programIndex(r) : model.row(r).position, r);
    std::vector<int> rows;
    for (int p : places)
        if (const auto it = rowOf.find(p); it != rowOf.end()) rows.push_back(it->second);
    std::sort(rows.begin(), rows.end());
    view_.selectRows(rows);
    if (!rows.empty()) {
        view_.selectionModel()->setCurrentIndex(model.index(rows.front(), 0), QItemSelectionModel::NoUpdate);
        view_.scrollTo(model.index(rows.front(), 0));
    }
}

void ProgramCommands::sort(SortKey key)
{
    const std::vector<int> selected = view_.selectedRealRows();
    const std::vector<int> chosen = places(rows(true));
    if (chosen.size() < 2) return;
    ChannelDatabase& db = view_.document().database();
    const int list = shownList();
    view_.document().edit(QString::fromLatin1(sortStep(key)), [&] {
        if (list >= 0)
            sortFavourite(db, list, chosen, key);
        else
            sortPrograms(db, chosen, key);
    });
    showPlaces(places(selected));
}

void ProgramCommands::move(Move m)
{
    const std::vector<int> chosen = places(rows(false));
    if (chosen.empty()) return;
    ChannelDatabase& db = view_.document().database();
    const int list = shownList();
    std::vector<int> moved;
    view_.document().edit(steps::programs(moveVerb(m), static_cast<int>(chosen.size())), [&] {
        moved = list >= 0 ? moveFavourites(db, list, chosen, m) : movePrograms(db, chosen, m);
    });
    showPlaces(moved);
}

void ProgramCommands::lock(bool locked)
{
    const std::vector<int> chosen = rows(false);
    const std::vector<int> p = programs(chosen);
    view_.document().edit(steps::programs(locked ? "Lock" : "Unlock", static_cast<int>(p.size())),
                          [&] { setLocked(view_.document().database(), p, locked); });
    showPlaces(places(chosen));
}

void ProgramCommands::addToList(int list)
{
    const std::vector<int> chosen = rows(false);
    const std::vector<int> p = programs(chosen);
    bool fitted = true;
    Document& doc = view_.document();
    doc.edit(steps::programs("Add", static_cast<int>(p.size())) + QStringLiteral(" to ") +
                 listName(doc.database(), list),
             [&] { fitted = addToFavourite(doc.database(), list, p); });
    showPlaces(places(chosen));
    if (!fitted) doc.prompter().message(QString::fromLatin1(LIST_FULL), PromptIcon::Exclamation);
}

void ProgramCommands::removeFromList(int list)
{
    const std::vector<int> chosen = rows(false);
    const std::vector<int> p = programs(chosen);
    Document& doc = view_.document();
    doc.edit(steps::programs("Remove", static_cast<int>(p.size())) + QStringLiteral(" from ") +
                 listName(doc.database(), list),
             [&] { removeFromFavourite(doc.database(), list, p); });
    showPlaces(places(chosen));
}

} // namespace satorix

#include "views/CommandMenu.h"

#include "gui/CommandHost.h"
#include "gui/DocumentView.h"

namespace satorix {

namespace {

CommandHost* frameOf(DocumentView& view) { return dynamic_cast<CommandHost*>(view.widget()->window()); }

} // namespace

CommandMenu::CommandMenu(DocumentView& view, const QString& objectName, QWidget* parent) : QMenu(parent), view_(view)
{
    setObjectName(objectName);
}

QAction* CommandMenu::addCommand(int id, const QString& text, QMenu* into)
{
    QAction* a = (into ? into : this)->addAction(text);
    a->setData(id);
    connect(a, &QAction::triggered, this, [this, id] { runCommand(id); });
    entries_.emplace_back(id, a);
    return a;
}

void CommandMenu::refreshStates()
{
    CommandHost* frame = frameOf(view_);
    if (frame) frame->setActiveView(&view_);
    for (auto& [id, action] : entries_) {
        CommandUi ui;
        if (frame) {
            ui = frame->commandState(id);
        } else if (!view_.commands().update(id, ui)) {
            ui.enabled = view_.commands().hasRun(id);
        }
        action->setEnabled(ui.enabled);
        action->setCheckable(ui.checked.has_value());
        if (ui.checked) action->setChecked(*ui.checked);
        if (ui.text) action->setText(*ui.text);
    }
}

void CommandMenu::popupAt(const QPoint& globalPos)
{
    refreshStates();
    popup(globalPos);
}

void CommandMenu::runCommand(int id)
{
    if (CommandHost* frame = frameOf(view_)) {
        frame->setActiveView(&view_);
        frame->runCommand(id);
    } else {
        view_.commands().run(id);
    }
}

} // namespace satorix

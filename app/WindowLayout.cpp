#include "app/WindowLayout.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QSettings>
#include <QSplitter>
#include <algorithm>

#include "app/CMainFrame.h"
#include "views/CLeftView.h"
#include "views/COrbitView.h"

namespace satorix {

namespace {

QSplitter* splitterOf(const CMainFrame& frame) { return frame.findChild<QSplitter*>(QStringLiteral("splitter")); }

} // namespace

int WindowLayout::fittingTreeWidth(const CMainFrame& frame)
{
    CLeftView* tree = frame.leftView();
    const QStandardItemModel& model = tree->treeModel();
    int widest = 0;
    // Roots and their children: the lists, providers and satellites. Transponders sit one level
    // deeper and may scroll sideways, as they always did.
    for (int r = 0; r < model.rowCount(); ++r) {
        const QModelIndex root = model.index(r, 0);
        widest = std::max(widest, tree->indentation() + tree->sizeHintForIndex(root).width());
        for (int c = 0; c < model.rowCount(root); ++c)
            widest =
                std::max(widest, 2 * tree->indentation() + tree->sizeHintForIndex(model.index(c, 0, root)).width());
    }
    const int chrome = 2 * tree->frameWidth() + tree->verticalScrollBar()->sizeHint().width() + 4;
    return std::clamp(widest + chrome, static_cast<int>(CMainFrame::INITIAL_PANE_SIZE),
                      std::max(static_cast<int>(CMainFrame::INITIAL_PANE_SIZE), frame.width() / 3));
}

void WindowLayout::restore(CMainFrame& frame)
{
    QSettings settings;
    settings.beginGroup(QLatin1String(GROUP));
    frame.restoreGeometry(settings.value(QStringLiteral("geometry")).toByteArray());
    QSplitter* splitter = splitterOf(frame);
    if (splitter && !splitter->restoreState(settings.value(QStringLiteral("splitter")).toByteArray())) {
        const int tree = fittingTreeWidth(frame);
        splitter->setSizes({tree, frame.width() - tree});
    }
    frame.orbitView()->horizontalHeader()->restoreState(settings.value(QStringLiteral("columns")).toByteArray());
}

void WindowLayout::save(const CMainFrame& frame)
{
    QSettings settings;
    settings.beginGroup(QLatin1String(GROUP));
    settings.setValue(QStringLiteral("geometry"), frame.saveGeometry());
    if (QSplitter* splitter = splitterOf(frame)) settings.setValue(QStringLiteral("splitter"), splitter->saveState());
    settings.setValue(QStringLiteral("columns"), frame.orbitView()->horizontalHeader()->saveState());
}

} // namespace satorix

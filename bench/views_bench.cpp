// The views on a full database (20,000 programs), offscreen, through the real widgets: selecting
// a tree node until the list is filled and painted, and paging through the whole list with a
// real paint per page; copy and paste, delete and drag of 1,000 selected programs; undo and redo
// of 10,000 deleted or dragged programs, and what the history costs.
#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWindow>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

#include "app/CMainFrame.h"
#include "app/COrbitApp.h"
#include "app/COrbitDoc.h"
#include "app/EditHistory.h"
#include "db/ChannelDatabase.h"
#include "db/Names.h"
#include "db/SampleGenerator.h"
#include "gui/CommandIds.h"
#include "gui/Prompter.h"
#include "views/CLeftView.h"
#include "views/COrbitView.h"

namespace {

using namespace satorix;

class SilentPrompter : public Prompter {
public:
    // "Not saved! Save it now?" is answered No, so that every benchmark can open the file again.
    PromptAnswer message(const QString&, PromptIcon, PromptButtons buttons) override
    {
        return buttons == PromptButtons::YesNoCancel || buttons == PromptButtons::YesNo ? PromptAnswer::No
                                                                                        : PromptAnswer::Cancel;
    }
    QString openFileName(const FileDialogRequest&) override { return {}; }
    QString saveFileName(const FileDialogRequest&) override { return {}; }
};

SilentPrompter g_prompter;
std::unique_ptr<COrbitApp> g_app;
QString g_path;
QString g_busySatellite;
QString g_favouriteList;

CLeftView& tree() { return *g_app->frame()->leftView(); }
COrbitView& list() { return *g_app->frame()->orbitView(); }

// The satellite that carries the most programs.
QString busiestSatellite(const ChannelDatabase& db)
{
    std::map<int, int> programsBySatellite;
    for (int p = 0; p < db.programsInUse(); ++p) {
        RecordView program;
        RecordView tp;
        if (db.getRecord(DBT_PROGRAM, p, program) == 0 &&
            db.getRecord(DBT_TRANSPONDER, program.field[progf::TRANSPONDER], tp) == 0)
            ++programsBySatellite[tp.field[tpf::SAT_ID]];
    }
    int best = -1;
    for (const auto& [id, count] : programsBySatellite)
        if (best < 0 || count > programsBySatellite[best]) best = id;
    RecordView sat;
    db.getRecord(DBT_SATELLITE, db.findSatellite(best), sat);
    return QString::fromLatin1(std::string(boundedName(sat.name[0])).c_str());
}

// Selects a node and paints the list, as the user would see it.
void selectAndPaint(const QString& node)
{
    tree().selectNode(node);
    list().viewport()->repaint();
}

void runSelection(benchmark::State& state, const QString& node, const QString& before)
{
    for (auto _ : state) {
        state.PauseTiming();
        selectAndPaint(before); // a root after a root would change nothing
        state.ResumeTiming();
        selectAndPaint(node);
    }
    state.counters["rows"] = list().model()->rowCount();
}

void BM_SelectSatellitesRoot(benchmark::State& state)
{
    runSelection(state, QStringLiteral("Satellites"), g_favouriteList);
}
void BM_SelectFavouriteList(benchmark::State& state)
{
    runSelection(state, g_favouriteList, QStringLiteral("Satellites"));
}
void BM_SelectFavsRoot(benchmark::State& state) { runSelection(state, QStringLiteral("Favs"), g_favouriteList); }
void BM_SelectBusySatellite(benchmark::State& state)
{
    runSelection(state, g_busySatellite, QStringLiteral("Satellites"));
}

// The fill alone, without the tree: what every document update costs the list.
void BM_RefillWholeTable(benchmark::State& state)
{
    selectAndPaint(g_favouriteList);
    selectAndPaint(QStringLiteral("Satellites"));
    for (auto _ : state) list().refill();
    state.counters["rows"] = list().model()->rowCount();
}

// Page Down from the first row to the last, one real paint per page; the slowest page says
// whether scrolling stays smooth.
void BM_ScrollTopToBottom(benchmark::State& state)
{
    selectAndPaint(g_favouriteList);
    selectAndPaint(QStringLiteral("Satellites"));
    QScrollBar* bar = list().verticalScrollBar();
    std::int64_t pages = 0;
    double totalMs = 0;
    double slowestMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        bar->setValue(0);
        list().viewport()->repaint();
        state.ResumeTiming();
        while (bar->value() < bar->maximum()) {
            const auto t0 = std::chrono::steady_clock::now();
            bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
            list().viewport()->repaint();
            const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
            totalMs += ms;
            slowestMs = std::max(slowestMs, ms);
            ++pages;
        }
    }
    state.counters["pages"] = benchmark::Counter(static_cast<double>(pages), benchmark::Counter::kAvgIterations);
    state.counters["ms_per_page"] = pages ? totalMs / static_cast<double>(pages) : 0;
    state.counters["slowest_page_ms"] = slowestMs;
}

constexpr int MOVED = 1000;
constexpr int MANY = 10000;

// The untouched database in the whole table, rows first..first+MOVED-1 selected, the list active.
void freshSelectionKeepingDatabase(int first, int count = MOVED)
{
    selectAndPaint(g_favouriteList);
    selectAndPaint(QStringLiteral("Satellites"));
    g_app->frame()->setActiveView(&list());
    const QAbstractItemModel* model = list().model();
    list().selectionModel()->select(QItemSelection(model->index(first, 0), model->index(first + count - 1, 9)),
                                    QItemSelectionModel::ClearAndSelect);
    list().scrollToRow(first);
    list().viewport()->repaint();
}

void freshSelection(int first, int count = MOVED)
{
    g_app->document()->openDroppedFile(g_path);
    freshSelectionKeepingDatabase(first, count);
}

void mouse(QEvent::Type type, QPoint pos, Qt::MouseButtons buttons)
{
    QWidget* area = list().viewport();
    QMouseEvent event(type, pos, area->mapToGlobal(pos), Qt::LeftButton, buttons, {});
    QApplication::sendEvent(area, &event);
}

void BM_CopyPaste1000(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        // A full table takes no paste: make room first.
        freshSelection(18000);
        g_app->frame()->runCommand(ID_PROGRAM_DELETE);
        freshSelectionKeepingDatabase(100);
        state.ResumeTiming();
        g_app->frame()->runCommand(ID_EDIT_COPY);
        list().selectionModel()->select(list().model()->index(50, 0),
                                        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        g_app->frame()->runCommand(ID_EDIT_PASTE);
        list().viewport()->repaint();
    }
    state.counters["rows"] = list().model()->rowCount();
    state.counters["programs"] = g_app->document()->database().programCount();
}

void BM_Delete1000(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        freshSelection(100);
        state.ResumeTiming();
        g_app->frame()->runCommand(ID_PROGRAM_DELETE);
        list().viewport()->repaint();
    }
    state.counters["rows"] = list().model()->rowCount();
}

// Press on the first selected row, one move to start, one to the target, release: a lift of
// 1,000 programs and their drop a few rows higher up.
void BM_Drag1000(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        freshSelection(1000);
        list().verticalScrollBar()->setValue(990);
        const QPoint from = list().visualRect(list().model()->index(1000, 1)).center();
        const QPoint to = list().visualRect(list().model()->index(995, 1)).center();
        state.ResumeTiming();
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
        mouse(QEvent::MouseMove, from + QPoint(0, 12), Qt::LeftButton);
        mouse(QEvent::MouseMove, to, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
        list().viewport()->repaint();
    }
    state.counters["rows"] = list().model()->rowCount();
    state.counters["moved_to"] =
        list().selectionModel()->selection().isEmpty() ? -1 : list().selectionModel()->selection().first().top();
}

// Undo, then redo, of one big step, each until the views show the result; the step is made once.
void runUndoRedo(benchmark::State& state, const std::function<void()>& makeStep)
{
    freshSelection(100, MANY);
    makeStep();
    EditHistory& history = g_app->document()->history();
    if (history.count() != 1) state.SkipWithError("the command made no step");
    double undoMs = 0;
    double redoMs = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        g_app->frame()->runCommand(ID_EDIT_UNDO);
        list().viewport()->repaint();
        auto t1 = std::chrono::steady_clock::now();
        g_app->frame()->runCommand(ID_EDIT_REDO);
        list().viewport()->repaint();
        auto t2 = std::chrono::steady_clock::now();
        undoMs = std::max(undoMs, std::chrono::duration<double, std::milli>(t1 - t0).count());
        redoMs = std::max(redoMs, std::chrono::duration<double, std::milli>(t2 - t1).count());
    }
    state.counters["slowest_undo_ms"] = undoMs;
    state.counters["slowest_redo_ms"] = redoMs;
    state.counters["step_kib"] = static_cast<double>(history.storedBytes()) / 1024.0;
}

void BM_UndoRedoDelete10000(benchmark::State& state)
{
    runUndoRedo(state, [] { g_app->frame()->runCommand(ID_PROGRAM_DELETE); });
}

void BM_UndoRedoDrag10000(benchmark::State& state)
{
    runUndoRedo(state, [] {
        const QPoint from = list().visualRect(list().model()->index(100, 1)).center();
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
        mouse(QEvent::MouseMove, from + QPoint(0, 12), Qt::LeftButton);
        mouse(QEvent::MouseMove, from - QPoint(0, 30), Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, from - QPoint(0, 30), Qt::NoButton);
    });
}

// What recording adds to an edit: the same one-program change with and without a step.
void BM_EditOneProgram(benchmark::State& state)
{
    g_app->document()->openDroppedFile(g_path);
    ChannelDatabase& db = g_app->document()->database();
    const bool recorded = state.range(0) == 1;
    std::uint16_t flags = 0;
    for (auto _ : state) {
        const auto change = [&] {
            RecordView program;
            db.getRecord(DBT_PROGRAM, 5, program);
            program.field[progf::FLAGS] = (++flags & 1) ? FLAG_LOCKED : 0;
            db.recordOp(DBT_PROGRAM, OP_EDIT, 5, program);
        };
        if (recorded)
            g_app->document()->edit(QStringLiteral("Edit program"), change);
        else
            change();
    }
    // The first 1,000 steps of this loop, as the history holds them.
    state.counters["history_kib_per_1000_steps"] =
        static_cast<double>(g_app->document()->history().storedBytes()) / 1024.0 * 1000.0 /
        std::max(1, std::min(g_app->document()->history().count(), EditHistory::MAX_STEPS));
}

// Ctrl+Down on 1,000 rows spread over the table, until the list shows them one row lower.
void BM_MoveDown1000(benchmark::State& state)
{
    freshSelection(0, 1);
    QItemSelection spread;
    for (int r = 0; r < MOVED; ++r) spread.select(list().model()->index(r * 17, 0), list().model()->index(r * 17, 9));
    list().selectionModel()->select(spread, QItemSelectionModel::ClearAndSelect);
    for (auto _ : state) {
        g_app->frame()->runCommand(ID_MOVE_DOWN);
        list().viewport()->repaint();
    }
    state.counters["selected"] = static_cast<double>(list().selectedRealRows().size());
}

BENCHMARK(BM_MoveDown1000)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_UndoRedoDelete10000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_UndoRedoDrag10000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_EditOneProgram)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CopyPaste1000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Delete1000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Drag1000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SelectSatellitesRoot)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectFavouriteList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectFavsRoot)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectBusySatellite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefillWholeTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollTopToBottom)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    const std::string dir =
        (std::filesystem::temp_directory_path() / ("satorix-views-bench-" + std::to_string(::getpid()))).string();
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    ::setenv("XDG_DATA_HOME", (dir + "/data").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::string path = dir + "/Full.si";
    g_path = QString::fromStdString(path);
    {
        ChannelDatabase db;
        db.setListingPath({});
        SampleOptions options;
        options.full = true;
        generateSample(db, options);
        db.save(path);
        g_busySatellite = busiestSatellite(db);
        RecordView rec;
        db.getRecord(DBT_FAVOURITE, 0, rec);
        g_favouriteList = QString::fromLatin1(std::string(boundedName(rec.name[0])).c_str());
    }

    QApplication qapp(argc, argv);
    AppOptions options;
    options.showSplash = false;
    options.registration.enabled = false;
    g_app = std::make_unique<COrbitApp>(g_prompter, options);
    g_app->initInstance(QString::fromStdString(path));
    g_app->frame()->resize(1000, 700);
    while (!g_app->frame()->windowHandle() || !g_app->frame()->windowHandle()->isExposed())
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    std::printf("full database: %d rows in the list, busiest satellite \"%s\", first list \"%s\", %d rows per page\n",
                list().model()->rowCount(), g_busySatellite.toLatin1().constData(),
                g_favouriteList.toLatin1().constData(), list().rowsPerPage());

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_app.reset();
    std::filesystem::current_path("/");
    std::filesystem::remove_all(dir);
    return 0;
}

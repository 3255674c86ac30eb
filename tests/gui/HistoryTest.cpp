// Undo and redo: random edits byte for byte, a big delete by the keys, the byte budget, commands as one step.
#include <cstring>
#include <numeric>
#include <random>

#include "app/EditHistory.h"
#include "db/Duplicates.h"
#include "db/NameCodec.h"
#include "db/Names.h"
#include "db/ProgramOrder.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "tests/gui/GuiTestSupport.h"
#include "views/COrbitView.h"

namespace satorix::test {
namespace {

using Image = std::vector<std::uint8_t>;

Image imageOf(const ChannelDatabase& db) { return Image(db.image(), db.image() + IMAGE_SIZE); }

void setName(ChannelDatabase& db, int program, const std::string& name)
{
    std::memcpy(db.image() + DatabaseImage::programOffset(program) + layout::prog::NAME, name.c_str(), name.size() + 1);
}

class HistoryTest : public ::testing::Test, public AppFixture {
protected:
    COrbitView& showList()
    {
        frame().show();
        frame().activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&frame()));
        frame().orbitView()->setFocus();
        return *frame().orbitView();
    }
    void select(int first, int last)
    {
        COrbitView& list = *frame().orbitView();
        list.selectionModel()->select(QItemSelection(list.model()->index(first, 0), list.model()->index(last, 9)),
                                      QItemSelectionModel::ClearAndSelect);
        frame().updateCommandUi();
    }
    // Runs a command whose summary dialog is answered with the option as given and OK.
    QString confirm(int id, bool option)
    {
        QString summary;
        onModal([&](QDialog* d) {
            d->findChild<QCheckBox*>("summaryOption")->setChecked(option);
            summary = d->findChild<QPlainTextEdit*>("summaryText")->toPlainText();
            d->accept();
        });
        EXPECT_TRUE(trigger(id));
        return summary;
    }
};

TEST_F(HistoryTest, RandomEditsUndoAndRedoExactlyAndTheFlagFollowsTheSave)
{
    ASSERT_TRUE(start(sample("h.si", 4)));
    ChannelDatabase& db = doc().database();
    EditHistory& history = doc().history();
    std::mt19937 rng(11);
    const auto pick = [&](int n) { return n > 0 ? static_cast<int>(rng() % static_cast<unsigned>(n)) : 0; };
    // One change of any kind the editor makes; some are refused or change nothing, and leave no step.
    const auto change = [&] {
        const int programs = db.programsInUse(), transponders = db.transpondersInUse();
        std::vector<int> all(static_cast<std::size_t>(programs));
        std::iota(all.begin(), all.end(), 0);
        RecordView rec;
        switch (pick(10)) {
        case 0: db.recordOp(DBT_PROGRAM, OP_DELETE, pick(programs), rec); break;
        case 1:
            for (int k = pick(4); k > 0; --k) setName(db, pick(programs), "N" + std::to_string(pick(4)));
            break;
        case 2:
            rec.field[favf::ENTRY] = pick(programs);
            db.recordOp(DBT_FAVOURITE, pick(2) ? OP_ADD : OP_DELETE, pick(FAV_LISTS), rec);
            break;
        case 3:
            rec.name[0] = pick(2) ? "Renamed" : "Other";
            db.recordOp(pick(2) ? DBT_PROVIDER : DBT_FAVOURITE, OP_EDIT, pick(3), rec);
            break;
        case 4:
            db.getRecord(DBT_TRANSPONDER, pick(transponders), rec);
            rec.field[tpf::FREQUENCY] += 1;
            db.recordOp(DBT_TRANSPONDER, pick(2) ? OP_EDIT : OP_ADD, pick(transponders), rec);
            break;
        case 5: db.recordOp(DBT_TRANSPONDER, OP_DELETE, pick(transponders), rec); break;
        case 6: sortPrograms(db, all, static_cast<SortKey>(pick(4))); break;
        case 7: movePrograms(db, {pick(programs), pick(programs)}, static_cast<Move>(pick(4))); break;
        case 8: removeDuplicates(db, findDuplicates(db)); break;
        default:
            db.clipboard().assign(1, ProgramInfo{});
            db.getProgramInfoRaw(pick(programs), db.clipboard().front());
            int at = pick(programs);
            db.pasteClipboard(at, SCOPE_PROGRAMS | SCOPE_TV_RADIO);
        }
    };
    std::vector<Image> states = {imageOf(db)}; // states[i]: the image after i steps
    std::size_t at = 0, saved = 0;
    for (int round = 0; round < 400; ++round) {
        const unsigned what = rng() % 10;
        if (what < 6 && doc().edit(QStringLiteral("Change"), change)) {
            states.resize(++at);
            states.push_back(imageOf(db));
            if (saved >= at) saved = SIZE_MAX; // that state cannot come back
        } else if (what >= 6 && what < 8 && at > 0) {
            history.undo();
            --at;
        } else if (what == 8 && at + 1 < states.size()) {
            history.redo();
            ++at;
        } else if (what == 9) {
            ASSERT_EQ(doc().onFileSave(), COrbitDoc::SaveResult::Saved);
            saved = at;
        }
        ASSERT_EQ(std::pair(imageOf(db), doc().isModified()), std::pair(states[at], at != saved)) << "round " << round;
    }
    ASSERT_GT(states.size(), 50u);
    while (history.canUndo()) history.undo();
    EXPECT_EQ(imageOf(db), states.front());
    while (history.canRedo()) history.redo();
    EXPECT_EQ(imageOf(db), states.back());
}

TEST_F(HistoryTest, ThousandDeletedRowsComeBackAndTheNewestStepsWithinTheBudgetStay)
{
    ASSERT_TRUE(start(sample("full.si", 3, true)));
    COrbitView& list = showList();
    ChannelDatabase& db = doc().database();
    EditHistory& history = doc().history();
    const Image before = imageOf(db);
    select(0, 999);
    QTest::keyClick(&list, Qt::Key_Delete);
    frame().updateCommandUi();
    EXPECT_EQ(std::tuple(db.programCount(), paneText(ID_INDICATOR_OVR), frame().action(ID_EDIT_UNDO)->text()),
              std::tuple(19000, QString("OVR"), QString("&Undo Delete 1000 programs")));

    // The image as it was; the selection after the delete stays.
    QTest::keyClick(&list, Qt::Key_Z, Qt::ControlModifier);
    frame().updateCommandUi();
    EXPECT_EQ(std::tuple(imageOf(db) == before, paneText(ID_INDICATOR_OVR), list.model()->rowCount(),
                         list.selectedRealRows(), frame().action(ID_EDIT_REDO)->text()),
              std::tuple(true, QString(), 20000, std::vector<int>{0}, QString("&Redo Delete 1000 programs")));
    QTest::keyClick(&list, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(std::pair(db.programCount(), doc().isModified()), std::pair(19000, true));

    // Each step rewrites every program's name: thousands of ranges, a large step. states[i]: after step i + 1.
    std::vector<Image> states = {imageOf(db)};
    while (states.size() < 400 && history.count() == static_cast<int>(states.size())) {
        const std::string name = "N" + std::to_string(states.size());
        doc().edit(QStringLiteral("Rename all"), [&] {
            for (int p = 0; p < MAX_PROGRAMS; ++p) setName(db, p, name);
        });
        states.push_back(imageOf(db));
    }
    ASSERT_LT(history.count(), static_cast<int>(states.size())) << "the budget was never reached";
    EXPECT_LE(history.storedBytes(), EditHistory::MAX_BYTES);
    const int kept = history.count();
    while (history.canUndo()) history.undo();
    EXPECT_EQ(imageOf(db), states[states.size() - 1 - static_cast<std::size_t>(kept)]);
    EXPECT_TRUE(doc().isModified()) << "the saved state is no longer in the history";
}

TEST_F(HistoryTest, MenusKeysExportImportAndReferenceEditAsOneStepEach)
{
    ASSERT_TRUE(start(sample("t.si", 6)));
    COrbitView& list = showList();
    ChannelDatabase& db = doc().database();
    const std::string second = programName(db, 2);

    select(2, 4);
    QTest::keyClick(&list, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(std::tuple(list.selectedRealRows(), programName(db, 3), doc().history().undoText()),
              std::tuple(std::vector<int>{3, 4, 5}, second, QString("Move down 3 programs")));

    ASSERT_TRUE(trigger(ID_PROGRAM_LOCK));
    EXPECT_EQ(frame().action(ID_FAV_ADD_FIRST + 1)->text().toStdString(),
              std::string(boundedName(db.raw().namePtr(DatabaseImage::favOffset(1)))));
    ASSERT_TRUE(trigger(ID_FAV_ADD_FIRST + 1));
    for (int p : {3, 4, 5}) {
        std::uint32_t mask = 0;
        db.favouriteMask(p, mask);
        EXPECT_TRUE((record(db, DBT_PROGRAM, p).field[progf::FLAGS] & FLAG_LOCKED) && (mask & scopeFav(1))) << p;
    }

    select(0, 0); // one row: the sort takes every row shown
    ASSERT_TRUE(trigger(ID_SORT_NAME));
    const auto shown = [&](int p) { return decodeName(programName(db, p)); };
    for (int p = 1; p < db.tvProgramCount(); ++p) EXPECT_LE(naturalCompare(shown(p - 1), shown(p)), 0) << p;

    const int programs = db.programCount();
    ASSERT_FALSE(findDuplicates(db).empty());
    onModal([](QDialog* d) { d->findChild<QPushButton*>("deleteCheckedButton")->click(); });
    ASSERT_TRUE(trigger(ID_FIND_DUPLICATES));
    EXPECT_TRUE(db.programCount() < programs && (findDuplicates(db).empty() || !findDuplicates(db).front().certain));
    EXPECT_EQ(doc().history().count(), 5);
    while (doc().history().canUndo()) ASSERT_TRUE(trigger(ID_EDIT_UNDO));
    EXPECT_EQ(std::pair(programName(db, 2), doc().isModified()), std::pair(second, false));

    const Image start = imageOf(db);
    const std::string firstName = programName(db, 0);

    // Export, import and reference, one step each; the export is read back with its first program renamed, last.
    prompter.fileNames = {qfile("x.csv"), qfile("x.csv")};
    ASSERT_TRUE(trigger(ID_FILE_EXPORT));
    QStringList lines = QString::fromStdString(readFile(file("x.csv"))).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), db.programsInUse() + 1);
    QStringList first = lines.takeAt(1).split(',');
    first[1] = "Новости";
    lines.insert(db.tvProgramCount(), first.join(','));
    writeFile(file("x.csv"), lines.join("\r\n").toStdString());
    EXPECT_TRUE(confirm(ID_FILE_IMPORT, false).contains(QString::number(db.programsInUse())));
    EXPECT_EQ(std::pair(programName(db, db.tvProgramCount() - 1), doc().history().undoText()),
              std::pair(std::string("\x01\xBD\xDE\xD2\xDE\xE1\xE2\xD8"), QString("Import x.csv")));
    const Image imported = imageOf(db);

    // The saved start as a reference puts everything back where it was.
    prompter.fileNames.push_back(qfile("t.si"));
    confirm(ID_FILE_APPLY_REFERENCE, true);
    EXPECT_EQ(programName(db, 0), firstName);
    for (const auto& before : {imported, start}) EXPECT_TRUE(trigger(ID_EDIT_UNDO) && imageOf(db) == before);
    EXPECT_EQ(prompter.unanswered, 0);
}

} // namespace
} // namespace satorix::test

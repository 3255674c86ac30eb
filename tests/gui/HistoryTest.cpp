// Undo and redo: random edits of every kind undone and redone byte for byte, with the modified
// flag following the saved state; and a big delete undone through the real keys.
#include <QTest>
#include <cstring>
#include <gtest/gtest.h>
#include <numeric>
#include <random>

#include "app/COrbitDoc.h"
#include "app/EditHistory.h"
#include "db/ChannelDatabase.h"
#include "db/Duplicates.h"
#include "db/ProgramOrder.h"
#include "db/SampleGenerator.h"
#include "gui/CommandIds.h"
#include "tests/gui/GuiTestSupport.h"
#include "views/COrbitView.h"

namespace satorix::test {
namespace {

using Image = std::vector<std::uint8_t>;

Image imageOf(const ChannelDatabase& db) { return Image(db.image(), db.image() + IMAGE_SIZE); }

class HistoryTest : public ::testing::Test, public AppFixture {};

// One random change of the database, of any kind the editor makes; some are refused.
void randomChange(ChannelDatabase& db, std::mt19937& rng)
{
    const auto pick = [&](int n) { return n > 0 ? static_cast<int>(rng() % static_cast<unsigned>(n)) : 0; };
    const int programs = db.programsInUse();
    RecordView rec;
    switch (pick(10)) {
    case 0: db.recordOp(DBT_PROGRAM, OP_DELETE, pick(programs), rec); break;
    case 1:
        db.getRecord(DBT_PROGRAM, pick(programs), rec);
        rec.field[progf::FLAGS] ^= FLAG_LOCKED;
        db.recordOp(DBT_PROGRAM, OP_EDIT, pick(programs), rec);
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
        db.getRecord(DBT_TRANSPONDER, pick(db.transpondersInUse()), rec);
        rec.field[tpf::FREQUENCY] += 1;
        db.recordOp(DBT_TRANSPONDER, pick(2) ? OP_EDIT : OP_ADD, pick(db.transpondersInUse()), rec);
        break;
    case 5: db.recordOp(DBT_TRANSPONDER, OP_DELETE, pick(db.transpondersInUse()), rec); break;
    case 6: {
        std::vector<int> all(static_cast<std::size_t>(programs));
        std::iota(all.begin(), all.end(), 0);
        sortPrograms(db, all, static_cast<SortKey>(pick(4)));
        break;
    }
    case 7: movePrograms(db, {pick(programs), pick(programs)}, static_cast<Move>(pick(4))); break;
    case 8: removeDuplicates(db, findDuplicates(db)); break;
    default: {
        db.clipboard().clear();
        ProgramInfo& item = db.clipboard().emplace_back();
        db.getProgramInfoRaw(pick(programs), item);
        int at = pick(programs);
        db.pasteClipboard(at, SCOPE_PROGRAMS | SCOPE_TV_RADIO);
        break;
    }
    }
}

TEST_F(HistoryTest, RandomEditsUndoAndRedoExactlyAndTheFlagFollowsTheSave)
{
    ASSERT_TRUE(start(QString::fromStdString(writeSample(file("h.si"), 4))));
    COrbitDoc& doc = this->doc();
    ChannelDatabase& db = doc.database();
    EditHistory& history = doc.history();
    std::mt19937 rng(11);
    std::vector<Image> states = {imageOf(db)}; // states[i]: the image after i steps
    std::size_t at = 0;
    std::size_t saved = 0;
    for (int round = 0; round < 400; ++round) {
        const unsigned what = rng() % 10;
        if (what < 6) {
            if (doc.edit(QStringLiteral("Change"), [&] { randomChange(db, rng); })) {
                states.resize(++at);
                states.push_back(imageOf(db));
                if (saved >= at) saved = SIZE_MAX; // that state cannot come back
            } else {
                ASSERT_EQ(imageOf(db), states[at]) << "a refused change left a trace, round " << round;
            }
        } else if (what < 8 && at > 0) {
            ASSERT_TRUE(history.canUndo());
            history.undo();
            --at;
        } else if (what < 9 && at + 1 < states.size()) {
            history.redo();
            ++at;
        } else if (what == 9) {
            ASSERT_EQ(doc.onFileSave(), COrbitDoc::SaveResult::Saved);
            saved = at;
        }
        ASSERT_EQ(imageOf(db), states[at]) << "round " << round;
        ASSERT_EQ(doc.isModified(), at != saved) << "round " << round;
    }
    ASSERT_GT(states.size(), 50u);
    while (history.canUndo()) history.undo();
    EXPECT_EQ(imageOf(db), states.front());
    while (history.canRedo()) history.redo();
    EXPECT_EQ(imageOf(db), states.back());
    EXPECT_LT(history.storedBytes(), std::size_t{8} << 20);
}

TEST_F(HistoryTest, ThousandDeletedRowsComeBackWithTheirFavourites)
{
    {
        ChannelDatabase full;
        full.setListingPath({});
        generateSample(full, {true, 3});
        ASSERT_EQ(full.save(file("full.si")), 0);
    }
    ASSERT_TRUE(start(qfile("full.si")));
    frame().show();
    frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    ChannelDatabase& db = doc().database();
    const Image before = imageOf(db);
    COrbitView& list = *frame().orbitView();
    list.setFocus();
    list.selectionModel()->select(QItemSelection(list.model()->index(0, 0), list.model()->index(999, 9)),
                                  QItemSelectionModel::ClearAndSelect);
    frame().updateCommandUi();
    QTest::keyClick(&list, Qt::Key_Delete);
    ASSERT_EQ(db.programCount(), 19000);
    EXPECT_EQ(paneText(ID_INDICATOR_OVR), "OVR");
    EXPECT_EQ(frame().action(ID_EDIT_UNDO)->text(), "&Undo Delete 1000 programs");

    QTest::keyClick(&list, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(imageOf(db), before);
    EXPECT_EQ(paneText(ID_INDICATOR_OVR), "");
    EXPECT_EQ(list.model()->rowCount(), 20000);
    EXPECT_EQ(list.selectedRealRows(), std::vector<int>{0}) << "the selection after the delete stays";
    frame().updateCommandUi();
    EXPECT_EQ(frame().action(ID_EDIT_REDO)->text(), "&Redo Delete 1000 programs");
    QTest::keyClick(&list, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(db.programCount(), 19000);
    EXPECT_TRUE(doc().isModified());
}

TEST_F(HistoryTest, TheNewestStepsWithinTheBudgetStayAndTheSavedStateMayGo)
{
    ASSERT_TRUE(start(QString::fromStdString(writeSample(file("b.si"), 2))));
    ChannelDatabase& db = doc().database();
    EditHistory& history = doc().history();
    // Each step rewrites every program's name: thousands of ranges, a large step.
    std::vector<Image> states = {imageOf(db)};
    while (states.size() < 400 && history.count() + 1 == static_cast<int>(states.size())) {
        const std::string name = "N" + std::to_string(states.size());
        doc().edit(QStringLiteral("Rename all"), [&] {
            for (int p = 0; p < MAX_PROGRAMS; ++p)
                std::memcpy(db.image() + DatabaseImage::programOffset(p) + layout::prog::NAME, name.c_str(),
                            name.size() + 1);
        });
        states.push_back(imageOf(db));
    }
    ASSERT_LT(history.count() + 1, static_cast<int>(states.size())) << "the budget was never reached";
    EXPECT_LE(history.storedBytes(), EditHistory::MAX_BYTES);
    EXPECT_TRUE(doc().isModified());
    const int kept = history.count();
    while (history.canUndo()) history.undo();
    EXPECT_EQ(imageOf(db), states[states.size() - 1 - static_cast<std::size_t>(kept)]);
    EXPECT_TRUE(doc().isModified()) << "the saved state is no longer in the history";
}

} // namespace
} // namespace satorix::test

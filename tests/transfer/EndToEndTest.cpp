// The whole request: download from the receiver, drag programs within a favourite list, edit one
// program, upload; the receiver gets a sound image that differs from what it sent by those edits.
#include <gtest/gtest.h>

#include "db/DatabaseCheck.h"
#include "gui/CommandIds.h"
#include "link/RegionRules.h"
#include "link/ui/PortDevices.h"
#include "tests/support/Editing.h"
#include "tests/transfer/TransferTestSupport.h"

namespace satorix::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The program list's drag within a favourite list: lift the rows, then drop them at position.
void dragWithinList(ChannelDatabase& db, int list, const std::vector<int>& rows, int position)
{
    const std::uint32_t scope = scopeFav(list) | SCOPE_TV_RADIO;
    liftFromList(db, list, scope, rows);
    ASSERT_EQ(0, db.dropPrograms(DBT_FAVOURITE, list, position, db.dragList(), scope));
    db.setDragInProgress(false);
    db.updateCrc(db.version());
}

// The program dialog's OK on one program: a new name.
void renameProgram(ChannelDatabase& db, int index, const char* name)
{
    RecordView rec;
    ASSERT_EQ(0, db.getRecord(DBT_PROGRAM, index, rec));
    rec.name[0] = name;
    ASSERT_EQ(0, db.recordOp(DBT_PROGRAM, OP_EDIT, index, rec));
    db.updateCrc(db.version());
}

TEST(EndToEnd, DownloadEditUploadReachesTheReceiverExactly)
{
    for (int n = 1; n <= 4; ++n) ::unsetenv(("SATORIX_COM" + std::to_string(n)).c_str());
    AppFixture f;
    ASSERT_TRUE(f.start());
    const Bytes sent = sampleImage(3);
    SimOnPty sim(SimOnPty::anyMode(sent));
    PortDevices::setDevice(1, QString::fromStdString(sim.device()));

    ASSERT_TRUE(f.trigger(ID_STB_DOWNLOAD));
    ASSERT_TRUE(f.doc().databaseDownloaded());
    ChannelDatabase& db = f.doc().database();
    ASSERT_TRUE(std::equal(sent.begin(), sent.end(), db.image()));

    // The same edits on a copy of what was downloaded give what the receiver must get.
    ChannelDatabase expected;
    expected.assignImage(sent.data(), sent.size());
    int list = 0; // the fullest favourite list
    for (int l = 1; l < FAV_LISTS; ++l) list = db.favInUse(l) > db.favInUse(list) ? l : list;
    ASSERT_GE(db.favInUse(list), 4);
    for (ChannelDatabase* d : {&db, &expected}) {
        dragWithinList(*d, list, {0, 2}, 2);
        renameProgram(*d, 5, "Edited name");
    }
    f.doc().setModifiedFlag(true);
    expected.purgeUnusedProviders();
    expected.updateCrc(expected.version());
    ASSERT_NE(0, std::memcmp(expected.image(), sent.data(), IMAGE_SIZE));

    f.prompter.answers = {PromptAnswer::Yes};
    ASSERT_TRUE(f.trigger(ID_STB_UPLOAD));
    EXPECT_EQ("Please wait until STB reboots...", f.prompter.texts().last());
    ASSERT_TRUE(sim.waitForExchanges(2));
    const Bytes got = sim.exchanges()[1].result.received;
    ASSERT_EQ(link::DATABASE_REGION_SIZE, got.size());
    EXPECT_EQ(0, std::memcmp(expected.image(), got.data(), IMAGE_SIZE));
    ChannelDatabase received;
    received.assignImage(got.data(), IMAGE_SIZE);
    EXPECT_EQ(std::vector<std::string>{}, checkDatabase(received));

    // The receiver keeps what it got: the next download brings the edits back.
    f.prompter.answers = {PromptAnswer::No};
    ASSERT_TRUE(f.trigger(ID_STB_DOWNLOAD));
    EXPECT_EQ(0, std::memcmp(expected.image(), db.image(), IMAGE_SIZE));
    f.stop();
    PortDevices::setDevice(1, {});
}

} // namespace
} // namespace satorix::test

// The document's link commands in the running editor, against stbsim's receiver on a pty.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>

#include "app/AppConfig.h"
#include "app/DownloadBackups.h"
#include "app/TransferCommands.h"
#include "db/DatabaseCheck.h"
#include "gui/BrowserState.h"
#include "gui/CommandIds.h"
#include "gui/DocumentView.h"
#include "link/RegionRules.h"
#include "link/ui/PortDevices.h"
#include "link/ui/TransmissionDialog.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/Editing.h"
#include "tests/support/SimOnPty.h"

// Each receiver names only the faults it sets.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace satorix::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

const QString WARNING =
    QStringLiteral("Warning: This operation will overwrite database in Your receiver\nDo You wish to continue?");

// Its header carries the program's own identity.
std::string writeSoftware(const std::string& path, std::size_t length)
{
    std::string bytes(length, '\0');
    std::ranges::copy_n(link::OWN_IDENTITY.bytes().begin(), 24, bytes.begin());
    for (std::size_t i = 64; i < length; ++i) bytes[i] = static_cast<char>(i * 7 + i / 4096);
    writeFile(path, bytes);
    return path;
}

// Watches the next transmission dialog: notes how it ends and, once its progress bar reaches
// cancelAt (never when negative), presses its Cancel button and notes what it showed right after.
struct DialogWatch : QObject {
    explicit DialogWatch(int cancelAt = -1) : cancelAt(cancelAt)
    {
        // Caught on its way to the screen: a transfer that fails at once is over within milliseconds.
        qApp->installEventFilter(this);
        connect(&timer, &QTimer::timeout, this, [this] {
            if (!dialog || cancelPressed || bar()->value() < this->cancelAt) return;
            cancelPressed = true;
            timer.stop();
            auto* cancel = dialog->findChild<QPushButton*>(QStringLiteral("cancelButton"));
            QTest::mouseClick(cancel, Qt::LeftButton);
            stillOpenAfterCancel = dialog && dialog->isVisible();
            if (stillOpenAfterCancel) statusAfterCancel = text(), cancelEnabledAfterCancel = cancel->isEnabled();
        });
    }
    ~DialogWatch() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* d = qobject_cast<TransmissionDialog*>(watched);
        if (!d || event->type() != QEvent::Show || dialog) return false;
        dialog = d;
        connect(d, &QDialog::finished, this, [this, d](int r) {
            seen = true, result = r, title = d->windowTitle(), status = text(), progress = bar()->value();
            sessionCancelled = d->sessionCancelled();
            timer.stop();
        });
        if (cancelAt >= 0) timer.start(2);
        return false;
    }
    QString text() { return dialog->findChild<QLineEdit*>(QStringLiteral("statusEdit"))->text(); }
    QProgressBar* bar() { return dialog->findChild<QProgressBar*>(QStringLiteral("progressBar")); }

    int cancelAt;
    QPointer<QDialog> dialog;
    QTimer timer;
    bool seen = false, sessionCancelled = false, cancelPressed = false, stillOpenAfterCancel = false;
    bool cancelEnabledAfterCancel = true;
    int result = -1, progress = -1;
    QString title, status, statusAfterCancel;
};

// A view that notes, at each update, whether the tree had been asked to rebuild.
struct RecordingView : DocumentView {
    using DocumentView::DocumentView;
    void onUpdate(DocumentView*, int) override { ++updates, rebuildSeen |= document().browser().rebuildRequest; }
    QWidget* widget() override { return nullptr; }
    int updates = 0;
    bool rebuildSeen = false;
};

class TransferCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int n = 1; n <= 4; ++n) ::unsetenv(("SATORIX_COM" + std::to_string(n)).c_str());
        ::unsetenv("SATORIX_SIMULATED_COM1");
        QDir(DownloadBackups::defaultFolder()).removeRecursively();
    }
    void TearDown() override
    {
        f.stop();
        for (int n = 1; n <= 4; ++n) PortDevices::setDevice(n, {});
    }

    void startWithSample() { ASSERT_TRUE(f.start(f.sample("start.si"))); }
    void attachReceiver(Bytes served, stbsim::SimFaults faults = {})
    {
        // The editor's receiver serves `served` again and again, with real time-outs (shorter ones
        // fail exchanges when a loaded machine starves the editor's worker thread).
        served.resize(link::DATABASE_REGION_SIZE, 0);
        stbsim::SimOptions o{.mode = stbsim::SimMode::Any, .data = std::move(served), .requestRepeatMs = 100};
        o.faults = std::move(faults);
        sim = std::make_unique<SimOnPty>(std::move(o));
        PortDevices::setDevice(1, QString::fromStdString(sim->device()));
    }
    Bytes image() { return {f.doc().database().image(), f.doc().database().image() + IMAGE_SIZE}; }
    TransferCommands& transfers() { return f.doc().transfers(); }
    void expectUntouched(const Bytes& before)
    {
        EXPECT_EQ(before, image());
        EXPECT_EQ(std::tuple(false, QString("start"), QStringList{}),
                  std::tuple(f.doc().databaseDownloaded(), f.doc().title(), transfers().backups().files()));
    }

    AppFixture f;
    std::unique_ptr<SimOnPty> sim;
};

// The whole request: download over a modified document, edit, upload; the receiver gets the edited,
// sound image, and the next download brings it back.
TEST_F(TransferCommandsTest, DownloadEditUploadReachesTheReceiverExactlyAndBackups)
{
    startWithSample();
    f.doc().setModifiedFlag(true);
    f.prompter.answers = {PromptAnswer::No};
    const Bytes served = sampleImage(3);
    attachReceiver(served);
    std::filesystem::remove(f.listingFile());
    // Registered ahead of the frame's views, since the tree consumes the request in its own update.
    const std::vector<DocumentView*> others = f.doc().views();
    for (DocumentView* v : others) f.doc().removeView(v);
    RecordingView recorder(f.doc());
    for (DocumentView* v : others) f.doc().addView(v);

    DialogWatch down;
    ASSERT_TRUE(f.trigger(ID_STB_DOWNLOAD));
    ASSERT_EQ(QStringList{"start.si not saved!\nSave it now?"}, f.prompter.texts());
    EXPECT_EQ(PromptButtons::YesNoCancel, f.prompter.messages[0].buttons);
    EXPECT_EQ(QDialog::Accepted, down.result);
    EXPECT_EQ(served, image());
    EXPECT_EQ(DB_VERSION, f.doc().database().loadedVersion());
    EXPECT_EQ((QStringList{"Channel.si", "Channel.si", "", "Channel.si* - Satorix for HD"}),
              (QStringList{f.doc().title(), f.doc().fileName(), f.doc().path(), f.frame().windowTitle()}));
    // Loaded, modified, downloaded, and the tree rebuilt before the views' update.
    EXPECT_EQ((std::vector{true, true, true, true, true}),
              (std::vector{f.doc().database().isLoaded(), f.doc().isModified(), f.doc().databaseDownloaded(),
                           recorder.rebuildSeen, recorder.updates > 0}));
    EXPECT_GT(std::filesystem::file_size(f.listingFile()), 0u);
    EXPECT_FALSE(std::filesystem::exists(f.file("programs.nfo")));
    const QStringList backups = transfers().backups().files();
    ASSERT_EQ(1, backups.size());
    EXPECT_TRUE(backups[0].startsWith(qEnvironmentVariable("XDG_DATA_HOME") + "/satorix/backups/Channel-"));
    EXPECT_EQ(std::string(served.begin(), served.end()), readFile(backups[0].toStdString()));
    ASSERT_TRUE(sim->waitForExchanges(1));
    EXPECT_EQ(115200u, sim->exchanges()[0].speed);

    // The program list's drag within the fullest favourite list.
    ChannelDatabase& db = f.doc().database();
    int list = 0;
    for (int l = 1; l < FAV_LISTS; ++l) list = db.favInUse(l) > db.favInUse(list) ? l : list;
    ASSERT_GE(db.favInUse(list), 4);
    const std::uint32_t scope = scopeFav(list) | SCOPE_TV_RADIO;
    liftFromList(db, list, scope, {0, 2});
    ASSERT_EQ(0, db.dropPrograms(DBT_FAVOURITE, list, 2, db.dragList(), scope));
    db.setDragInProgress(false);

    f.prompter.clear();
    f.prompter.answers = {PromptAnswer::Yes};
    DialogWatch up;
    ASSERT_TRUE(f.trigger(ID_STB_UPLOAD));
    EXPECT_EQ((QStringList{WARNING, "Please wait until STB reboots..."}), f.prompter.texts());
    EXPECT_EQ(std::pair(PromptIcon::Exclamation, PromptButtons::YesNo),
              std::pair(f.prompter.messages[0].icon, f.prompter.messages[0].buttons));
    EXPECT_EQ(std::pair(int(QDialog::Accepted), QString("Upload database to Set Top Box")),
              std::pair(up.result, up.title));
    ASSERT_TRUE(sim->waitForExchanges(2));
    Bytes got = sim->exchanges()[1].result.received;
    ASSERT_EQ(link::DATABASE_REGION_SIZE, got.size());
    got.resize(IMAGE_SIZE);
    EXPECT_EQ(image(), got); // the edited document, its CRC updated
    EXPECT_NE(served, got);
    ChannelDatabase received;
    received.assignImage(got.data(), IMAGE_SIZE);
    EXPECT_EQ(std::vector<std::string>{}, checkDatabase(received));

    f.prompter.answers = {PromptAnswer::No};
    ASSERT_TRUE(f.trigger(ID_STB_DOWNLOAD));
    EXPECT_EQ(got, image());

    // The backups keep the newest twenty.
    DownloadBackups kept(QString::fromStdString(f.file("b")));
    const QDateTime t0(QDate(2024, 3, 1), QTime(12, 0));
    Bytes data(64);
    for (int i = 0; i < DownloadBackups::KEEP + 3; ++i) {
        data[0] = static_cast<std::uint8_t>(i);
        ASSERT_FALSE(kept.keep(data.data(), data.size(), t0.addSecs(i)).isEmpty());
    }
    const QStringList files = kept.files();
    ASSERT_EQ(DownloadBackups::KEEP, files.size());
    EXPECT_TRUE(files.front().endsWith("Channel-20240301-120003-000.si"));
    EXPECT_EQ((std::pair{3, 22}),
              std::pair(int(readFile(files.front().toStdString())[0]), int(readFile(files.back().toStdString())[0])));
    // Two downloads within the same millisecond both stay.
    EXPECT_NE(kept.keep(data.data(), 8, t0.addSecs(100)), kept.keep(data.data(), 8, t0.addSecs(100)));
}

TEST_F(TransferCommandsTest, WithoutADocumentUpgradeRefusesEmptyFilesSendsAndCom1Simulated)
{
    ASSERT_TRUE(f.start());
    EXPECT_EQ(nullptr, f.frame().findChild<QLabel*>(QStringLiteral("paneSimulatedReceiver")));
    ASSERT_TRUE(f.trigger(ID_STB_UPLOAD));
    EXPECT_EQ(QStringList{"No document opened or downloaded"}, f.prompter.texts());
    f.prompter.clear();
    const QString key = QStringLiteral("Binary_File_Section/Item_1");
    const QString remembered = "//" + QString(200, QChar(0xE9)); // two bytes each
    QSettings().setValue(key, remembered);
    ASSERT_TRUE(f.trigger(ID_STB_UPGRADE)); // the file dialog is cancelled
    ASSERT_EQ(1, f.prompter.openRequests.size());
    const QString shown = f.prompter.openRequests[0].initialName;
    EXPECT_EQ(298, QFile::encodeName(shown).size()); // 299 bytes would end in half a character
    EXPECT_EQ(std::pair(true, remembered), std::pair(remembered.startsWith(shown), QSettings().value(key).toString()));

    attachReceiver(sampleImage(1));
    // Files that cannot be sent are refused before the port opens.
    writeFile(f.file("empty.dlp"), "");
    writeFile(f.file("header.dlp"), std::string(64, 'h'));
    std::filesystem::create_directory(f.file("folder.dlp"));
    const QString nothing = " holds nothing after its 64-byte header: there is no software to send.";
    for (const auto& [name, text] :
         {std::pair{"empty.dlp", "empty.dlp" + nothing},
          {"header.dlp", "header.dlp" + nothing},
          {"folder.dlp", "The software file cannot be read:\n" + f.qfile("folder.dlp") + ": "}}) {
        f.prompter.clear();
        f.prompter.fileNames = {f.qfile(name)};
        DialogWatch watch;
        ASSERT_TRUE(f.trigger(ID_STB_UPGRADE));
        ASSERT_EQ(1, f.prompter.messages.size()) << name;
        EXPECT_TRUE(f.prompter.messages[0].text.startsWith(text)) << f.prompter.messages[0].text.toStdString();
        EXPECT_FALSE(watch.seen) << name << ": the port was opened";
    }
    EXPECT_TRUE(sim->exchanges().empty());

    transfers().context().timeouts.blockPauseMs = 0;
    const QString dlp = QString::fromStdString(writeSoftware(f.file("soft.dlp"), 0x100000));
    QSettings().setValue(key, QStringLiteral("/old/place/soft.dlp"));
    f.prompter.clear();
    f.prompter.fileNames = {dlp};
    DialogWatch watch;
    ASSERT_TRUE(f.trigger(ID_STB_UPGRADE));
    ASSERT_EQ(1, f.prompter.openRequests.size());
    const FileDialogRequest& r = f.prompter.openRequests[0];
    EXPECT_EQ((QStringList{"/old/place/soft.dlp", "S/W File (*.dlp)", "All Files (*.*)", ""}),
              QStringList{r.initialName} + r.nameFilters + QStringList{r.defaultSuffix});
    EXPECT_EQ(std::pair(true, dlp), std::pair(r.mustExist, QSettings().value(key).toString()));
    EXPECT_EQ(QStringList{"The software has been sent to the receiver."}, f.prompter.texts());
    EXPECT_EQ(std::pair(int(QDialog::Accepted), QString("Upgrade software to Set Top Box")),
              std::pair(watch.result, watch.title));

    f.stop();
    ::setenv("SATORIX_SIMULATED_COM1", "1", 1);
    ASSERT_TRUE(f.start());
    ::unsetenv("SATORIX_SIMULATED_COM1");
    auto* note = f.frame().findChild<QLabel*>(QStringLiteral("paneSimulatedReceiver"));
    ASSERT_NE(nullptr, note);
    EXPECT_EQ("COM1: simulated receiver", note->text());
}

// Cancel in each command's dialog: heard at once while the block in flight finishes, then the
// dialog closes without the command's own ending; a download leaves the document as it was.
TEST_F(TransferCommandsTest, CancelDuringEachTransferAndAShortDownload)
{
    startWithSample();
    // A download would otherwise be over before Cancel can be pressed.
    const stbsim::SimFaults slow{.stallFrame = stbsim::SERVE_FIRST_BLOCK + 40, .stallMs = 1500, .stallAfter = 8};
    for (const auto& [command, cancelAt, texts] : {std::tuple{ID_STB_DOWNLOAD, 5, QStringList{}},
                                                   {ID_STB_UPLOAD, 10, QStringList{WARNING}},
                                                   {ID_STB_UPGRADE, 3, QStringList{}}}) {
        SCOPED_TRACE(command);
        attachReceiver(sampleImage(2), slow);
        const Bytes before = image();
        f.prompter.clear();
        f.prompter.answers = {PromptAnswer::Yes};
        f.prompter.fileNames = {QString::fromStdString(writeSoftware(f.file("soft.dlp"), 0x100000))};
        DialogWatch watch(cancelAt);
        ASSERT_TRUE(f.trigger(command));
        // Pressed, still open, Cancel disabled; then rejected with the session cancelled.
        EXPECT_EQ((std::vector{true, true, false, true, true}),
                  (std::vector{watch.cancelPressed, watch.stillOpenAfterCancel, watch.cancelEnabledAfterCancel,
                               watch.result == QDialog::Rejected, watch.sessionCancelled}));
        EXPECT_EQ((QStringList{"Cancelling...", "Wait for Close....."}),
                  (QStringList{watch.statusAfterCancel, watch.status}));
        EXPECT_LT(watch.progress, 100);
        EXPECT_EQ(texts, f.prompter.texts());
        expectUntouched(before);
    }

    // A short download asks before it replaces the database.
    const Bytes served = sampleImage(2);
    const stbsim::SimFaults oneBlock{.fileInfo = link::FileInfo{4, 0, 4096, 1, {}}}; // a region of one block
    for (const PromptAnswer answer : {PromptAnswer::No, PromptAnswer::Yes}) {
        attachReceiver(served, oneBlock);
        const Bytes before = image();
        f.prompter.clear();
        f.prompter.answers = {answer};
        ASSERT_TRUE(f.trigger(ID_STB_DOWNLOAD));
        EXPECT_EQ(QStringList{"Only 4,096 of 721,968 bytes were received. Keep this database?"}, f.prompter.texts());
        if (answer == PromptAnswer::No) {
            EXPECT_FALSE(f.doc().isModified());
            expectUntouched(before);
        } else {
            Bytes expected(served.begin(), served.begin() + 4096);
            expected.resize(IMAGE_SIZE, 0);
            EXPECT_EQ(expected, image());
            EXPECT_TRUE(f.doc().databaseDownloaded());
        }
    }
}

// Answered No, an upload does nothing (it would have recomputed the CRC, and failed to open the port).
TEST_F(TransferCommandsTest, UploadAnsweredNoPortThatCannotBeOpenedAndPortSettings)
{
    startWithSample();
    f.doc().config().setPort(2);
    PortDevices::setDevice(2, f.qfile("no-such-tty"));
    f.doc().database().raw().setU32(layout::CRC, 0xDEADBEEF);
    const Bytes before = image();
    f.prompter.answers = {PromptAnswer::No};
    ASSERT_TRUE(f.trigger(ID_STB_UPLOAD));
    EXPECT_EQ(QStringList{WARNING}, f.prompter.texts());
    EXPECT_EQ(before, image());

    f.prompter.clear();
    DialogWatch down;
    ASSERT_TRUE(f.trigger(ID_STB_DOWNLOAD));
    const QString reason = f.qfile("no-such-tty") + ": No such file or directory";
    EXPECT_EQ(QStringList{"Can not open port COM2\n" + reason}, f.prompter.texts());
    EXPECT_EQ(std::tuple(PromptIcon::Stop, int(QDialog::Rejected), reason),
              std::tuple(f.prompter.messages[0].icon, down.result, down.status));
    expectUntouched(before);

    f.prompter.clear();
    f.prompter.answers = {PromptAnswer::Yes};
    ASSERT_TRUE(f.trigger(ID_STB_UPLOAD));
    EXPECT_EQ((QStringList{WARNING, "Can not open port COM2\n" + reason}), f.prompter.texts());

    // The port settings from the menu and the tool bar reach the line; opening them corrects the port.
    f.doc().config().setPort(7);
    QString opened;
    whenModal([&opened](QWidget* w) {
        opened = w->objectName();
        w->findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
    });
    ASSERT_TRUE(f.trigger(ID_TOOLBAR_PORT));
    EXPECT_EQ(std::pair(QString("portSettingsDialog"), 1), std::pair(opened, f.doc().config().port()));
    whenModal([](QWidget* w) {
        w->findChild<QComboBox*>(QStringLiteral("baudCombo"))->setCurrentIndex(1);
        w->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    });
    ASSERT_TRUE(f.trigger(ID_SETTINGS_PORT));
    EXPECT_EQ(57600u, f.doc().config().baudRate());

    attachReceiver(sampleImage(2));
    ASSERT_TRUE(f.trigger(ID_STB_DOWNLOAD));
    ASSERT_TRUE(sim->waitForExchanges(1));
    EXPECT_EQ(57600u, sim->exchanges()[0].speed);
    EXPECT_TRUE(f.doc().databaseDownloaded());
}

} // namespace
} // namespace satorix::test

// The transmission dialog on its own: the report table, Cancel, and its worker's lifetime.
#include <QApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include "tests/transfer/TransferTestSupport.h"

namespace satorix::test {
namespace {

using link::TransferReport;

QString field(QDialog& d, const char* name) { return d.findChild<QLineEdit*>(QString::fromLatin1(name))->text(); }

class TransmissionDialogTest : public ::testing::Test {
protected:
    // A kind the dialog does not know starts no worker, so reports can be fed in by hand.
    std::unique_ptr<TransmissionDialog> idle()
    {
        auto d = std::make_unique<TransmissionDialog>(context, db, prompter);
        d->setKind(0);
        d->open();
        prompter.clear();
        return d;
    }

    ChannelDatabase db;
    link::TransferContext context;
    ScriptedPrompter prompter;
};

TEST_F(TransmissionDialogTest, ReportsThatKeepTheDialogOpen)
{
    TransmissionDialog d(context, db, prompter);
    d.setKind(7);
    d.open();
    EXPECT_EQ(QStringList{"Unknown transmission type!"}, prompter.texts());
    EXPECT_EQ("Transmission", d.windowTitle());
    const struct {
        TransferReport report;
        const char* status;
        const char* packet;
    } steps[] = {
        {{link::REPORT_PROGRESS, 0x00640019}, "", "25 / 100"},
        {{link::REPORT_TRACE, 0xDEADBEEF}, "Data Download from Set Top Box...", "25 / 100"},
        {{link::REPORT_OPENING_PORT, 3}, "Opening port COM3", "25 / 100"},
        {{link::REPORT_WAITING, 0}, "Waiting for answer from Set Top Box", "25 / 100"},
        {{link::REPORT_UPLOADING, 12}, "Data Upload to Set Top Box...", "25 / 100"},
        {{7, 1}, "Data Upload to Set Top Box...", "25 / 100"}, // not in the table
        {{link::REPORT_PROGRESS, 0x00640001}, "Data Upload to Set Top Box...", "1 / 100"},
    };
    for (const auto& s : steps) {
        d.postReport(s.report);
        QCoreApplication::sendPostedEvents(&d);
        EXPECT_EQ((QStringList{s.status, s.packet}), (QStringList{field(d, "statusEdit"), field(d, "packetEdit")}))
            << s.report.code;
    }
    EXPECT_EQ(1, d.findChild<QProgressBar*>(QStringLiteral("progressBar"))->value());
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(1, prompter.messages.size());
}

TEST_F(TransmissionDialogTest, ClosingReportsAndCancelEndTheDialog)
{
    const struct {
        TransferReport report;
        int result;
        const char* box;
        const char* status;
        bool sessionCancelled;
    } cases[] = {
        {{link::REPORT_THREAD_FAILED, 0}, QDialog::Rejected, "Can not run communication thread", "", false},
        {{link::REPORT_PORT_FAILED, 2}, QDialog::Rejected, "Can not open port COM2", "", true},
        {{link::REPORT_TIMEOUT, 62}, QDialog::Rejected, "Communication timeout", "Timeout - 62", false},
        {{link::REPORT_UNEXPECTED_DATA, 0}, QDialog::Rejected, "Received different data then expected", "", false},
        {{link::REPORT_DOWNLOAD_DONE, 0}, QDialog::Accepted, nullptr, "Complete", false},
        {{link::REPORT_UPLOAD_DONE, 0}, QDialog::Accepted, nullptr, "Complete", false},
        {{link::REPORT_CANCELLED, 1}, QDialog::Rejected, nullptr, "Wait for Close.....", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.report.code);
        auto d = idle();
        d->postReport(c.report);
        // Whatever follows the closing report is dropped: the second success below changes nothing.
        d->postReport({link::REPORT_PROGRESS, 0x00640032});
        d->postReport({link::REPORT_DOWNLOAD_DONE, 0});
        QCoreApplication::sendPostedEvents(d.get());
        EXPECT_FALSE(d->isVisible());
        EXPECT_EQ(std::pair(c.result, c.sessionCancelled), std::pair(d->result(), d->sessionCancelled()));
        EXPECT_EQ((QStringList{c.status, ""}), (QStringList{field(*d, "statusEdit"), field(*d, "packetEdit")}));
        EXPECT_EQ(c.box ? QStringList{c.box} : QStringList{}, prompter.texts());
        EXPECT_TRUE(!c.box || prompter.messages[0].icon == PromptIcon::Stop);
    }
    auto d = idle(); // Cancel with nothing running closes at once
    QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("cancelButton")), Qt::LeftButton);
    EXPECT_EQ((std::tuple{false, int(QDialog::Rejected), true}),
              (std::tuple{d->isVisible(), d->result(), d->sessionCancelled()}));
}

// Cancel while a transfer runs is TransferCommandsTest's, in every command's dialog.
TEST_F(TransmissionDialogTest, GoingAwayStopsAndJoinsItsWorker)
{
    stbsim::Pty silent;
    ASSERT_TRUE(silent.open());
    context.port.device = silent.slavePath();
    QElapsedTimer t;
    t.start();
    {
        TransmissionDialog d(context, db, prompter);
        d.setKind(2); // waits for the receiver's request
        d.open();
        EXPECT_EQ("Please wait", field(d, "statusEdit"));
        ASSERT_TRUE(waitFor([&] { return field(d, "statusEdit") == "Waiting for answer from Set Top Box"; }, 5000,
                            [] { QTest::qWait(2); }));
    }
    EXPECT_LT(t.elapsed(), 4000);
    // Reports the worker posted on its way out went with the dialog.
    QApplication::processEvents();
    EXPECT_TRUE(prompter.messages.empty());
}

} // namespace
} // namespace satorix::test

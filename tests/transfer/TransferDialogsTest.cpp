// The transfer dialogs on their own: the transmission dialog's report table, Cancel and its
// worker's lifetime; the port settings dialog's OK, Set Default and Cancel rules and each port's device.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

#include "link/ui/PortDevices.h"
#include "link/ui/PortSettingsDialog.h"
#include "link/ui/TransmissionDialog.h"
#include "tests/gui/GuiTestSupport.h"
#include "tools/stbsim/Pty.h"

namespace satorix::test {
namespace {

using link::TransferReport;

QString field(QDialog& d, const char* name) { return d.findChild<QLineEdit*>(QString::fromLatin1(name))->text(); }
void click(QDialog& d, const char* button) { QTest::mouseClick(d.findChild<QPushButton*>(button), Qt::LeftButton); }

class TransferDialogsTest : public ::testing::Test {
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override
    {
        QSettings().clear();
        for (int n = 1; n <= 4; ++n) ::unsetenv(("SATORIX_COM" + std::to_string(n)).c_str());
    }
    // Kind 0 starts no worker, so reports can be fed in by hand.
    std::unique_ptr<TransmissionDialog> opened(int kind)
    {
        auto d = std::make_unique<TransmissionDialog>(context, db, prompter);
        d->setKind(kind);
        d->open();
        return d;
    }

    ChannelDatabase db;
    link::TransferContext context;
    ScriptedPrompter prompter;
};

TEST_F(TransferDialogsTest, ReportsShownClosingReportsCancelAndGoingAway)
{
    auto d = opened(7);
    EXPECT_EQ(QStringList{"Unknown transmission type!"}, prompter.texts());
    EXPECT_EQ("Transmission", d->windowTitle());
    for (const auto& [report, status, packet] :
         {std::tuple{TransferReport{link::REPORT_PROGRESS, 0x00640019}, "", "25 / 100"},
          {{link::REPORT_TRACE, 0xDEADBEEF}, "Data Download from Set Top Box...", "25 / 100"},
          {{link::REPORT_OPENING_PORT, 3}, "Opening port COM3", "25 / 100"},
          {{link::REPORT_WAITING, 0}, "Waiting for answer from Set Top Box", "25 / 100"},
          {{link::REPORT_UPLOADING, 12}, "Data Upload to Set Top Box...", "25 / 100"},
          {{7, 1}, "Data Upload to Set Top Box...", "25 / 100"}, // not in the table
          {{link::REPORT_PROGRESS, 0x00640001}, "Data Upload to Set Top Box...", "1 / 100"}}) {
        d->postReport(report);
        QCoreApplication::sendPostedEvents(d.get());
        EXPECT_EQ((QStringList{status, packet}), (QStringList{field(*d, "statusEdit"), field(*d, "packetEdit")}))
            << report.code;
    }
    EXPECT_EQ((std::tuple{1, true, 1}), (std::tuple{d->findChild<QProgressBar*>(QStringLiteral("progressBar"))->value(),
                                                    d->isVisible(), prompter.messages.size()}));

    // Closing reports, and Cancel with nothing running.
    for (const auto& [report, result, box, status, cancelled] :
         {std::tuple{TransferReport{link::REPORT_THREAD_FAILED, 0}, int(QDialog::Rejected),
                     "Can not run communication thread", "", false},
          {{link::REPORT_PORT_FAILED, 2}, QDialog::Rejected, "Can not open port COM2", "", true},
          {{link::REPORT_TIMEOUT, 62}, QDialog::Rejected, "Communication timeout", "Timeout - 62", false},
          {{link::REPORT_UNEXPECTED_DATA, 0}, QDialog::Rejected, "Received different data then expected", "", false},
          {{link::REPORT_DOWNLOAD_DONE, 0}, QDialog::Accepted, nullptr, "Complete", false},
          {{link::REPORT_UPLOAD_DONE, 0}, QDialog::Accepted, nullptr, "Complete", false},
          {{link::REPORT_CANCELLED, 1}, QDialog::Rejected, nullptr, "Wait for Close.....", false}}) {
        SCOPED_TRACE(report.code);
        auto d = opened(0);
        prompter.clear();
        d->postReport(report);
        // Whatever follows the closing report is dropped: the second success below changes nothing.
        d->postReport({link::REPORT_PROGRESS, 0x00640032});
        d->postReport({link::REPORT_DOWNLOAD_DONE, 0});
        QCoreApplication::sendPostedEvents(d.get());
        EXPECT_FALSE(d->isVisible());
        EXPECT_EQ(std::pair(result, cancelled), std::pair(d->result(), d->sessionCancelled()));
        EXPECT_EQ((QStringList{status, ""}), (QStringList{field(*d, "statusEdit"), field(*d, "packetEdit")}));
        EXPECT_EQ(box ? QStringList{box} : QStringList{}, prompter.texts());
        EXPECT_TRUE(!box || prompter.messages[0].icon == PromptIcon::Stop);
    }
    auto idleOne = opened(0); // Cancel with nothing running closes at once
    click(*idleOne, "cancelButton");
    EXPECT_EQ((std::tuple{false, int(QDialog::Rejected), true}),
              (std::tuple{idleOne->isVisible(), idleOne->result(), idleOne->sessionCancelled()}));

    // Going away stops and joins its worker. Cancel while a transfer runs is TransferCommandsTest's.
    prompter.clear();
    stbsim::Pty silent;
    ASSERT_TRUE(silent.open());
    context.port.device = silent.slavePath();
    QElapsedTimer t;
    t.start();
    {
        auto d = opened(2); // waits for the receiver's request
        EXPECT_EQ("Please wait", field(*d, "statusEdit"));
        ASSERT_TRUE(waitFor([&] { return field(*d, "statusEdit") == "Waiting for answer from Set Top Box"; }));
    }
    EXPECT_LT(t.elapsed(), 4000);
    // Reports the worker posted on its way out went with the dialog.
    QApplication::processEvents();
    EXPECT_TRUE(prompter.messages.empty());
}

QRadioButton* radio(QDialog& d, int port) { return d.findChild<QRadioButton*>(QStringLiteral("com%1Radio").arg(port)); }
QComboBox* combo(QDialog& d, const char* name) { return d.findChild<QComboBox*>(QString::fromLatin1(name)); }

// A port outside the four opening on COM1 is TransferCommandsTest's, through the menu.
TEST_F(TransferDialogsTest, PortSettingsOkSetDefaultCancelEachPortsDeviceAndTheList)
{
    link::PortSettings s{1, 115200, {}};
    const auto stored = [&s] { return std::pair(s.port, s.baudRate); };
    {
        PortSettingsDialog d(s);
        d.show();
        QTest::mouseClick(radio(d, 4), Qt::LeftButton);
        QComboBox* baud = combo(d, "baudCombo");
        baud->setFocus();
        QTest::keyClick(baud, Qt::Key_Down);
        EXPECT_EQ("57600", baud->currentText());
        click(d, "okButton");
        EXPECT_EQ(std::pair(int(QDialog::Accepted), std::pair(4, 57600u)), std::pair(d.result(), stored()));
    }
    s.port = 3;
    for (const char* button : {"cancelButton", "okButton"}) {
        PortSettingsDialog d(s);
        d.show();
        EXPECT_TRUE(radio(d, 3)->isChecked());
        click(d, "setDefaultButton");
        EXPECT_EQ((std::tuple{true, false, 0}), (std::tuple{radio(d, 1)->isChecked(), radio(d, 3)->isChecked(),
                                                            combo(d, "baudCombo")->currentIndex()}));
        click(d, button);
        EXPECT_TRUE(button[0] == 'o' || stored() == std::pair(3, 57600u)); // Cancel keeps them
    }
    EXPECT_EQ(std::pair(1, 115200u), stored());

    // Each port's device.
    s.port = 2;
    {
        PortSettingsDialog d(s);
        d.show();
        QComboBox* device = combo(d, "deviceCombo");
        QStringList shown{device->currentText()};
        device->clearEditText();
        QTest::keyClicks(device->lineEdit(), QStringLiteral("/dev/ttyUSB7"));
        for (int port : {3, 2}) QTest::mouseClick(radio(d, port), Qt::LeftButton), shown << device->currentText();
        EXPECT_EQ((QStringList{"/dev/ttyS1", "/dev/ttyS2", "/dev/ttyUSB7"}), shown);
        click(d, "okButton");
    }
    EXPECT_EQ("/dev/ttyUSB7", QSettings().value(QStringLiteral("Port_Device_Section/COM2")).toString());
    EXPECT_FALSE(QSettings().contains(QStringLiteral("Port_Device_Section/COM3")));
    EXPECT_EQ((std::vector<std::string>{"/dev/ttyUSB7", "/dev/ttyS2"}),
              (std::vector{PortDevices::transferDevice(2), PortDevices::transferDevice(3)}));

    // The environment still wins for a run, and the dialog says so.
    ::setenv("SATORIX_COM2", "/dev/pts/42", 1);
    PortSettingsDialog d(s);
    d.show();
    EXPECT_EQ("/dev/ttyUSB7", combo(d, "deviceCombo")->currentText());
    EXPECT_TRUE(d.findChild<QLabel*>(QStringLiteral("overrideLabel"))->text().contains("/dev/pts/42"));
    EXPECT_EQ("/dev/pts/42", PortDevices::transferDevice(2));
    ::unsetenv("SATORIX_COM2");
    // Back to the default: nothing left in the profile.
    combo(d, "deviceCombo")->setEditText(QStringLiteral("/dev/ttyS1"));
    click(d, "okButton");
    EXPECT_FALSE(QSettings().contains(QStringLiteral("Port_Device_Section/COM2")));
    EXPECT_EQ("/dev/ttyS1", PortDevices::transferDevice(2));

    // The serial devices present, in the order the list shows them.
    TempDir dev;
    const QString root = QString::fromStdString(dev.path());
    QDir(root).mkpath(QStringLiteral("serial/by-id"));
    for (const char* name : {"ttyS10", "ttyS2", "ttyS0", "ttyUSB0", "ttyACM1", "sda", "tty0", "console",
                             "serial/by-id/usb-FTDI_FT232R-if00-port0"})
        QFile(root + QLatin1Char('/') + QString::fromLatin1(name)).open(QIODevice::WriteOnly);
    const QStringList expected{root + "/ttyUSB0", root + "/ttyACM1", root + "/ttyS0",
                               root + "/ttyS2",   root + "/ttyS10",  root + "/serial/by-id/usb-FTDI_FT232R-if00-port0"};
    EXPECT_EQ(expected, PortDevices::presentDevices(root));
}

} // namespace
} // namespace satorix::test

// The port settings dialog: its opening, OK, Set Default and Cancel rules and the device of each port.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QSettings>
#include <cstdlib>
#include <gtest/gtest.h>

#include "link/ui/PortDevices.h"
#include "link/ui/PortSettingsDialog.h"
#include "tests/transfer/TransferTestSupport.h"

namespace satorix::test {
namespace {

QRadioButton* radio(QDialog& d, int port) { return d.findChild<QRadioButton*>(QStringLiteral("com%1Radio").arg(port)); }
QComboBox* combo(QDialog& d, const char* name) { return d.findChild<QComboBox*>(QString::fromLatin1(name)); }
void click(QDialog& d, const char* button)
{
    QTest::mouseClick(d.findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
}

class PortSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override
    {
        QSettings().clear();
        for (int n = 1; n <= 4; ++n) ::unsetenv(("SATORIX_COM" + std::to_string(n)).c_str());
    }
};

// A port outside the four opening on COM1 is TransferCommandsTest's, through the menu.
TEST_F(PortSettingsTest, OkStoresTheChoiceAndSetDefaultIsKeptOnlyByOk)
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
        EXPECT_EQ(QDialog::Accepted, d.result());
        EXPECT_EQ(std::pair(4, 57600u), stored());
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
}

TEST_F(PortSettingsTest, EachPortsDeviceIsRememberedAndOpened)
{
    link::PortSettings s{2, 115200, {}};
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
}

TEST_F(PortSettingsTest, ListsTheSerialDevicesPresent)
{
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

// The configuration block and its file, the Options dialog and the file-type registration.
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

#include "app/AppConfig.h"
#include "app/CommandIds.h"
#include "app/FileTypeRegistration.h"
#include "tests/gui/GuiTestSupport.h"

namespace satorix::test {
namespace {

std::string hex(const std::string& bytes, std::size_t n)
{
    std::string out;
    char buf[4];
    for (std::size_t i = 0; i < n && i < bytes.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%02X ", static_cast<unsigned char>(bytes[i]));
        out += buf;
    }
    if (!out.empty()) out.pop_back();
    return out;
}

class ConfigTest : public ::testing::Test, public AppFixture {};

// Puts an environment variable back when the test ends, however it ends.
struct EnvGuard {
    explicit EnvGuard(const char* name) : name_(name), old_(qgetenv(name)) {}
    ~EnvGuard() { qputenv(name_, old_); }
    const char* name_;
    QByteArray old_;
};

TEST_F(ConfigTest, MissingFileGivesDefaultsAndExitWritesTheBlock)
{
    ASSERT_TRUE(start());
    EXPECT_EQ(app().config().port(), 1);
    EXPECT_EQ(app().config().baudRate(), 115200u);
    EXPECT_FALSE(app().config().openLastEdited());
    stop();
    const std::string bytes = readFile(file(AppConfig::FILE_NAME));
    ASSERT_EQ(bytes.size(), 264u);
    EXPECT_EQ(hex(bytes, 9), "01 00 00 00 00 C2 01 00 00");
}

TEST_F(ConfigTest, ChosenSettingsGiveExactBytesAndKeepUnknownOnes)
{
    // Bytes 2..3 and the unused option bits come from an earlier version and must survive.
    AppConfig old;
    old.setDefaults();
    std::string seed(reinterpret_cast<const char*>(old.bytes().data()), AppConfig::SIZE);
    seed[1] = '\x80';
    seed[2] = '\xAB';
    seed[3] = '\xCD';
    writeFile(file(AppConfig::FILE_NAME), seed);

    const QString db = QString::fromStdString(writeSample(file("x.si")));
    ASSERT_TRUE(start(db));
    app().config().setPort(3);
    app().config().setBaudRate(57600);

    // Settings → Options, tick "Open last edited", OK.
    whenModal([](QWidget* dialog) {
        auto* box = dialog->findChild<QCheckBox*>("check1014");
        auto* reg = dialog->findChild<QPushButton*>("button1013");
        ASSERT_NE(box, nullptr);
        ASSERT_NE(reg, nullptr);
        EXPECT_EQ(reg->text(), "Register File Type (*.sdb)");
        EXPECT_FALSE(reg->isEnabled());
        EXPECT_FALSE(box->isChecked());
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    });
    ASSERT_TRUE(trigger(ID_SETTINGS_OPTIONS));
    EXPECT_TRUE(app().config().openLastEdited());
    stop();

    const std::string bytes = readFile(file(AppConfig::FILE_NAME));
    ASSERT_EQ(bytes.size(), 264u);
    EXPECT_EQ(hex(bytes, 8), "03 81 AB CD 00 E1 00 00");
    EXPECT_EQ(bytes.substr(8, db.size() + 1), db.toStdString() + '\0');

    // Cancel leaves the option as it was.
    prompter.clear();
    ASSERT_TRUE(start());
    whenModal([](QWidget* dialog) {
        QTest::mouseClick(dialog->findChild<QCheckBox*>("check1014"), Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel), Qt::LeftButton);
    });
    ASSERT_TRUE(trigger(ID_SETTINGS_OPTIONS));
    EXPECT_TRUE(app().config().openLastEdited());
}

TEST_F(ConfigTest, ShortFileGivesDefaultsButKeepsWhatWasRead)
{
    std::string shortFile(100, '\0');
    shortFile[0] = 4;
    shortFile[1] = '\x43'; // option bit 0 set, and two unknown bits
    shortFile[2] = '\x12';
    shortFile[3] = '\x34';
    shortFile[4] = '\x80';
    shortFile[8] = 'Z';
    writeFile(file(AppConfig::FILE_NAME), shortFile);
    AppConfig config;
    config.read(file(AppConfig::FILE_NAME));
    EXPECT_EQ(config.port(), 1);
    EXPECT_EQ(config.baudRate(), 115200u);
    EXPECT_EQ(config.options(), 0x42);
    EXPECT_EQ(config.bytes()[2], 0x12);
    EXPECT_EQ(config.bytes()[3], 0x34);
    EXPECT_EQ(config.lastPath(), "");

    // An over-long path is cut to what the field holds, always NUL-terminated.
    config.setLastPath(std::string(400, 'p'));
    EXPECT_EQ(config.lastPath().size(), 255u);
    EXPECT_EQ(config.bytes()[263], 0);
}

TEST_F(ConfigTest, RegistrationWritesDesktopEntryAndMimePackageOnce)
{
    const QString home = qfile("data");
    const EnvGuard guard("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", home.toLocal8Bit());
    options.registration.programPath = QStringLiteral("/opt/Sat Tools/satorix");
    ASSERT_TRUE(start());
    stop();

    const QString desktop = home + "/applications/satorix.desktop";
    const QString mime = home + "/mime/packages/satorix-channel-database.xml";
    const std::string entry = readFile(desktop.toStdString());
    EXPECT_NE(entry.find("Exec=\"/opt/Sat Tools/satorix\" %f\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("MimeType=application/x-satorix-channel-database;\n"), std::string::npos);
    EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u);
    const std::string package = readFile(mime.toStdString());
    EXPECT_NE(package.find("<mime-type type=\"application/x-satorix-channel-database\">"), std::string::npos);
    EXPECT_NE(package.find("<glob pattern=\"*.si\"/>"), std::string::npos);
    EXPECT_NE(package.find("<comment>SatorixEdit Database</comment>"), std::string::npos);

    // Every start registers again; nothing differs, so nothing is rewritten.
    EXPECT_FALSE(FileTypeRegistration::registerFileType(QStringLiteral("/opt/Sat Tools/satorix"), home, false));
    EXPECT_TRUE(FileTypeRegistration::registerFileType(QStringLiteral("/usr/bin/satorix"), home, false));
    EXPECT_NE(readFile(desktop.toStdString()).find("Exec=/usr/bin/satorix %f\n"), std::string::npos);

    // A data directory that cannot be created is ignored.
    writeFile(file("blocker"), "x");
    EXPECT_FALSE(FileTypeRegistration::registerFileType(QStringLiteral("/usr/bin/satorix"), qfile("blocker"), false));
}

} // namespace
} // namespace satorix::test

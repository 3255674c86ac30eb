// The configuration block and its file, the Options dialog and the file-type registration.

#include "app/AppConfig.h"
#include "app/FileTypeRegistration.h"
#include "tests/gui/GuiTestSupport.h"

namespace satorix::test {
namespace {

// The size and the first n bytes as "01 C2 ..".
std::pair<std::size_t, std::string> head(const std::string& bytes, int n)
{
    return {bytes.size(), QByteArray::fromStdString(bytes).left(n).toHex(' ').toUpper().toStdString()};
}

class ConfigTest : public ::testing::Test, public AppFixture {};

// Sets an environment variable until the guard goes, however the test ends.
auto setEnv(const char* name, const QString& value)
{
    const QByteArray old = qgetenv(name);
    qputenv(name, value.toLocal8Bit());
    return qScopeGuard([name, old] { qputenv(name, old); });
}

TEST_F(ConfigTest, FilesStayInTheUserFoldersChosenSettingsGiveExactBytesAndUnknownOnesSurvive)
{
    // No file: the defaults, written on exit.
    ASSERT_TRUE(start());
    stop();
    std::string bytes = readFile(configFile());
    EXPECT_EQ(head(bytes, 9), std::pair(std::size_t(264), std::string("01 00 00 00 00 C2 01 00 00")));
    std::filesystem::remove(configFile());

    // An old "tavolink.cfg" in the current directory is taken over once and left as it was. Its bytes
    // 2..3 and unused option bits come from an earlier version and must survive.
    bytes.replace(0, 4, "\x02\x80\xAB\xCD");
    writeFile(file(AppConfig::FILE_NAME), bytes);
    const QString db = sample("x.si");
    ASSERT_TRUE(start(db));
    EXPECT_EQ(app().config().port(), 2);
    app().config().setPort(3);
    app().config().setBaudRate(57600);

    // Settings → Options: "Open last edited" clicked, then OK or Cancel.
    const auto setOptions = [this](bool ticked, QDialogButtonBox::StandardButton answer) {
        onModal([=](QDialog* dialog) {
            auto* box = dialog->findChild<QCheckBox*>("check1014");
            auto* reg = dialog->findChild<QPushButton*>("button1013");
            ASSERT_TRUE(box && reg);
            EXPECT_EQ(std::tuple(reg->text(), reg->isEnabled(), box->isChecked()),
                      std::tuple(QString("Register File Type (*.sdb)"), false, ticked));
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
            QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(answer), Qt::LeftButton);
        });
        ASSERT_TRUE(trigger(ID_SETTINGS_OPTIONS));
    };
    setOptions(false, QDialogButtonBox::Ok);
    EXPECT_TRUE(app().config().openLastEdited());
    stop();
    bytes = readFile(configFile());
    EXPECT_EQ(head(bytes, 8), std::pair(std::size_t(264), std::string("03 81 AB CD 00 E1 00 00")));
    EXPECT_EQ(std::pair(bytes.substr(8, db.size() + 1), readFile(file(AppConfig::FILE_NAME))[0]),
              std::pair(db.toStdString() + '\0', '\x02'));

    // ... after which the user's file wins, from any current directory; Cancel leaves the option as it was.
    std::filesystem::create_directory(file("elsewhere"));
    std::filesystem::current_path(file("elsewhere"));
    ASSERT_TRUE(start());
    EXPECT_EQ(app().config().port(), 3);
    setOptions(true, QDialogButtonBox::Cancel);
    EXPECT_TRUE(app().config().openLastEdited());
    stop();
    EXPECT_TRUE(std::filesystem::is_empty(file("elsewhere")));

    // A 100-byte file (port 4, option bit 0 and two unknown bits, bytes 2..3, a baud byte, a path)
    // gives the defaults but keeps what was read.
    std::string shortFile("\x04\x43\x12\x34\x80\0\0\0Z", 9);
    shortFile.resize(100);
    writeFile(file(AppConfig::FILE_NAME), shortFile);
    AppConfig config;
    config.read(file(AppConfig::FILE_NAME));
    EXPECT_EQ(std::tuple(config.port(), config.baudRate(), config.options(), config.lastPath(),
                         config.bytes()[2] << 8 | config.bytes()[3]),
              std::tuple(1, 115200u, std::uint8_t(0x42), std::string(), 0x1234));

    // An over-long path is cut to what the field holds, always NUL-terminated.
    config.setLastPath(std::string(400, 'p'));
    EXPECT_EQ(std::pair(config.lastPath().size(), int(config.bytes()[263])), std::pair(std::size_t(255), 0));
}

TEST_F(ConfigTest, RegistrationWritesOnceFindsStaleCachesAndStandsBackForAnInstalledEntry)
{
    const QString home = qfile("data");
    const auto dirs = setEnv("XDG_DATA_DIRS", qfile("none") + ":" + qfile("system"));
    options.registration.programPath = QStringLiteral("/opt/Sat Tools/satorix");
    ASSERT_TRUE(start());
    stop();

    const std::string desktop = (home + "/applications/satorix.desktop").toStdString();
    const std::string entry = readFile(desktop),
                      package = readFile((home + "/mime/packages/satorix-channel-database.xml").toStdString());
    EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u);
    for (const auto& [text, line] : {std::pair{&entry, "Exec=\"/opt/Sat Tools/satorix\" %f\n"},
                                     {&entry, "MimeType=application/x-satorix-channel-database;\n"},
                                     {&package, "<mime-type type=\"application/x-satorix-channel-database\">"},
                                     {&package, "<glob pattern=\"*.si\"/>"},
                                     {&package, "<comment>SatorixEdit Database</comment>"}})
        EXPECT_NE(text->find(line), std::string::npos) << line;
    for (const char* icon : {"16x16/apps/satorix.png", "256x256/apps/satorix.png", "scalable/apps/satorix.svg"})
        EXPECT_GT(QFileInfo(home + "/icons/hicolor/" + icon).size(), 0) << icon;

    // Every start registers again; nothing differs, so nothing is rewritten.
    EXPECT_FALSE(FileTypeRegistration::registerFileType(QStringLiteral("/opt/Sat Tools/satorix"), home, false));
    EXPECT_TRUE(FileTypeRegistration::registerFileType(QStringLiteral("/usr/bin/satorix"), home, false));
    EXPECT_NE(readFile(desktop).find("Exec=/usr/bin/satorix %f\n"), std::string::npos);

    // The system's caches are stale when missing or older than our files.
    const QString mime = home + "/mime", apps = home + "/applications";
    EXPECT_EQ(FileTypeRegistration::staleCaches(home), QStringList({mime, apps}));
    const auto now = std::filesystem::file_time_type::clock::now();
    for (const auto& [f, age] : {std::pair{mime + "/mime.cache", 0},
                                 {apps + "/mimeinfo.cache", 0},
                                 {mime + "/packages/satorix-channel-database.xml", 1},
                                 {apps + "/satorix.desktop", 1}}) {
        if (!age) writeFile(f.toStdString(), "c");
        std::filesystem::last_write_time(f.toStdString(), now - std::chrono::hours(age));
    }
    EXPECT_TRUE(FileTypeRegistration::staleCaches(home).isEmpty());
    std::filesystem::last_write_time(desktop, now + std::chrono::hours(1));
    EXPECT_EQ(FileTypeRegistration::staleCaches(home), QStringList({apps}));

    // A data directory that cannot be created is ignored.
    writeFile(file("blocker"), "x");
    EXPECT_FALSE(FileTypeRegistration::registerFileType(QStringLiteral("/usr/bin/satorix"), qfile("blocker"), false));

    // An installed entry for this program makes registration stand back.
    const auto path = setEnv("PATH", qfile("bin"));
    for (const char* dir : {"bin", "system/applications"}) std::filesystem::create_directories(file(dir));
    writeFile(file("bin/satorix"), "#!/bin/sh\n");
    std::filesystem::permissions(file("bin/satorix"), std::filesystem::perms::owner_all);
    const QString program = qfile("bin/satorix"), installed = qfile("system/applications/satorix.desktop");

    const std::tuple<const char*, const char*, bool> cases[] = {
        {"Exec=%1 %f", "bin/satorix", true},                // by full path
        {"Exec=satorix %f", "bin/satorix", true},           // by name, through PATH
        {"Exec=\"%1\" %f", "bin/satorix", true},            // quoted
        {"Exec=/usr/bin/satorix %f", "bin/satorix", false}, // another copy of the program
        {"Exec=satorix %f", "build/satorix", false},        // a build run beside an installed one
    };
    int n = 0;
    for (const auto& [exec, in, standsBack] : cases) {
        writeFile(installed.toStdString(), "[Desktop Entry]\nType=Application\n" +
                                               QString::fromLatin1(exec).replace("%1", program).toStdString() + "\n");
        const QString runs = qfile(in), to = qfile("home-") + QString::number(n++);
        const bool registered = FileTypeRegistration::registerFileType(runs, to, false);
        EXPECT_EQ(std::tuple(FileTypeRegistration::installedEntryFor(runs), registered, QFileInfo::exists(to)),
                  std::tuple(standsBack ? installed : QString(), !standsBack, !standsBack))
            << exec;
    }
}

} // namespace
} // namespace satorix::test

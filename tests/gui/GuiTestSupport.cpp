#include "tests/gui/GuiTestSupport.h"

#include <cstdlib>

#include "db/DatabaseCheck.h"
#include "db/SampleGenerator.h"

namespace satorix::test {
namespace {

// One QApplication per test binary, its user folders in a temporary directory, not the real desktop's.
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        ::setenv("XDG_DATA_HOME", home_.file("data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", home_.file("config").c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        app_ = std::make_unique<QApplication>(argc_, argv_);
        // Tests close main windows all the time; a posted quit would close the next test's window.
        QApplication::setQuitOnLastWindowClosed(false);
        QApplication::setOrganizationName(QString::fromUtf8(COrbitApp::ORGANISATION));
        QApplication::setApplicationName(QString::fromUtf8(COrbitApp::APPLICATION));
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[9] = "test_gui";
    char* argv_[2] = {name_, nullptr};
    TempDir home_; // removed when gtest deletes the environment at exit
    std::unique_ptr<QApplication> app_;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace

void whenModal(std::function<void(QWidget*)> f)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [poll, f] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        f(modal);
    });
    poll->start(5);
}

void onModal(std::function<void(QDialog*)> f)
{
    whenModal([f](QWidget* w) {
        auto* dialog = qobject_cast<QDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        f(dialog);
        if (dialog->isVisible()) {
            ADD_FAILURE() << "dialog still open: " << dialog->objectName().toStdString();
            dialog->reject();
        }
    });
}

void expectSound(const ChannelDatabase& db) { EXPECT_EQ(checkDatabase(db, {false}), std::vector<std::string>{}); }

AppFixture::AppFixture()
    : oldCwd_(std::filesystem::current_path().string()), oldConfigHome_(qgetenv("XDG_CONFIG_HOME")),
      oldDataHome_(qgetenv("XDG_DATA_HOME"))
{
    std::filesystem::current_path(dir.path());
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir.file("config")));
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dir.file("data")));
    // The recent-file list lives in the profile, which every test of the binary shares.
    QSettings().clear();
    options.showSplash = false;
    options.registration.refreshCaches = false;
}

QString AppFixture::sample(const std::string& name, std::uint32_t seed, bool full) const
{
    ChannelDatabase db;
    db.setListingPath({});
    generateSample(db, {full, seed});
    db.save(file(name));
    return qfile(name);
}

AppFixture::~AppFixture()
{
    stop();
    std::filesystem::current_path(oldCwd_);
    qputenv("XDG_CONFIG_HOME", oldConfigHome_);
    qputenv("XDG_DATA_HOME", oldDataHome_);
}

} // namespace satorix::test

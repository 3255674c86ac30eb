#include "tests/gui/GuiTestSupport.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>

#include "db/ChannelDatabase.h"
#include "db/DatabaseCheck.h"
#include "db/SampleGenerator.h"

namespace satorix::test {

std::string writeSample(const std::string& path, std::uint32_t seed)
{
    ChannelDatabase db;
    db.setListingPath({});
    SampleOptions options;
    options.seed = seed;
    generateSample(db, options);
    db.save(path);
    return path;
}

bool waitFor(const std::function<bool()>& condition, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!condition()) {
        if (t.elapsed() > ms) return false;
        QTest::qWait(5);
    }
    return true;
}

void whenModal(std::function<void(QWidget*)> f)
{
    auto* poll = new QTimer(qApp);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, f] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        f(modal);
    });
    poll->start();
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

void expectSound(const ChannelDatabase& db)
{
    CheckOptions options;
    options.checkCrc = false;
    EXPECT_EQ(checkDatabase(db, options), std::vector<std::string>{});
}

AppFixture::AppFixture()
{
    oldCwd_ = std::filesystem::current_path().string();
    std::filesystem::current_path(dir.path());
    oldConfigHome_ = qgetenv("XDG_CONFIG_HOME");
    oldDataHome_ = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir.file("config")));
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dir.file("data")));
    // The recent-file list lives in the profile, which every test of the binary shares.
    QSettings().clear();
    options.showSplash = false;
    options.registration.refreshCaches = false;
}

AppFixture::~AppFixture()
{
    stop();
    std::filesystem::current_path(oldCwd_);
    qputenv("XDG_CONFIG_HOME", oldConfigHome_);
    qputenv("XDG_DATA_HOME", oldDataHome_);
}

bool AppFixture::start(const QString& file)
{
    app_ = std::make_unique<COrbitApp>(prompter, options);
    return app_->initInstance(file);
}

void AppFixture::stop()
{
    if (app_) app_->exitInstance();
    app_.reset();
}

bool AppFixture::enabled(int id)
{
    frame().updateCommandUi();
    QAction* a = frame().action(id);
    return a && a->isEnabled();
}

bool AppFixture::trigger(int id)
{
    if (!enabled(id)) return false;
    frame().action(id)->trigger();
    return true;
}

QString AppFixture::paneText(int id)
{
    frame().updateCommandUi();
    return frame().pane(id)->text();
}

} // namespace satorix::test

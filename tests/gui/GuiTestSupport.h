#pragma once

// What every GUI test uses (precompiled for the test binaries).
#include <QtTest/QtTest>
#include <QtWidgets/QtWidgets>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>

#include "app/CMainFrame.h"
#include "app/COrbitApp.h"
#include "app/COrbitDoc.h"
#include "db/ChannelDatabase.h"
#include "gui/CommandIds.h"
#include "tests/gui/ScriptedPrompter.h"
#include "tests/support/TempDir.h"

// Readable QString values in test failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace satorix::test {

// Processes events until condition holds; false after ms. Use as ASSERT_TRUE(waitFor(...)).
inline bool waitFor(const std::function<bool()>& condition, int ms = 5000) { return QTest::qWaitFor(condition, ms); }

// Runs f on the next modal widget as soon as it is up, so that a test never leaves a modal loop open.
void whenModal(std::function<void(QWidget*)> f);
// The same for a dialog: one that f left open is a failure, and is rejected so the test goes on.
void onModal(std::function<void(QDialog*)> f);

// No problem found by the database check (the CRC aside: edits leave it to the save).
void expectSound(const ChannelDatabase& db);

// A fresh application in a temporary directory holding the user's folders, without splash or cache refresh.
class AppFixture {
public:
    AppFixture();
    ~AppFixture();

    bool start(const QString& file = {})
    {
        app_ = std::make_unique<COrbitApp>(prompter, options);
        return app_->initInstance(file);
    }
    void stop()
    {
        if (app_) app_->exitInstance();
        app_.reset();
    }
    std::string file(const std::string& name) const { return dir.file(name); }
    std::string configFile() const { return dir.file("config/satorix/tavolink.cfg"); }
    std::string listingFile() const { return dir.file("data/satorix/programs.nfo"); }
    QString qfile(const std::string& name) const { return QString::fromStdString(dir.file(name)); }
    // A generated sample (every slot used when full) written to name, as a path the editor opens.
    QString sample(const std::string& name, std::uint32_t seed = 1, bool full = false) const;

    COrbitApp& app() { return *app_; }
    COrbitDoc& doc() { return *app_->document(); }
    CMainFrame& frame() { return *app_->frame(); }
    bool enabled(int id)
    {
        frame().updateCommandUi();
        return frame().action(id) && frame().action(id)->isEnabled();
    }
    // Triggers a command's action after checking that the idle pass enabled it.
    bool trigger(int id)
    {
        if (!enabled(id)) return false;
        frame().action(id)->trigger();
        return true;
    }
    QString paneText(int id)
    {
        frame().updateCommandUi();
        return frame().pane(id)->text();
    }

    TempDir dir;
    ScriptedPrompter prompter;
    AppOptions options;

private:
    std::string oldCwd_;
    QByteArray oldConfigHome_;
    QByteArray oldDataHome_;
    std::unique_ptr<COrbitApp> app_;
};

} // namespace satorix::test

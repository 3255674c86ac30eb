#pragma once

#include <QApplication>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "app/COrbitApp.h"
#include "app/CMainFrame.h"
#include "tests/gui/ScriptedPrompter.h"
#include "tests/support/TempDir.h"

// Readable QString values in test failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace satorix::test {

// Writes a generated sample database; returns its path.
std::string writeSample(const std::string& path, std::uint32_t seed = 1);

// Runs f on the next modal dialog as soon as it is up, so that a test never leaves a modal loop open.
void whenModal(std::function<void(QWidget*)> f);

// A fresh application in a temporary current directory, with the user's configuration and data
// folders inside it (where "tavolink.cfg" and "programs.nfo" go), answering through a
// ScriptedPrompter, without splash or cache refresh.
class AppFixture {
public:
    AppFixture();
    ~AppFixture();
    AppFixture(const AppFixture&) = delete;
    AppFixture& operator=(const AppFixture&) = delete;

    bool start(const QString& file = {});
    void stop();
    std::string file(const std::string& name) const { return dir.file(name); }
    // The configuration block's file and the program listing, in this fixture's folders.
    std::string configFile() const { return dir.file("config/satorix/tavolink.cfg"); }
    std::string listingFile() const { return dir.file("data/satorix/programs.nfo"); }
    QString qfile(const std::string& name) const { return QString::fromStdString(dir.file(name)); }

    COrbitApp& app() { return *app_; }
    COrbitDoc& doc() { return *app_->document(); }
    CMainFrame& frame() { return *app_->frame(); }
    // Triggers a command's action after checking that the idle pass enabled it.
    bool trigger(int id);
    QString paneText(int id);

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

// One QApplication for the whole test binary, with the user's data and config folders pointed at
// a temporary directory so that no test touches the real desktop.
#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

#include "app/COrbitApp.h"
#include "tests/support/TempDir.h"

namespace {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        home_ = std::make_unique<satorix::test::TempDir>();
        ::setenv("XDG_DATA_HOME", home_->file("data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", home_->file("config").c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        app_ = std::make_unique<QApplication>(argc_, argv_);
        // Tests close main windows all the time; a posted quit would close the next test's window.
        QApplication::setQuitOnLastWindowClosed(false);
        QApplication::setOrganizationName(QString::fromUtf8(satorix::COrbitApp::ORGANISATION));
        QApplication::setApplicationName(QString::fromUtf8(satorix::COrbitApp::APPLICATION));
    }
    void TearDown() override
    {
        app_.reset();
        home_.reset();
    }

private:
    int argc_ = 1;
    char name_[9] = "test_gui";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<satorix::test::TempDir> home_;
    std::unique_ptr<QApplication> app_;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace

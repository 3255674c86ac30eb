// Start-up to a shown main window (the splash left out), on the sample database, offscreen.
// The first measurement is a cold start in a fresh process: QApplication, document, frame, the
// database load and the first exposed paint. The benchmark then repeats the in-process part.
#include <QApplication>
#include <QElapsedTimer>
#include <QWindow>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "app/CMainFrame.h"
#include "app/COrbitApp.h"
#include "db/ChannelDatabase.h"
#include "db/SampleGenerator.h"
#include "gui/Prompter.h"

namespace {

class SilentPrompter : public satorix::Prompter {
public:
    satorix::PromptAnswer message(const QString&, satorix::PromptIcon, satorix::PromptButtons) override
    {
        return satorix::PromptAnswer::Cancel;
    }
    QString openFileName(const satorix::FileDialogRequest&) override { return {}; }
    QString saveFileName(const satorix::FileDialogRequest&) override { return {}; }
};

std::string g_sample;

// Starts the editor on the sample and returns when its window is exposed and painted.
void startAndShow(SilentPrompter& prompter, bool registerType)
{
    satorix::AppOptions options;
    options.showSplash = false;
    options.registration.enabled = registerType;
    options.registration.refreshCaches = false;
    satorix::COrbitApp app(prompter, options);
    app.initInstance(QString::fromStdString(g_sample));
    QWindow* window = app.frame()->windowHandle();
    while (!window || !window->isExposed()) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        window = app.frame()->windowHandle();
    }
    app.frame()->updateCommandUi();
    app.frame()->repaint();
    app.exitInstance();
}

void BM_StartToShownWindow(benchmark::State& state)
{
    SilentPrompter prompter;
    for (auto _ : state) startAndShow(prompter, true);
}
BENCHMARK(BM_StartToShownWindow)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer cold;
    cold.start();
    const std::string dir =
        (std::filesystem::temp_directory_path() / ("satorix-bench-" + std::to_string(::getpid()))).string();
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    ::setenv("XDG_DATA_HOME", (dir + "/data").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    {
        satorix::ChannelDatabase db;
        db.setListingPath({});
        satorix::generateSample(db, {});
        g_sample = dir + "/Channel.si";
        db.save(g_sample);
    }
    const qint64 prepared = cold.elapsed();

    QApplication qapp(argc, argv);
    {
        SilentPrompter prompter;
        startAndShow(prompter, true);
    }
    std::printf("cold start to shown window: %lld ms (sample written in %lld ms, not counted)\n",
                static_cast<long long>(cold.elapsed() - prepared), static_cast<long long>(prepared));

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::current_path("/");
    std::filesystem::remove_all(dir);
    return 0;
}

// The editor: a thin start-up over COrbitApp.
#include <QApplication>
#include <QCommandLineParser>
#include <QSplitter>

#include "app/CMainFrame.h"
#include "app/COrbitApp.h"
#include "app/WidgetPrompter.h"
#include "db/FileSystem.h"
#include "satorix/Version.h"
#include "views/CLeftView.h"

namespace {

struct EditorOptions {
    QCommandLineOption help;
    QCommandLineOption version;
    QCommandLineOption screenshot{QStringLiteral("screenshot"),
                                  QStringLiteral("Render the main window to a PNG file and exit."),
                                  QStringLiteral("FILE")};
    QCommandLineOption select{
        QStringLiteral("select"),
        QStringLiteral("Select the first tree node with this text (a satellite, a provider, ...)."),
        QStringLiteral("NODE")};
    QCommandLineOption noSplash{QStringLiteral("no-splash"), QStringLiteral("Start without the splash window.")};

    explicit EditorOptions(QCommandLineParser& parser)
        : help(parser.addHelpOption()), version(parser.addVersionOption())
    {
        parser.setApplicationDescription(QStringLiteral("Channel database editor for digital satellite receivers."));
        parser.addOption(screenshot);
        parser.addOption(select);
        parser.addOption(noSplash);
        parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("Channel database (*.si) to open."),
                                     QStringLiteral("[file]"));
    }
};

// --help and --version answer from a terminal or a packaging script, where there may be no
// display: they are handled before the GUI application exists.
void answerWithoutDisplay(int argc, char** argv)
{
    QCoreApplication core(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("satorix"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(satorix::version::NUMBER));
    QCommandLineParser parser;
    const EditorOptions options(parser);
    // Errors are left to the real pass, which also knows Qt's own options (-platform, ...).
    parser.parse(QCoreApplication::arguments());
    if (parser.isSet(options.help)) parser.showHelp(0);
    if (parser.isSet(options.version)) parser.showVersion();
}

} // namespace

int main(int argc, char** argv)
{
    answerWithoutDisplay(argc, argv);
    satorix::ignoreFileSizeSignal();
    QApplication qapp(argc, argv);
    QApplication::setOrganizationName(QString::fromUtf8(satorix::COrbitApp::ORGANISATION));
    QApplication::setApplicationName(QString::fromUtf8(satorix::COrbitApp::APPLICATION));
    QApplication::setApplicationVersion(QString::fromLatin1(satorix::version::NUMBER));
    QApplication::setDesktopFileName(QStringLiteral("satorix"));

    QCommandLineParser parser;
    const EditorOptions editorOptions(parser);
    const QCommandLineOption& screenshot = editorOptions.screenshot;
    const QCommandLineOption& select = editorOptions.select;
    const QCommandLineOption& noSplash = editorOptions.noSplash;
    parser.process(qapp);

    satorix::AppOptions options;
    // The picture for the README is the same for everybody, whatever their last layout was.
    options.rememberLayout = !parser.isSet(screenshot);
    options.showSplash =
        !parser.isSet(screenshot) && !parser.isSet(noSplash) && qEnvironmentVariableIntValue("SATORIX_NO_SPLASH") == 0;

    satorix::WidgetPrompter prompter;
    satorix::COrbitApp app(prompter, options);
    const QStringList files = parser.positionalArguments();
    if (!app.initInstance(files.isEmpty() ? QString() : files.constFirst())) return 1;
    prompter.setParentWidget(app.frame());
    if (parser.isSet(select)) {
        satorix::CLeftView* tree = app.frame()->leftView();
        if (tree->selectNode(parser.value(select))) tree->expand(tree->currentIndex());
    }

    if (parser.isSet(screenshot)) {
        // Room for the tree's labels and all ten columns in the picture; the window itself starts
        // with the classic 100 pixels for the tree.
        app.frame()->resize(1080, 640);
        if (auto* splitter = app.frame()->findChild<QSplitter*>(QStringLiteral("splitter")))
            splitter->setSizes({180, app.frame()->width() - 180});
        const bool ok = app.saveScreenshot(parser.value(screenshot));
        app.exitInstance();
        return ok ? 0 : 1;
    }
    const int rc = QApplication::exec();
    app.exitInstance();
    return rc;
}

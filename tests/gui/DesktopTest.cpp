// Start-up options, title, keys, panes, remembered layout, file dialog folders, tool-bar pictures.
#include <QFileDialog>
#include <QFileInfo>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QProcess>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>

#include "app/COrbitDoc.h"
#include "app/WidgetPrompter.h"
#include "gui/CommandIds.h"
#include "satorix/Version.h"
#include "tests/gui/GuiTestSupport.h"
#include "views/CLeftView.h"
#include "views/COrbitView.h"

namespace satorix::test {
namespace {

class DesktopTest : public ::testing::Test, public AppFixture {};

TEST_F(DesktopTest, HelpAndVersionNeedNoDisplay)
{
    for (const auto& [option, expected] :
         {std::pair{"--help", QString("--no-splash")},
          {"--version", QString("satorix %1\n").arg(QLatin1String(version::NUMBER))}}) {
        QProcess editor;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.insert("QT_QPA_PLATFORM", "xcb"); // aborts without a display if the option reached it
        editor.setProcessEnvironment(env);
        editor.start(SATORIX_EDITOR, {option});
        ASSERT_TRUE(editor.waitForFinished(20000)) << option;
        EXPECT_EQ(std::tuple(editor.exitStatus(), editor.exitCode(),
                             QString(editor.readAllStandardOutput()).contains(expected)),
                  std::tuple(QProcess::NormalExit, 0, true))
            << option;
    }
}

TEST_F(DesktopTest, TitleMarksChangesStandardKeysWorkAndNoLockPanes)
{
    ASSERT_TRUE(start(sample("Channel.si")));
    doc().setModifiedFlag(true);
    EXPECT_EQ(frame().windowTitle(), "Channel* - Satorix for HD");

    for (int id : {ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL}) EXPECT_EQ(frame().pane(id), nullptr);
    EXPECT_EQ(frame().statusBar()->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly).size(), 2);

    frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    QTest::keyClick(&frame(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier); // Save As, cancelled
    prompter.answers.push_back(PromptAnswer::No);
    QTest::keyClick(&frame(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(std::tuple(prompter.saveRequests.size(), prompter.texts(), frame().isVisible()),
              std::tuple(std::size_t(1), QStringList({"Channel.si not saved!\nSave it now?"}), false));
}

TEST_F(DesktopTest, FirstStartFitsFontAndNamesThenTheLayoutIsRemembered)
{
    ASSERT_TRUE(start(sample("fit.si")));
    QHeaderView* header = frame().orbitView()->horizontalHeader();
    const QFontMetrics metrics(header->font());
    for (int c = 0; c < header->count(); ++c) {
        const QString text = header->model()->headerData(c, Qt::Horizontal).toString();
        EXPECT_GE(header->sectionSize(c), metrics.horizontalAdvance(text) + 8) << text.toStdString();
    }
    CLeftView* tree = frame().leftView();
    QStandardItem* satellites = tree->root("Satellites");
    ASSERT_NE(satellites, nullptr);
    int widest = 0;
    for (int r = 0; r < satellites->rowCount(); ++r)
        widest = std::max(widest, tree->fontMetrics().horizontalAdvance(satellites->child(r)->text()));
    auto* splitter = frame().findChild<QSplitter*>("splitter");
    EXPECT_GE(splitter->sizes().value(0), widest + 2 * tree->indentation());
    EXPECT_LE(splitter->sizes().value(0), frame().width() / 3);

    frame().resize(900, 520);
    splitter->setSizes({260, 640});
    header->resizeSection(1, 222);
    stop();
    ASSERT_TRUE(start());
    frame().show();
    EXPECT_EQ(std::tuple(frame().size(), frame().findChild<QSplitter*>("splitter")->sizes().value(0),
                         frame().orbitView()->horizontalHeader()->sectionSize(1)),
              std::tuple(QSize(900, 520), 260, 222));
}

TEST_F(DesktopTest, FileDialogsOpenBesideTheDatabaseElseInTheLastFolder)
{
    std::filesystem::create_directories(file("dbs"));
    ASSERT_TRUE(start(sample("dbs/here.si")));
    ASSERT_TRUE(trigger(ID_FILE_OPEN));
    ASSERT_EQ(prompter.openRequests.size(), 1u);
    EXPECT_EQ(prompter.openRequests[0].folder, qfile("dbs"));

    // The real dialog: the asked folder, else the last one accepted, never the current directory.
    std::filesystem::create_directories(file("last"));
    QSettings().setValue(WidgetPrompter::LAST_FOLDER_KEY, qfile("last"));
    WidgetPrompter widgets;
    for (const auto& [asked, opens] : {std::pair{qfile("dbs"), qfile("dbs")},
                                       {qfile("gone"), qfile("last")},
                                       {QString(), qfile("last")},
                                       {QString(), QDir::homePath()}}) {
        if (opens == QDir::homePath()) QSettings().remove(WidgetPrompter::LAST_FOLDER_KEY); // nothing accepted yet
        QString shown;
        onModal([&shown](QDialog* dialog) {
            auto* files = qobject_cast<QFileDialog*>(dialog);
            ASSERT_NE(files, nullptr);
            shown = files->directory().absolutePath();
            files->reject();
        });
        FileDialogRequest request;
        request.folder = asked;
        EXPECT_TRUE(widgets.openFileName(request).isEmpty());
        EXPECT_EQ(shown, opens) << asked.toStdString();
    }
}

// Per picture: the share of its outline with a 3:1 contrast within two logical pixels, and the mean
// grey level lost by halving and doubling it (much for one drawn for the ratio, little if blown up).
std::pair<double, double> measure(const QImage& shot, const QRect& button, qreal ratio)
{
    const QRect r(button.topLeft() * ratio, button.size() * ratio);
    QHash<QRgb, int> counts; // the button's own colour is the one most of its pixels have
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) ++counts[shot.pixel(x, y)];
    const QRgb bg = std::max_element(counts.cbegin(), counts.cend()).key();
    const auto lum = [](QRgb c) {
        double l = 0.05;
        for (auto [v, w] : {std::pair{qRed(c), 0.2126}, {qGreen(c), 0.7152}, {qBlue(c), 0.0722}})
            l += w * (v <= 10 ? v / 255.0 / 12.92 : std::pow((v / 255.0 + 0.055) / 1.055, 2.4));
        return l;
    };
    const auto in = [&](int x, int y) {
        const QRgb c = shot.pixel(x, y);
        return std::abs(qRed(c) - qRed(bg)) + std::abs(qGreen(c) - qGreen(bg)) + std::abs(qBlue(c) - qBlue(bg)) > 30;
    };
    const int reach = qRound(2 * ratio);
    int outline = 0, readable = 0;
    for (int y = r.top() + reach; y < r.bottom() - reach; ++y)
        for (int x = r.left() + reach; x < r.right() - reach; ++x) {
            if (in(x, y) || !(in(x + 1, y) || in(x - 1, y) || in(x, y + 1) || in(x, y - 1))) continue;
            ++outline;
            bool ok = false;
            for (int dy = -reach; dy <= reach; ++dy)
                for (int dx = -reach; dx <= reach; ++dx) {
                    const double a = lum(shot.pixel(x + dx, y + dy)), b = lum(bg);
                    ok |= std::max(a, b) / std::min(a, b) >= 3.0;
                }
            readable += ok;
        }
    const QImage crop = shot.copy(r);
    const QImage round = crop.scaled(crop.size() / ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                             .scaled(crop.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    double lost = 0;
    int picture = 0;
    for (int y = 0; y < crop.height(); ++y)
        for (int x = 0; x < crop.width(); ++x)
            if (in(r.left() + x, r.top() + y)) {
                ++picture;
                lost += std::abs(qGray(crop.pixel(x, y)) - qGray(round.pixel(x, y)));
            }
    return {outline ? double(readable) / outline : 0, picture ? lost / picture : 0};
}

// The editor's own --screenshot at pixel ratio 2 (fixed for a running program), and this
// process's under a light and a dark palette.
TEST_F(DesktopTest, ToolBarPicturesSharpAtDoubleRatioAndReadableOnDarkPalette)
{
    const QString db = sample("bar.si"), png = qfile("ratio2.png");
    QProcess editor;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const auto& [k, v] : {std::pair{"QT_QPA_PLATFORM", QString("offscreen")},
                               {"QT_SCALE_FACTOR", QString("2")},
                               {"XDG_CONFIG_HOME", qfile("config")},
                               {"XDG_DATA_HOME", qfile("data")}})
        env.insert(k, v);
    editor.setProcessEnvironment(env);
    editor.setWorkingDirectory(qfile("."));
    editor.start(SATORIX_EDITOR, {"--screenshot", png, db});
    ASSERT_TRUE(editor.waitForFinished(30000));
    ASSERT_EQ(editor.exitCode(), 0) << editor.readAllStandardError().toStdString();
    // The program's own files went to the user's folders, none to the current directory.
    EXPECT_EQ(std::tuple(QFileInfo(QString::fromStdString(configFile())).size(),
                         QFileInfo::exists(QString::fromStdString(listingFile())),
                         QFileInfo::exists(qfile("tavolink.cfg")) || QFileInfo::exists(qfile("programs.nfo"))),
              std::tuple(264, true, false));

    const QPalette light = QApplication::palette();
    QPalette dark;
    for (auto [role, grey] : {std::pair{QPalette::Window, 45},
                              {QPalette::Button, 50},
                              {QPalette::Base, 30},
                              {QPalette::AlternateBase, 40},
                              {QPalette::WindowText, 225},
                              {QPalette::ButtonText, 225},
                              {QPalette::Text, 225}})
        dark.setColor(role, QColor(grey, grey, grey));
    for (const auto& [name, palette, ratio] :
         {std::tuple{"ratio 2", light, 2.0}, {"light", light, 1.0}, {"dark", dark, 1.0}}) {
        SCOPED_TRACE(name);
        QApplication::setPalette(palette);
        ASSERT_TRUE(start(db));
        frame().resize(1080, 640); // as the editor's --screenshot does
        frame().show();
        frame().updateCommandUi();
        const QImage shot = ratio > 1 ? QImage(png) : frame().grab().toImage();
        EXPECT_EQ(shot.size(), frame().size() * ratio);
        QToolBar* bar = frame().toolBar();
        double detail = 0;
        int buttons = 0;
        for (QAction* a : bar->actions()) {
            if (a->isSeparator() || !a->isEnabled()) continue;
            QWidget* b = bar->widgetForAction(a);
            const auto [outline, lost] = measure(shot, QRect(b->mapTo(&frame(), QPoint()), b->size()), ratio);
            EXPECT_GE(outline, 0.6) << a->objectName().toStdString();
            detail += lost;
            ++buttons;
        }
        // Drawn for ratio 2 the pictures lose 10 to 34 grey levels, blown up from 30 pixels 5 to 9.
        if (ratio > 1) {
            EXPECT_GT(detail / buttons, 12.0);
        }
        stop();
    }
    QApplication::setPalette(light);
}

} // namespace
} // namespace satorix::test

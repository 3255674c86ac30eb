// The editor as a Linux desktop program: start-up options without a display, title, keys, status
// panes, the remembered layout, file dialog folders and the tool bar's pictures.
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
    struct Case {
        const char* option;
        QString expected;
    };
    const Case cases[] = {{"--help", QStringLiteral("--no-splash")},
                          {"--version", QStringLiteral("satorix %1\n").arg(QLatin1String(version::NUMBER))}};
    for (const Case& c : cases) {
        QProcess editor;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        // The desktop platform, which aborts without a display if the option reached it.
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        editor.setProcessEnvironment(env);
        editor.start(QStringLiteral(SATORIX_EDITOR), {QString::fromLatin1(c.option)});
        ASSERT_TRUE(editor.waitForFinished(20000)) << c.option;
        EXPECT_EQ(editor.exitStatus(), QProcess::NormalExit) << c.option;
        EXPECT_EQ(editor.exitCode(), 0) << c.option;
        EXPECT_TRUE(QString::fromUtf8(editor.readAllStandardOutput()).contains(c.expected)) << c.option;
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
    QTest::keyClick(&frame(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(prompter.saveRequests.size(), 1u); // Save As, cancelled
    prompter.answers.push_back(PromptAnswer::No);
    QTest::keyClick(&frame(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(prompter.texts(), QStringList({"Channel.si not saved!\nSave it now?"}));
    EXPECT_FALSE(frame().isVisible());
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
    const int treeWidth = splitter->sizes().value(0);
    EXPECT_GE(treeWidth, widest + 2 * tree->indentation());
    EXPECT_LE(treeWidth, frame().width() / 3);

    frame().resize(900, 520);
    splitter->setSizes({260, 640});
    header->resizeSection(1, 222);
    stop();
    ASSERT_TRUE(start());
    frame().show();
    EXPECT_EQ(frame().size(), QSize(900, 520));
    EXPECT_EQ(frame().findChild<QSplitter*>("splitter")->sizes().value(0), 260);
    EXPECT_EQ(frame().orbitView()->horizontalHeader()->sectionSize(1), 222);
}

TEST_F(DesktopTest, FileDialogsOpenBesideTheDatabaseElseInTheLastFolder)
{
    std::filesystem::create_directories(file("dbs"));
    const QString db = sample("dbs/here.si");
    ASSERT_TRUE(start(db));
    ASSERT_TRUE(trigger(ID_FILE_OPEN));
    ASSERT_EQ(prompter.openRequests.size(), 1u);
    EXPECT_EQ(prompter.openRequests[0].folder, qfile("dbs"));

    // The real dialog: the asked folder, else the last one accepted, never the current directory.
    std::filesystem::create_directories(file("last"));
    QSettings().setValue(WidgetPrompter::LAST_FOLDER_KEY, qfile("last"));
    struct Case {
        QString asked;
        QString opens;
    };
    const Case cases[] = {{qfile("dbs"), qfile("dbs")}, {qfile("gone"), qfile("last")}, {QString(), qfile("last")}};
    WidgetPrompter widgets;
    for (const Case& c : cases) {
        QString shown;
        onModal([&shown](QDialog* dialog) {
            auto* files = qobject_cast<QFileDialog*>(dialog);
            ASSERT_NE(files, nullptr);
            shown = files->directory().absolutePath();
            files->reject();
        });
        FileDialogRequest request;
        request.folder = c.asked;
        EXPECT_TRUE(widgets.openFileName(request).isEmpty());
        EXPECT_EQ(shown, c.opens) << c.asked.toStdString();
    }
    QSettings().remove(WidgetPrompter::LAST_FOLDER_KEY);
    onModal([](QDialog* dialog) {
        EXPECT_EQ(qobject_cast<QFileDialog*>(dialog)->directory().absolutePath(), QDir::homePath());
        qobject_cast<QFileDialog*>(dialog)->reject();
    });
    widgets.openFileName({});
}

// WCAG contrast ratio of two colours.
double contrast(QRgb a, QRgb b)
{
    const auto luminance = [](QRgb c) {
        const auto channel = [](int v) {
            const double s = v / 255.0;
            return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c)) + 0.05;
    };
    return std::max(luminance(a), luminance(b)) / std::min(luminance(a), luminance(b));
}

struct PictureMeasure {
    double outline = 0; // share of the picture's outline with a 3:1 contrast next to it
    double detail = 0;  // mean grey level lost by halving and doubling the picture
};

// Measures one button's picture in a tool bar screenshot taken at the given pixel ratio. The
// outline is the background pixels touching the picture; a shape is readable where its outline
// has a 3:1 contrast within two (logical) pixels.
PictureMeasure measure(const QImage& shot, const QRect& button, qreal ratio)
{
    const QRect r(button.topLeft() * ratio, button.size() * ratio);
    // The button's own colour (checked ones are sunk) is the one most of its pixels have.
    QHash<QRgb, int> counts;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) ++counts[shot.pixel(x, y)];
    const QRgb bg = std::max_element(counts.cbegin(), counts.cend()).key();
    const int reach = qRound(2 * ratio);
    auto inPicture = [&](int x, int y) {
        const QRgb c = shot.pixel(x, y);
        return std::abs(qRed(c) - qRed(bg)) + std::abs(qGreen(c) - qGreen(bg)) + std::abs(qBlue(c) - qBlue(bg)) > 30;
    };
    int outline = 0, readable = 0;
    for (int y = r.top() + reach; y < r.bottom() - reach; ++y)
        for (int x = r.left() + reach; x < r.right() - reach; ++x) {
            if (inPicture(x, y) || !(inPicture(x + 1, y) || inPicture(x - 1, y) || inPicture(x, y + 1) || inPicture(x, y - 1)))
                continue;
            ++outline;
            double best = 0;
            for (int dy = -reach; dy <= reach; ++dy)
                for (int dx = -reach; dx <= reach; ++dx) best = std::max(best, contrast(shot.pixel(x + dx, y + dy), bg));
            readable += best >= 3.0;
        }
    // Detail finer than a logical pixel: what a trip down to ratio 1 and back up loses. A picture
    // drawn for the screen's ratio loses much, one blown up from a smaller bitmap next to nothing.
    const QImage crop = shot.copy(r);
    const QImage round = crop.scaled(crop.size() / ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                             .scaled(crop.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    double lost = 0;
    int picture = 0;
    for (int y = 0; y < crop.height(); ++y)
        for (int x = 0; x < crop.width(); ++x)
            if (inPicture(r.left() + x, r.top() + y)) {
                ++picture;
                lost += std::abs(qGray(crop.pixel(x, y)) - qGray(round.pixel(x, y)));
            }
    return {outline ? double(readable) / outline : 0, picture ? lost / picture : 0};
}

QPalette darkPalette()
{
    QPalette p;
    p.setColor(QPalette::Window, QColor(45, 45, 48));
    p.setColor(QPalette::Button, QColor(50, 50, 54));
    p.setColor(QPalette::Base, QColor(30, 30, 32));
    p.setColor(QPalette::AlternateBase, QColor(40, 40, 44));
    for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) p.setColor(role, QColor(225, 225, 225));
    return p;
}

// Screenshots of the whole window: the editor's own (--screenshot) at a device pixel ratio of 2 (it cannot be
// changed inside a running program), and this process's under a light and a dark palette.
TEST_F(DesktopTest, ToolBarPicturesSharpAtDoubleRatioAndReadableOnDarkPalette)
{
    const QString db = sample("bar.si");
    const QString png = qfile("ratio2.png");
    QProcess editor;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("QT_SCALE_FACTOR", "2");
    env.insert("XDG_CONFIG_HOME", qfile("config"));
    env.insert("XDG_DATA_HOME", qfile("data"));
    editor.setProcessEnvironment(env);
    editor.setWorkingDirectory(qfile("."));
    editor.start(SATORIX_EDITOR, {"--screenshot", png, db});
    ASSERT_TRUE(editor.waitForFinished(30000));
    ASSERT_EQ(editor.exitCode(), 0) << editor.readAllStandardError().toStdString();
    // The program's own files went to the user's folders, none to the current directory.
    EXPECT_EQ(QFileInfo(QString::fromStdString(configFile())).size(), 264);
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(listingFile())));
    EXPECT_FALSE(QFileInfo::exists(qfile("tavolink.cfg")));
    EXPECT_FALSE(QFileInfo::exists(qfile("programs.nfo")));

    const QPalette original = QApplication::palette();
    struct Case {
        const char* name;
        QPalette palette;
        qreal ratio;
    };
    const Case cases[] = {{"ratio 2", original, 2.0}, {"light", original, 1.0}, {"dark", darkPalette(), 1.0}};
    for (const Case& c : cases) {
        QApplication::setPalette(c.palette);
        ASSERT_TRUE(start(db));
        frame().resize(1080, 640); // as the editor's --screenshot does
        frame().show();
        frame().updateCommandUi();
        const QImage shot = c.ratio > 1 ? QImage(png) : frame().grab().toImage();
        EXPECT_EQ(shot.size(), frame().size() * c.ratio) << c.name;
        QToolBar* bar = frame().toolBar();
        double detail = 0;
        int buttons = 0;
        for (QAction* a : bar->actions()) {
            if (a->isSeparator() || !a->isEnabled()) continue;
            QWidget* button = bar->widgetForAction(a);
            const PictureMeasure m = measure(shot, QRect(button->mapTo(&frame(), QPoint()), button->size()), c.ratio);
            const std::string what = std::string(c.name) + " " + a->objectName().toStdString();
            EXPECT_GE(m.outline, 0.6) << what;
            detail += m.detail;
            ++buttons;
        }
        // Drawn for ratio 2 the pictures lose 10 to 34 grey levels, blown up from 30 pixels 5 to 9.
        if (c.ratio > 1) {
            EXPECT_GT(detail / buttons, 12.0);
        }
        stop();
    }
    QApplication::setPalette(original);
}

} // namespace
} // namespace satorix::test

// Start-up, keys, panes, remembered layout, file dialog folders, tool-bar pictures, About box, splash.
#include <algorithm>
#include <cmath>

#include "app/WidgetPrompter.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/HyperlinkStatic.h"
#include "dialogs/SplashDialog.h"
#include "satorix/Version.h"
#include "tests/gui/GuiTestSupport.h"
#include "views/CLeftView.h"
#include "views/COrbitView.h"

namespace satorix::test {
namespace {

class DesktopTest : public ::testing::Test, public AppFixture {};

// Runs the editor to its end with these variables changed (an empty value removes one).
void run(QProcess& editor, const QStringList& args, std::initializer_list<std::pair<const char*, QString>> vars)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const auto& [k, v] : vars) v.isEmpty() ? env.remove(k) : env.insert(k, v);
    editor.setProcessEnvironment(env);
    editor.start(SATORIX_EDITOR, args);
    ASSERT_TRUE(editor.waitForFinished(30000)) << args.join(' ').toStdString();
}

TEST_F(DesktopTest, FirstStartFitsNoLockPanesKeysFileDialogFoldersAndTheLayoutIsRemembered)
{
    std::filesystem::create_directories(file("dbs"));
    ASSERT_TRUE(start(sample("dbs/Channel.si")));
    QHeaderView* header = frame().orbitView()->horizontalHeader();
    for (int c = 0; c < header->count(); ++c) {
        const QString text = header->model()->headerData(c, Qt::Horizontal).toString();
        EXPECT_GE(header->sectionSize(c), QFontMetrics(header->font()).horizontalAdvance(text) + 8) << c;
    }
    CLeftView* tree = frame().leftView();
    QStandardItem* satellites = tree->root("Satellites");
    ASSERT_NE(satellites, nullptr);
    int widest = 0;
    for (int r = 0; r < satellites->rowCount(); ++r)
        widest = std::max(widest, tree->fontMetrics().horizontalAdvance(satellites->child(r)->text()));
    auto* splitter = frame().findChild<QSplitter*>("splitter");
    const int left = splitter->sizes().value(0);
    EXPECT_TRUE(left >= widest + 2 * tree->indentation() && left <= frame().width() / 3) << left;

    EXPECT_EQ(frame().statusBar()->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly).size(), 2);
    ASSERT_TRUE(trigger(ID_FILE_OPEN));
    ASSERT_EQ(prompter.openRequests.size(), 1u);
    EXPECT_EQ(prompter.openRequests[0].folder, qfile("dbs"));

    frame().resize(900, 520);
    splitter->setSizes({260, 640});
    header->resizeSection(1, 222);
    doc().setModifiedFlag(true);
    frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    QTest::keyClick(&frame(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier); // Save As, cancelled
    prompter.answers.push_back(PromptAnswer::No);
    QTest::keyClick(&frame(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(std::tuple(prompter.saveRequests.size(), prompter.texts(), frame().isVisible()),
              std::tuple(std::size_t(1), QStringList({"Channel.si not saved!\nSave it now?"}), false));
    stop();
    ASSERT_TRUE(start());
    frame().show();
    EXPECT_EQ(std::tuple(frame().size(), frame().findChild<QSplitter*>("splitter")->sizes().value(0),
                         frame().orbitView()->horizontalHeader()->sectionSize(1)),
              std::tuple(QSize(900, 520), 260, 222));

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
            shown = files ? files->directory().absolutePath() : QString();
            dialog->reject();
        });
        EXPECT_TRUE(widgets.openFileName({{}, {}, asked, {}, false}).isEmpty()); // only the folder
        EXPECT_EQ(shown, opens) << asked.toStdString();
    }
}

// Per picture: the share of its outline with a 3:1 contrast within two logical pixels, and the mean
// grey level lost by halving and doubling it (much for one drawn for the ratio, little if blown up).
std::pair<double, double> measure(const QImage& shot, const QRect& button, qreal ratio)
{
    const QImage crop = shot.copy(QRect(button.topLeft() * ratio, button.size() * ratio));
    const QImage round = crop.scaled(crop.size() / ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                             .scaled(crop.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const int w = crop.width(), h = crop.height(), reach = qRound(2 * ratio);
    QHash<QRgb, int> counts; // the button's own colour is the one most of its pixels have
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) ++counts[crop.pixel(x, y)];
    const QRgb bg = std::max_element(counts.cbegin(), counts.cend()).key();
    const auto lum = [](QRgb c) { return 0.05 + std::pow(qGray(c) / 255.0, 2.2); };
    const auto contrast = [&](QRgb c) { return std::max(lum(c), lum(bg)) / std::min(lum(c), lum(bg)); };
    const auto in = [&](int x, int y) {
        const QRgb c = crop.pixel(x, y);
        return std::abs(qRed(c) - qRed(bg)) + std::abs(qGreen(c) - qGreen(bg)) + std::abs(qBlue(c) - qBlue(bg)) > 30;
    };
    double outline = 0, readable = 0, picture = 0, lost = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (in(x, y)) {
                ++picture;
                lost += std::abs(qGray(crop.pixel(x, y)) - qGray(round.pixel(x, y)));
            } else if (x >= reach && y >= reach && x < w - 1 - reach && y < h - 1 - reach &&
                       (in(x + 1, y) || in(x - 1, y) || in(x, y + 1) || in(x, y - 1))) {
                bool ok = false;
                for (int dy = -reach; dy <= reach; ++dy)
                    for (int dx = -reach; dx <= reach; ++dx) ok |= contrast(crop.pixel(x + dx, y + dy)) >= 3.0;
                ++outline;
                readable += ok;
            }
        }
    return {outline ? readable / outline : 0, picture ? lost / picture : 0};
}

// The editor as a process: pixel ratio 2 is fixed for a running program, so --screenshot draws at it.
TEST_F(DesktopTest, HelpAndVersionNeedNoDisplayAndToolBarPicturesAreSharpAtDoubleRatioAndReadableWhenDark)
{
    for (const auto& [option, expected] :
         {std::pair{"--help", QString("--no-splash")},
          {"--version", QString("satorix %1\n").arg(QLatin1String(version::NUMBER))}}) {
        QProcess editor;
        // The platform aborts without a display if the option reached it.
        run(editor, {option}, {{"DISPLAY", {}}, {"WAYLAND_DISPLAY", {}}, {"QT_QPA_PLATFORM", "xcb"}});
        EXPECT_EQ(std::tuple(editor.exitStatus(), editor.exitCode(),
                             QString(editor.readAllStandardOutput()).contains(expected)),
                  std::tuple(QProcess::NormalExit, 0, true))
            << option;
    }
    const QString db = sample("bar.si"), png = qfile("ratio2.png");
    QProcess editor; // its folders are this test's, from the environment
    run(editor, {"--screenshot", png, db}, {{"QT_QPA_PLATFORM", "offscreen"}, {"QT_SCALE_FACTOR", "2"}});
    ASSERT_EQ(editor.exitCode(), 0) << editor.readAllStandardError().toStdString();
    // The program's own files went to the user's folders, none to the current directory.
    EXPECT_EQ(std::tuple(std::filesystem::file_size(configFile()), std::filesystem::exists(listingFile()),
                         QFileInfo::exists(qfile("tavolink.cfg")) || QFileInfo::exists(qfile("programs.nfo"))),
              std::tuple(std::uintmax_t(264), true, false));

    const QPalette light = QApplication::palette();
    const QPalette dark(QColor(50, 50, 50), QColor(45, 45, 45)); // light texts on dark grey
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
        double detail = 0, buttons = 0;
        for (QAction* a : bar->actions()) {
            if (a->isSeparator() || !a->isEnabled()) continue;
            QWidget* b = bar->widgetForAction(a);
            const auto [outline, lost] = measure(shot, QRect(b->mapTo(&frame(), QPoint()), b->size()), ratio);
            EXPECT_GE(outline, 0.6) << a->objectName().toStdString();
            detail += lost;
            ++buttons;
        }
        // Drawn for ratio 2 the pictures lose 10 to 34 grey levels, blown up from 30 pixels 5 to 9.
        EXPECT_TRUE(ratio == 1 || detail / buttons > 12.0) << detail / buttons;
        stop();
    }
    QApplication::setPalette(light);
}

const QColor UNVISITED(0, 0, 238), VISITED(85, 26, 139), HOVER(255, 0, 0);

TEST(HyperlinkTest, AboutBoxLinkHoversLeavesFailsAndIsVisitedLinksFillInTextOrUrlAndTheSplashCloses)
{
    ScriptedPrompter prompter;
    AboutDialog about(&prompter);
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    HyperlinkStatic* link = about.webLink();
    // Colour and underline as shown.
    const auto shown = [=] { return std::pair(link->palette().color(QPalette::WindowText), link->font().underline()); };
    EXPECT_EQ(std::tuple(about.windowTitle(), about.findChild<QLabel*>("aboutVersion")->text(), link->objectName(),
                         link->toolTip(), link->cursor().shape(), shown()),
              std::tuple(QString("Satorix for HD"), QString("Satorix Version 03.01"), QString("link1047"), link->url(),
                         Qt::PointingHandCursor, std::pair(UNVISITED, false)));
    // A picture, and the link fitted to its text, so that the pointer counts as over the link only on the text.
    EXPECT_FALSE(about.findChild<QLabel*>("aboutPicture")->pixmap().isNull() ||
                 link->width() > QFontMetrics(link->font()).horizontalAdvance(link->text()) + 8);

    // Underlined on hover (the default), always, never; only the 100 ms timer notices a leave.
    QElapsedTimer t;
    for (const auto& [mode, over, left] : {std::tuple{HyperlinkStatic::UNDERLINE_HOVER, true, false},
                                           {HyperlinkStatic::UNDERLINE_ALWAYS, true, true},
                                           {HyperlinkStatic::UNDERLINE_NEVER, false, false}}) {
        if (mode != HyperlinkStatic::UNDERLINE_HOVER) link->setUnderline(mode);
        QTest::mouseMove(link, link->rect().center());
        EXPECT_EQ(std::pair(link->isOver(), shown()), std::pair(true, std::pair(HOVER, over))) << mode;
        QTest::mouseMove(&about, QPoint(2, 2));
        t.start();
        ASSERT_TRUE(waitFor([link] { return !link->isOver(); }, 2000));
        EXPECT_EQ(std::pair(t.elapsed() >= 50, shown()), std::pair(true, std::pair(UNVISITED, left))) << mode;
    }

    int result = 0;
    QStringList opened;
    link->setOpener([&](const QString& url) {
        opened << url;
        return result;
    });
    // The last text is the system's own for code 32; a distinctive part of it is enough.
    const std::pair<int, const char*> failures[] = {{26, "A sharing violation occurred. "},
                                                    {4, "Unknown Error (4) occurred."},
                                                    {32, "dynamic-link library was not found."}};
    for (const auto& [code, text] : failures) {
        prompter.clear();
        result = code;
        QTest::mouseClick(link, Qt::LeftButton);
        ASSERT_EQ(prompter.messages.size(), 1u);
        const QString& box = prompter.messages[0].text;
        EXPECT_EQ(std::tuple(box.startsWith("Unable to open hyperlink:\n\n") && box.endsWith(text),
                             prompter.messages[0].icon, link->visited(), shown().first),
                  std::tuple(true, PromptIcon::Exclamation, false, UNVISITED))
            << box.toStdString();
    }
    result = 42;
    prompter.clear();
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(std::tuple(opened, link->visited(), shown().first, prompter.messages.size()),
              std::tuple(QStringList(4, AboutDialog::WEB_ADDRESS), true, VISITED, 0u));

    // Without a text a link shows its address; without an address it takes its text.
    HyperlinkStatic a, b;
    a.setURL("http://a.example/");
    b.setText("http://b.example/");
    a.attach();
    b.attach();
    EXPECT_EQ(QStringList({a.text(), b.url(), b.toolTip()}),
              QStringList({"http://a.example/", "http://b.example/", "http://b.example/"}));

    // The splash window closes itself after its time.
    SplashDialog splash;
    t.start();
    EXPECT_EQ(splash.exec(), QDialog::Rejected);
    EXPECT_TRUE(t.elapsed() >= SplashDialog::SHOW_MS - 50 && t.elapsed() < 5000) << t.elapsed();
}

} // namespace
} // namespace satorix::test

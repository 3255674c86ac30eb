// The link label, the About box and the splash window.
#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>

#include "dialogs/AboutDialog.h"
#include "dialogs/HyperlinkStatic.h"
#include "dialogs/SplashDialog.h"
#include "tests/gui/GuiTestSupport.h"

namespace satorix::test {
namespace {

const QColor UNVISITED(0, 0, 238), VISITED(85, 26, 139), HOVER(255, 0, 0);

TEST(HyperlinkTest, AboutBoxLinkHoversLeavesFailsAndIsVisited)
{
    ScriptedPrompter prompter;
    AboutDialog about(&prompter);
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    HyperlinkStatic* link = about.webLink();
    // Colour and underline as shown.
    const auto shown = [link] {
        return std::pair(link->palette().color(QPalette::WindowText), link->font().underline());
    };
    const auto leave = [&] {
        QTest::mouseMove(&about, QPoint(2, 2));
        EXPECT_TRUE(link->isOver()); // only the 100 ms timer notices
        QElapsedTimer t;
        t.start();
        ASSERT_TRUE(waitFor([link] { return !link->isOver(); }, 2000));
        EXPECT_GE(t.elapsed(), 50);
    };
    EXPECT_EQ(std::tuple(about.windowTitle(), about.findChild<QLabel*>("aboutVersion")->text(), link->objectName(),
                         link->toolTip(), link->cursor().shape()),
              std::tuple(QString("Satorix for HD"), QString("Satorix Version 03.01"), QString("link1047"), link->url(),
                         Qt::PointingHandCursor));
    EXPECT_FALSE(about.findChild<QLabel*>("aboutPicture")->pixmap().isNull());
    EXPECT_EQ(shown(), std::pair(UNVISITED, false));
    // Fitted to its text, so that the pointer counts as over the link only on the text.
    EXPECT_LE(link->width(), QFontMetrics(link->font()).horizontalAdvance(link->text()) + 8);

    QTest::mouseMove(link, link->rect().center());
    EXPECT_TRUE(link->isOver());
    EXPECT_EQ(shown(), std::pair(HOVER, true));
    leave();
    EXPECT_EQ(shown(), std::pair(UNVISITED, false));
    // Always underlined stays so after leaving; never underlined never shows it.
    link->setUnderline(HyperlinkStatic::UNDERLINE_ALWAYS);
    QTest::mouseMove(link, link->rect().center());
    leave();
    EXPECT_TRUE(link->font().underline());
    link->setUnderline(HyperlinkStatic::UNDERLINE_NEVER);
    QTest::mouseMove(link, link->rect().center());
    EXPECT_EQ(shown(), std::pair(HOVER, false));
    leave();

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
        EXPECT_TRUE(prompter.texts()[0].startsWith("Unable to open hyperlink:\n\n"))
            << prompter.texts()[0].toStdString();
        EXPECT_TRUE(prompter.texts()[0].endsWith(text)) << text;
        EXPECT_EQ(prompter.messages.back().icon, PromptIcon::Exclamation);
        EXPECT_FALSE(link->visited());
    }
    EXPECT_EQ(shown().first, UNVISITED);
    result = 42;
    prompter.clear();
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(opened, QStringList(4, AboutDialog::WEB_ADDRESS));
    EXPECT_EQ(std::pair(link->visited(), shown().first), std::pair(true, VISITED));
    EXPECT_TRUE(prompter.messages.empty());
}

TEST(HyperlinkTest, EmptyTextShowsTheUrlAndEmptyUrlTakesTheText)
{
    HyperlinkStatic a, b;
    a.setURL("http://a.example/");
    b.setText("http://b.example/");
    a.attach();
    b.attach();
    EXPECT_EQ(QStringList({a.text(), b.url(), b.toolTip()}),
              QStringList({"http://a.example/", "http://b.example/", "http://b.example/"}));
}

TEST(SplashTest, ClosesItselfAfterItsTime)
{
    SplashDialog splash;
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(splash.exec(), QDialog::Rejected);
    EXPECT_GE(t.elapsed(), SplashDialog::SHOW_MS - 50);
    EXPECT_LT(t.elapsed(), 5000);
}

} // namespace
} // namespace satorix::test

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

const QColor UNVISITED(0, 0, 238);
const QColor VISITED(85, 26, 139);
const QColor HOVER(255, 0, 0);

class HyperlinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        about = std::make_unique<AboutDialog>(&prompter);
        about->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(about.get()));
        link = about->webLink();
    }
    QColor shown() const { return link->palette().color(QPalette::WindowText); }
    void hover() { QTest::mouseMove(link, link->rect().center()); }
    void leave() { QTest::mouseMove(about.get(), QPoint(2, 2)); }

    ScriptedPrompter prompter;
    std::unique_ptr<AboutDialog> about;
    HyperlinkStatic* link = nullptr;
};

TEST_F(HyperlinkTest, AboutBoxTextsAndLink)
{
    EXPECT_EQ(about->windowTitle(), "Satorix for HD");
    ASSERT_NE(about->findChild<QLabel*>("aboutVersion"), nullptr);
    EXPECT_EQ(about->findChild<QLabel*>("aboutVersion")->text(), "Satorix Version 03.01");
    EXPECT_FALSE(about->findChild<QLabel*>("aboutPicture")->pixmap().isNull());
    EXPECT_EQ(link->objectName(), "link1047");
    EXPECT_EQ(link->toolTip(), link->url());
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(shown(), UNVISITED);
    EXPECT_FALSE(link->font().underline());
    // Fitted to its text, so that the pointer counts as over the link only on the text.
    EXPECT_LE(link->width(), QFontMetrics(link->font()).horizontalAdvance(link->text()) + 8);
}

TEST_F(HyperlinkTest, HoverColoursAndUnderlineThenLeaveRestores)
{
    hover();
    EXPECT_TRUE(link->isOver());
    EXPECT_EQ(shown(), HOVER);
    EXPECT_TRUE(link->font().underline());

    leave();
    EXPECT_TRUE(link->isOver()); // only the 100 ms timer notices
    QElapsedTimer t;
    t.start();
    ASSERT_TRUE(waitFor([this] { return !link->isOver(); }, 2000));
    EXPECT_GE(t.elapsed(), 50);
    EXPECT_EQ(shown(), UNVISITED);
    EXPECT_FALSE(link->font().underline());

    // Always underlined stays so after leaving; never underlined never shows it.
    link->setUnderline(HyperlinkStatic::UNDERLINE_ALWAYS);
    EXPECT_TRUE(link->font().underline());
    hover();
    leave();
    ASSERT_TRUE(waitFor([this] { return !link->isOver(); }, 2000));
    EXPECT_TRUE(link->font().underline());
    link->setUnderline(HyperlinkStatic::UNDERLINE_NEVER);
    hover();
    EXPECT_EQ(shown(), HOVER);
    EXPECT_FALSE(link->font().underline());
}

TEST_F(HyperlinkTest, FailedOpensReportTheErrorThenASuccessMarksVisited)
{
    int result = 0;
    QStringList opened;
    link->setOpener([&](const QString& url) {
        opened << url;
        return result;
    });
    const std::pair<int, const char*> failures[] = {{26, "A sharing violation occurred. "},
                                                    {4, "Unknown Error (4) occurred."},
                                                    {32, "The specified dynamic-link library was not found."}};
    for (const auto& [code, text] : failures) {
        prompter.clear();
        result = code;
        QTest::mouseClick(link, Qt::LeftButton);
        EXPECT_EQ(prompter.texts(), QStringList({QString("Unable to open hyperlink:\n\n") + text}));
        EXPECT_EQ(prompter.messages.back().icon, PromptIcon::Exclamation);
        EXPECT_FALSE(link->visited());
    }
    EXPECT_EQ(shown(), UNVISITED);

    result = 42;
    prompter.clear();
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(opened, QStringList(4, AboutDialog::WEB_ADDRESS));
    EXPECT_TRUE(link->visited());
    EXPECT_EQ(shown(), VISITED);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST(HyperlinkAttachTest, EmptyTextShowsTheUrlAndEmptyUrlTakesTheText)
{
    HyperlinkStatic a;
    a.setURL("http://a.example/");
    a.attach();
    EXPECT_EQ(a.text(), "http://a.example/");
    HyperlinkStatic b;
    b.setText("http://b.example/");
    b.attach();
    EXPECT_EQ(b.url(), "http://b.example/");
    EXPECT_EQ(b.toolTip(), "http://b.example/");
}

TEST(SplashTest, ClosesItselfAfterItsTime)
{
    SplashDialog splash;
    QElapsedTimer t;
    t.start();
    const int result = splash.exec();
    const qint64 ms = t.elapsed();
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_GE(ms, SplashDialog::SHOW_MS - 50);
    EXPECT_LT(ms, 5000);
}

} // namespace
} // namespace satorix::test

#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <type_traits>

#include "db/ChannelDatabase.h"
#include "gui/BrowserState.h"
#include "tests/gui/GuiTestSupport.h"

namespace satorix::test {

// A small database for the dialogs, without a listing file:
//   satellites 0 "Astra 1E-2C" (id 1), 1 "Hotbird 2-8" (id 2), 2 "Thor 2,3" (id 3, no transponders)
//   transponders 0: 1/10700 H, 1: 1/11000 V, 2: 1/11000 H, 3: 2/11200 V, 4: 2/12000 V
//   providers 0 "Alpha", 1 "\x05Beta" (character-table marker), 2 "Gamma"; lists 1 "News": 0, 4; 3 "Movies": 1
//   TV 0 "One" (t0), 1 "Two" (t1), 2 "\x05Marked" (t0, SCPC 101/102/103), 3 "Four" (t3); radio 4 "R1" (t0), 5 "R2" (t1)
void buildDialogDatabase(ChannelDatabase& db);

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        buildDialogDatabase(db);
        // The database's own refusals reach the same prompter, as in the editor.
        db.setNotifier([this](const std::string& text, MessageIcon) {
            prompter.message(QString::fromStdString(text), PromptIcon::None, PromptButtons::Ok);
        });
    }
    void TearDown() override
    {
        EXPECT_EQ(prompter.unanswered, 0);
        if (checkSound) expectSound(db);
    }
    QString lastMessage() const { return prompter.texts().value(prompter.texts().size() - 1); }
    // A new dialog of type D in d, loaded with the arguments and opened modelessly for the test to drive.
    template <typename D, typename... Load> D* show(std::unique_ptr<D>& d, Load... load)
    {
        if constexpr (std::is_constructible_v<D, ChannelDatabase&, BrowserState&, Prompter&>)
            d = std::make_unique<D>(db, browser, prompter);
        else
            d = std::make_unique<D>(db, prompter);
        EXPECT_TRUE(d->load(load...));
        d->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(d.get()));
        return d.get();
    }

    ChannelDatabase db;
    BrowserState browser;
    ScriptedPrompter prompter;
    bool checkSound = true; // unless a test broke the database on purpose
};

template <typename T> T* child(QWidget* parent, const char* name)
{
    T* w = parent->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// A line edit's or combo's text; "on" or "off" for a check box or radio button.
void setText(QWidget* dialog, const char* name, const QString& text);
QString textOf(QWidget* dialog, const char* name);
QStringList textsOf(QWidget* dialog, std::initializer_list<const char*> names);
// Picks an item as the user does: the combo changes and says it was activated.
void pickText(QComboBox* combo, const QString& text);
void clickOk(QDialog* dialog);
void click(QWidget* dialog, const char* name);
using Texts = std::initializer_list<std::pair<const char*, const char*>>;
QDialog* okWith(QDialog* dialog, Texts texts); // types the texts, then clicks OK

std::string programName(const ChannelDatabase& db, int index);
RecordView record(const ChannelDatabase& db, int type, int index);

} // namespace satorix::test

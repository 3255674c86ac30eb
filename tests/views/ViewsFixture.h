#pragma once

#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

#include "app/COrbitDoc.h"
#include "db/ChannelDatabase.h"
#include "gui/BrowserState.h"
#include "gui/EditDialogs.h"
#include "tests/gui/GuiTestSupport.h"
#include "views/CLeftView.h"
#include "views/COrbitView.h"

namespace satorix::test {

// Answers the views' dialogs from fields and records every call: "dialog mode key", or
// "satellite name". An accepted dialog changes the database, as the real ones do.
class ScriptedEditDialogs : public EditDialogs {
public:
    ScriptedEditDialogs(BrowserState& browser, ChannelDatabase& db) : browser_(browser), db_(db) {}

    int editTransponder(QWidget*, int mode, int key, int& pol) override
    {
        pol = polarisation;
        return transponderAnswer(QString("transponder %1 %2").arg(mode).arg(key));
    }
    int deleteTransponder(QWidget*, int index) override { return transponderAnswer(QString("delete 2 %1").arg(index)); }
    void editSatellite(QWidget*, const QString& name) override
    {
        calls << "satellite " + name;
        if (!satelliteName.empty()) changeDatabase();
        browser_.lastSatelliteName = satelliteName.empty() ? name.toStdString() : satelliteName;
    }
    bool editProgram(QWidget*, int programIndex, int mode, int& newProgramIndex) override
    {
        calls << QString("program %1 %2").arg(mode).arg(programIndex);
        if (ok) onProgramOk ? onProgramOk() : changeDatabase();
        newProgramIndex = newProgram;
        return ok;
    }
    bool editProgramTransponder(QWidget*, int, int) override { return false; }

    QStringList calls;
    int frequency = -1; // what the transponder dialogs return; negative is Cancel
    int polarisation = 0;
    std::string satelliteName; // left in lastSatelliteName
    bool ok = false;           // the program dialog's answer
    int newProgram = -1;
    std::function<void()> onProgramOk; // changes the database as the dialog would

private:
    // A spare byte past every table: nothing reads it, but the image is not what it was.
    void changeDatabase() { ++db_.image()[ChannelDatabase::imageSize(db_.version()) - 1]; }
    int transponderAnswer(const QString& call)
    {
        calls << call;
        if (frequency >= 0) changeDatabase();
        return browser_.lastTransponderFrequency = frequency;
    }

    BrowserState& browser_;
    ChannelDatabase& db_;
};

// The views on a small database:
//   satellites Astra (id 1: 3600 H, 3700 H, 3700 V, 4100 V), Hotbird (id 2: 11000 H), Lonely (id 3: none);
//   providers Alpha, Beta;
//   TV: 0 "\x05Arte" (3700 H), 1 "BBC One" (3700 V), 2 "CNN" (3600 H), 3 "Deutsche" (11000 H, lists 2 and 9);
//   radio: 4 "Radio One" (3700 H), 5 "Radio Two" (4100 V), 6 "Jazz" (11000 H);
//   list 1 "News": 1, 2, 5 (two TV entries, one radio).
class ViewsTest : public ::testing::Test, public AppFixture {
protected:
    void SetUp() override;
    virtual void build(ChannelDatabase& db);
    void TearDown() override
    {
        if (editDatabase) expectSound(doc().database()); // the edits left a sound database
        stop();
        EXPECT_EQ(prompter.unanswered, 0);
    }

    CLeftView& tree() { return *frame().leftView(); }
    COrbitView& list() { return *frame().orbitView(); }
    BrowserState& browser() { return app().browser(); }

    // The node at a path of texts from a root; clicks on it expand its parents first.
    QModelIndex node(const QStringList& path);
    void clickNode(const QStringList& path, Qt::MouseButton button = Qt::LeftButton, bool twice = false);
    QStringList childTexts(const QStringList& path);

    QPoint rowPoint(int row);
    void clickRow(int row, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers mods = {})
    {
        QTest::mouseClick(list().viewport(), button, mods, rowPoint(row));
    }
    QString cell(int row, int c) { return list().model()->index(row, c).data().toString(); }
    QStringList column(int c);
    QStringList names() { return column(1); }
    QAction* menuEntry(QMenu* menu, int id);
    bool menuEntryEnabled(QMenu* menu, int id) { return menuEntry(menu, id) && menuEntry(menu, id)->isEnabled(); }
    // Waits for the menu a click opened, then picks the command, which must be enabled.
    void choose(QMenu* menu, int id);
    // The node clicked and the idle pass run (a scope change refills once more), as before a user's select.
    void openNode(const QStringList& path);
    // The list focused and made the active view, its commands enabled by the idle pass.
    void focusList();

    std::unique_ptr<ScriptedEditDialogs> dialogs;
    // Instead, eleven programs for moving rows about: TV "Tv 0".."Tv 5" (Tv 0..2 Alpha, Tv 3..5 Beta, on
    // Astra), radio "Radio 0".."Radio 4" (Beta); "News" (list 1) holds Tv 0..5 and Radio 0..3, "Sport"
    // (list 2) Tv 1, Tv 4, Radio 1, "Movies" is empty.
    bool editDatabase = false;
    bool scripted = true; // the dialogs above, or the application's own
};

} // namespace satorix::test

#include "tests/views/ViewsFixture.h"

#include <QAction>
#include <QMenu>
#include <QTest>

#include "app/COrbitDoc.h"
#include "db/ChannelDatabase.h"
#include "db/DatabaseBuilder.h"
#include "gui/BrowserState.h"
#include "views/CLeftView.h"
#include "views/COrbitView.h"

namespace satorix::test {

void ScriptedEditDialogs::changeDatabase()
{
    // A spare byte past every table: nothing reads it, but the image is not what it was.
    ++db_.image()[ChannelDatabase::imageSize(db_.version()) - 1];
}

namespace {

// Writes the database that build fills, with the nine lists named as the views expect.
std::string writeDatabase(const std::string& path, const std::function<void(DatabaseBuilder&)>& build)
{
    ChannelDatabase db;
    db.setListingPath({});
    db.assignImage(nullptr, 0);
    DatabaseBuilder b(db);
    const char* names[] = {"News", "Sport", "Movies", "Kids", "Music", "Docs", "Fav_7", "Fav_8", "Radio"};
    for (int l = 0; l < FAV_LISTS; ++l) b.setFavouriteName(l, names[l]);
    b.addProvider("Alpha");
    b.addProvider("Beta");
    build(b);
    b.finish();
    db.save(path);
    return path;
}

} // namespace

std::string writeViewsDatabase(const std::string& path)
{
    return writeDatabase(path, [](DatabaseBuilder& b) {
        b.addSatellite({1, 192, "Astra"});
        b.addSatellite({2, 130, "Hotbird"});
        b.addSatellite({3, 50, "Lonely"});
        const int t3600 = b.addTransponder({1, 3600, 0});
        const int t3700h = b.addTransponder({1, 3700, 0});
        const int t3700v = b.addTransponder({1, 3700, 1});
        const int t4100 = b.addTransponder({1, 4100, 1});
        const int t11000 = b.addTransponder({2, 11000, 0});
        b.addTvProgram({"\x05"
                        "Arte",
                        0, t3700h, 1});
        b.addTvProgram({"BBC One", 1, t3700v, 2});
        b.addTvProgram({"CNN", 0, t3600, 3});
        b.addTvProgram({"Deutsche", 1, t11000, 4});
        b.addRadioProgram({"Radio One", 0, t3700h, 5});
        b.addRadioProgram({"Radio Two", 1, t4100, 6});
        b.addRadioProgram({"Jazz", 0, t11000, 7});
        for (int p : {1, 2, 5}) b.addFavourite(0, p);
        b.addFavourite(1, 3);
        b.addFavourite(8, 3);
    });
}

void ViewsTest::SetUp()
{
    ASSERT_TRUE(start(QString::fromStdString(writeViewsDatabase(file("views.si")))));
    dialogs = std::make_unique<ScriptedEditDialogs>(browser(), doc().database());
    tree().setEditDialogs(dialogs.get());
    list().setEditDialogs(dialogs.get());
    frame().resize(900, 600);
    ASSERT_TRUE(waitFor([this] { return frame().isVisible(); }));
    prompter.clear();
}

void ViewsTest::TearDown()
{
    stop();
    EXPECT_EQ(prompter.unanswered, 0);
}

CLeftView& ViewsTest::tree() { return *frame().leftView(); }
COrbitView& ViewsTest::list() { return *frame().orbitView(); }
BrowserState& ViewsTest::browser() { return app().browser(); }

QModelIndex ViewsTest::node(const QStringList& path)
{
    const QAbstractItemModel* model = tree().model();
    QModelIndex at;
    for (const QString& text : path) {
        QModelIndex found;
        for (int r = 0; r < model->rowCount(at) && !found.isValid(); ++r)
            if (model->index(r, 0, at).data().toString() == text) found = model->index(r, 0, at);
        if (!found.isValid()) return {};
        at = found;
    }
    return at;
}

QPoint ViewsTest::nodePoint(const QStringList& path)
{
    const QModelIndex index = node(path);
    EXPECT_TRUE(index.isValid()) << path.join('/').toStdString();
    for (QModelIndex p = index.parent(); p.isValid(); p = p.parent()) tree().expand(p);
    tree().scrollTo(index);
    return tree().visualRect(index).center();
}

void ViewsTest::clickNode(const QStringList& path, Qt::MouseButton button)
{
    QTest::mouseClick(tree().viewport(), button, {}, nodePoint(path));
}

void ViewsTest::doubleClickNode(const QStringList& path)
{
    QTest::mouseDClick(tree().viewport(), Qt::LeftButton, {}, nodePoint(path));
}

QStringList ViewsTest::childTexts(const QStringList& path)
{
    const QModelIndex parent = node(path);
    QStringList out;
    for (int r = 0; r < tree().model()->rowCount(parent); ++r)
        out << tree().model()->index(r, 0, parent).data().toString();
    return out;
}

QPoint ViewsTest::rowPoint(int row, int column)
{
    const QModelIndex index = list().model()->index(row, column);
    list().scrollTo(index);
    return list().visualRect(index).center();
}

void ViewsTest::clickRow(int row, Qt::MouseButton button, Qt::KeyboardModifiers mods)
{
    QTest::mouseClick(list().viewport(), button, mods, rowPoint(row));
}

QStringList ViewsTest::column(int c)
{
    QStringList out;
    for (int r = 0; r < list().model()->rowCount(); ++r) out << cell(r, c);
    return out;
}

QString ViewsTest::cell(int row, int c) { return list().model()->index(row, c).data().toString(); }

QAction* ViewsTest::menuEntry(QMenu* menu, int id)
{
    for (QAction* a : menu->findChildren<QAction*>())
        if (a->data().toInt() == id) return a;
    return nullptr;
}

void ViewsTest::choose(QMenu* menu, int id)
{
    ASSERT_TRUE(waitFor([menu] { return menu->isVisible(); }));
    QAction* a = menuEntry(menu, id);
    ASSERT_TRUE(a && a->isEnabled()) << id;
    a->trigger();
    menu->close();
}

std::string writeEditDatabase(const std::string& path)
{
    return writeDatabase(path, [](DatabaseBuilder& b) {
        b.addSatellite({1, 192, "Astra"});
        b.addSatellite({3, 50, "Lonely"});
        const int t = b.addTransponder({1, 3600, 0});
        for (int k = 0; k < 6; ++k) b.addTvProgram({"Tv " + std::to_string(k), k < 3 ? 0 : 1, t, 10 + k});
        for (int k = 0; k < 5; ++k) b.addRadioProgram({"Radio " + std::to_string(k), 1, t, 20 + k});
        for (int p = 0; p < 10; ++p) b.addFavourite(0, p);
        for (int p : {1, 4, 7}) b.addFavourite(1, p);
    });
}

void ListEditTest::SetUp()
{
    ViewsTest::SetUp();
    ASSERT_TRUE(doc().openDroppedFile(QString::fromStdString(writeEditDatabase(file("edit.si")))));
    frame().activateWindow();
    ASSERT_TRUE(waitFor([this] { return frame().isActiveWindow(); }));
    prompter.clear();
}

void ListEditTest::TearDown()
{
    expectSound(doc().database());
    ViewsTest::TearDown();
}

void ViewsTest::openNode(const QStringList& path)
{
    // Few expanded nodes: the target never lies below the tree's visible part.
    tree().collapseAll();
    clickNode(path);
    frame().updateCommandUi();
}

void ViewsTest::key(Qt::Key k, Qt::KeyboardModifiers mods)
{
    list().setFocus(Qt::OtherFocusReason);
    frame().setActiveView(&list());
    frame().updateCommandUi();
    QTest::keyClick(&list(), k, mods);
}

void ViewsTest::selectRows(int first, int last)
{
    clickRow(first);
    if (last != first) clickRow(last, Qt::LeftButton, Qt::ShiftModifier);
}

} // namespace satorix::test

#include "tests/views/ViewsFixture.h"

#include <QAction>

#include "db/DatabaseBuilder.h"

namespace satorix::test {
void ViewsTest::build(ChannelDatabase& db)
{
    db.setListingPath({});
    db.assignImage(nullptr, 0);
    DatabaseBuilder b(db);
    const char* names[] = {"News", "Sport", "Movies", "Kids", "Music", "Docs", "Fav_7", "Fav_8", "Radio"};
    for (int l = 0; l < FAV_LISTS; ++l) b.setFavouriteName(l, names[l]);
    for (const char* p : {"Alpha", "Beta"}) b.addProvider(p);
    if (editDatabase) {
        for (const SatelliteFields& s : {SatelliteFields{1, 192, "Astra"}, {3, 50, "Lonely"}}) b.addSatellite(s);
        b.addTransponder({1, 3600});
        for (int k = 0; k < 6; ++k) b.addTvProgram({"Tv " + std::to_string(k), k < 3 ? 0 : 1, 0, 10 + k});
        for (int k = 0; k < 5; ++k) b.addRadioProgram({"Radio " + std::to_string(k), 1, 0, 20 + k});
        for (int p = 0; p < 10; ++p) b.addFavourite(0, p);
        for (int p : {1, 4, 7}) b.addFavourite(1, p);
    } else {
        for (const SatelliteFields& s : {SatelliteFields{1, 192, "Astra"}, {2, 130, "Hotbird"}, {3, 50, "Lonely"}})
            b.addSatellite(s);
        // Transponders 0: 3600 H, 1: 3700 H, 2: 3700 V, 3: 4100 V, 4: 11000 H.
        for (const TransponderFields& t :
             {TransponderFields{1, 3600}, {1, 3700}, {1, 3700, 1}, {1, 4100, 1}, {2, 11000}})
            b.addTransponder(t);
        // Arte's name starts with a character-table byte.
        for (const ProgramFields& p :
             {ProgramFields{"\5Arte", 0, 1, 1}, {"BBC One", 1, 2, 2}, {"CNN", 0, 0, 3}, {"Deutsche", 1, 4, 4}})
            b.addTvProgram(p);
        for (const ProgramFields& p : {ProgramFields{"Radio One", 0, 1, 5}, {"Radio Two", 1, 3, 6}, {"Jazz", 0, 4, 7}})
            b.addRadioProgram(p);
        for (int p : {1, 2, 5}) b.addFavourite(0, p);
        for (int l : {1, 8}) b.addFavourite(l, 3);
    }
    b.finish();
}

void ViewsTest::SetUp()
{
    ChannelDatabase db;
    build(db);
    ASSERT_EQ(db.save(file("views.si")), 0);
    ASSERT_TRUE(start(qfile("views.si")));
    if (scripted) {
        dialogs = std::make_unique<ScriptedEditDialogs>(browser(), doc().database());
        tree().setEditDialogs(dialogs.get());
        list().setEditDialogs(dialogs.get());
    }
    frame().resize(900, 600);
    frame().activateWindow(); // for the edit keys
    ASSERT_TRUE(waitFor([this] { return frame().isActiveWindow(); }));
    prompter.clear();
}

QModelIndex ViewsTest::node(const QStringList& path)
{
    QModelIndex at;
    for (const QString& text : path) {
        const QModelIndexList found =
            tree().model()->match(tree().model()->index(0, 0, at), Qt::DisplayRole, text, 1, Qt::MatchExactly);
        if (found.isEmpty()) return {};
        at = found.front();
    }
    return at;
}

QStringList ViewsTest::childTexts(const QStringList& path)
{
    QStringList out;
    const QModelIndex at = node(path);
    for (int r = 0; r < tree().model()->rowCount(at); ++r) out << tree().model()->index(r, 0, at).data().toString();
    return out;
}

void ViewsTest::clickNode(const QStringList& path, Qt::MouseButton button, bool twice)
{
    const QModelIndex index = node(path);
    EXPECT_TRUE(index.isValid()) << path.join('/').toStdString();
    for (QModelIndex p = index.parent(); p.isValid(); p = p.parent()) tree().expand(p);
    tree().scrollTo(index);
    const QPoint at = tree().visualRect(index).center();
    twice ? QTest::mouseDClick(tree().viewport(), button, {}, at)
          : QTest::mouseClick(tree().viewport(), button, {}, at);
}

QPoint ViewsTest::rowPoint(int row)
{
    list().scrollTo(list().model()->index(row, 1));
    return list().visualRect(list().model()->index(row, 1)).center();
}

QStringList ViewsTest::column(int c)
{
    QStringList out;
    for (int r = 0; r < list().model()->rowCount(); ++r) out << cell(r, c);
    return out;
}

QAction* ViewsTest::menuEntry(QMenu* menu, int id)
{
    for (QAction* a : menu->findChildren<QAction*>())
        if (a->data().toInt() == id) return a;
    return nullptr;
}

void ViewsTest::choose(QMenu* menu, int id)
{
    ASSERT_TRUE(waitFor([menu] { return menu->isVisible(); }));
    ASSERT_TRUE(menuEntryEnabled(menu, id)) << id;
    menuEntry(menu, id)->trigger();
    menu->close();
}

void ViewsTest::openNode(const QStringList& path)
{
    tree().collapseAll(); // few expanded nodes: the target never lies below the tree's visible part
    clickNode(path);
    frame().updateCommandUi();
}

void ViewsTest::focusList()
{
    list().setFocus(Qt::OtherFocusReason);
    frame().setActiveView(&list());
    frame().updateCommandUi();
}

} // namespace satorix::test

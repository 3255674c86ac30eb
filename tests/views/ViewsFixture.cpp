#include "tests/views/ViewsFixture.h"

#include <QAction>

#include "db/DatabaseBuilder.h"

namespace satorix::test {
void ViewsTest::SetUp()
{
    ChannelDatabase db;
    db.setListingPath({});
    db.assignImage(nullptr, 0);
    DatabaseBuilder b(db);
    const char* names[] = {"News", "Sport", "Movies", "Kids", "Music", "Docs", "Fav_7", "Fav_8", "Radio"};
    for (int l = 0; l < FAV_LISTS; ++l) b.setFavouriteName(l, names[l]);
    b.addProvider("Alpha");
    b.addProvider("Beta");
    if (editDatabase) {
        b.addSatellite({1, 192, "Astra"});
        b.addSatellite({3, 50, "Lonely"});
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
        b.addFavourite(1, 3);
        b.addFavourite(8, 3);
    }
    b.finish();
    ASSERT_EQ(db.save(file("views.si")), 0);
    ASSERT_TRUE(start(qfile("views.si")));
    dialogs = std::make_unique<ScriptedEditDialogs>(browser(), doc().database());
    tree().setEditDialogs(dialogs.get());
    list().setEditDialogs(dialogs.get());
    frame().resize(900, 600);
    frame().activateWindow(); // for the edit keys
    ASSERT_TRUE(waitFor([this] { return frame().isActiveWindow(); }));
    prompter.clear();
}

namespace {

QStringList textsUnder(const QAbstractItemModel* model, const QModelIndex& parent)
{
    QStringList out;
    for (int r = 0; r < model->rowCount(parent); ++r) out << model->index(r, 0, parent).data().toString();
    return out;
}

} // namespace

QModelIndex ViewsTest::node(const QStringList& path)
{
    QModelIndex at;
    for (const QString& text : path) {
        const qsizetype r = textsUnder(tree().model(), at).indexOf(text);
        if (r < 0) return {};
        at = tree().model()->index(int(r), 0, at);
    }
    return at;
}

QStringList ViewsTest::childTexts(const QStringList& path) { return textsUnder(tree().model(), node(path)); }

QPoint ViewsTest::nodePoint(const QStringList& path)
{
    const QModelIndex index = node(path);
    EXPECT_TRUE(index.isValid()) << path.join('/').toStdString();
    for (QModelIndex p = index.parent(); p.isValid(); p = p.parent()) tree().expand(p);
    tree().scrollTo(index);
    return tree().visualRect(index).center();
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
    QAction* a = menuEntry(menu, id);
    ASSERT_TRUE(a && a->isEnabled()) << id;
    a->trigger();
    menu->close();
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

} // namespace satorix::test

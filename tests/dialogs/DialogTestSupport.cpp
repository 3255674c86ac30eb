#include "tests/dialogs/DialogTestSupport.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTest>

#include "db/DatabaseBuilder.h"
#include "db/Names.h"

namespace satorix::test {

void buildDialogDatabase(ChannelDatabase& db)
{
    db.assignImage(nullptr, 0);
    DatabaseBuilder b(db);
    b.addSatellite({.id = 1, .position = 192, .name = "Astra 1E-2C", .positionerNo = 2});
    b.addSatellite({.id = 2, .position = 130, .name = "Hotbird 2-8", .positionerNo = 1});
    b.addSatellite({.id = 3, .position = 8, .name = "Thor 2,3", .positionerNo = 26, .eastWest = 'W'});
    b.addTransponder({.satelliteId = 1,
                      .frequency = 10700,
                      .polarisation = 0,
                      .symbolRate = 27500,
                      .fec = 3,
                      .transportStreamId = 1,
                      .networkId = 2,
                      .originalNetworkId = 3});
    b.addTransponder({.satelliteId = 1, .frequency = 11000, .polarisation = 1, .symbolRate = 22000, .fec = 2});
    b.addTransponder({.satelliteId = 1, .frequency = 11000, .polarisation = 0, .symbolRate = 27500, .fec = 4});
    b.addTransponder({.satelliteId = 2, .frequency = 11200, .polarisation = 1});
    b.addTransponder({.satelliteId = 2, .frequency = 12000, .polarisation = 1});
    b.addProvider("Alpha");
    b.addProvider("\x05"
                  "Beta");
    b.addProvider("Gamma");
    b.addTvProgram({.name = "One", .provider = 0, .transponder = 0, .serviceId = 11});
    b.addTvProgram({.name = "Two", .provider = 2, .transponder = 1, .serviceId = 12});
    b.addTvProgram({.name = "\x05"
                            "Marked",
                    .provider = 1,
                    .transponder = 0,
                    .serviceId = 13,
                    .videoPid = 101,
                    .audioPid = 102,
                    .pcrPid = 103,
                    .flags = FLAG_SCPC | FLAG_SCRAMBLED | 64});
    b.addTvProgram({.name = "Four", .provider = 0, .transponder = 3});
    b.addRadioProgram({.name = "R1", .provider = 0, .transponder = 0});
    b.addRadioProgram({.name = "R2", .provider = 2, .transponder = 1});
    for (int l = 0; l < FAV_LISTS; ++l) b.setFavouriteName(l, "Fav_" + std::to_string(l + 1));
    b.setFavouriteName(0, "News");
    b.setFavouriteName(2, "Movies");
    b.addFavourite(0, 0);
    b.addFavourite(0, 4);
    b.addFavourite(2, 1);
    b.finish();
}

void DialogTest::SetUp()
{
    db.setListingPath({});
    buildDialogDatabase(db);
    db.setNotifier([this](const std::string& text, MessageIcon) {
        prompter.message(QString::fromStdString(text), PromptIcon::None, PromptButtons::Ok);
    });
}

void DialogTest::TearDown()
{
    EXPECT_EQ(prompter.unanswered, 0);
    if (checkSound) expectSound(db);
}

std::string DialogTest::lastMessage() const
{
    return prompter.messages.empty() ? std::string() : prompter.messages.back().text.toStdString();
}

void setText(QWidget* dialog, const char* name, const QString& text)
{
    if (auto* edit = dialog->findChild<QLineEdit*>(QString::fromLatin1(name)))
        edit->setText(text);
    else if (auto* combo = child<QComboBox>(dialog, name))
        combo->setEditText(text);
}

QString textOf(QWidget* dialog, const char* name)
{
    if (auto* edit = dialog->findChild<QLineEdit*>(QString::fromLatin1(name))) return edit->text();
    auto* combo = child<QComboBox>(dialog, name);
    return combo ? combo->currentText() : QString();
}

QStringList textsOf(QWidget* dialog, std::initializer_list<const char*> names)
{
    QStringList out;
    for (const char* name : names) out << textOf(dialog, name);
    return out;
}

void pick(QComboBox* combo, int index)
{
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void pickText(QComboBox* combo, const QString& text)
{
    const int index = combo->findText(text, Qt::MatchExactly);
    ASSERT_GE(index, 0) << text.toStdString();
    pick(combo, index);
}

void clickOk(QDialog* dialog)
{
    auto* box = child<QDialogButtonBox>(dialog, "buttonBox");
    ASSERT_TRUE(box && box->button(QDialogButtonBox::Ok)->isEnabled());
    QTest::mouseClick(box->button(QDialogButtonBox::Ok), Qt::LeftButton);
}

void clickButton(QDialog* dialog, const char* name)
{
    if (auto* button = child<QPushButton>(dialog, name)) QTest::mouseClick(button, Qt::LeftButton);
}

void open(QDialog* dialog)
{
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
}

std::string programName(const ChannelDatabase& db, int index)
{
    return std::string(boundedName(db.raw().namePtr(DatabaseImage::programOffset(index) + layout::prog::NAME)));
}

RecordView record(const ChannelDatabase& db, int type, int index)
{
    RecordView r;
    EXPECT_EQ(db.getRecord(type, index, r), 0) << type << " " << index;
    return r;
}

} // namespace satorix::test

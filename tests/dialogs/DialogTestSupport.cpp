#include "tests/dialogs/DialogTestSupport.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QPushButton>

#include "db/DatabaseBuilder.h"
#include "db/Names.h"

namespace satorix::test {

void buildDialogDatabase(ChannelDatabase& db)
{
    db.setListingPath({});
    db.assignImage(nullptr, 0);
    DatabaseBuilder b(db);
    b.addSatellite({.id = 1, .position = 192, .name = "Astra 1E-2C", .positionerNo = 2});
    b.addSatellite({.id = 2, .position = 130, .name = "Hotbird 2-8", .positionerNo = 1});
    b.addSatellite({.id = 3, .position = 8, .name = "Thor 2,3", .positionerNo = 26, .eastWest = 'W'});
    // satellite id, frequency, polarisation, symbol rate, FEC, TSID, NID, ONID
    const TransponderFields transponders[] = {{1, 10700, 0, 27500, 3, 1, 2, 3},
                                              {1, 11000, 1, 22000, 2, 0, 0, 0},
                                              {1, 11000, 0, 27500, 4, 0, 0, 0},
                                              {2, 11200, 1, 27500, 0, 0, 0, 0},
                                              {2, 12000, 1, 27500, 0, 0, 0, 0}};
    for (const TransponderFields& t : transponders) b.addTransponder(t);
    for (const char* name : {"Alpha", "\005Beta", "Gamma"}) b.addProvider(name);
    // name, provider, transponder, service id, video, audio and PCR PIDs, flags
    const ProgramFields tv[] = {{"One", 0, 0, 11, 0, 0, 0, 0},
                                {"Two", 2, 1, 12, 0, 0, 0, 0},
                                {"\x05Marked", 1, 0, 13, 101, 102, 103, FLAG_SCPC | FLAG_SCRAMBLED | 64},
                                {"Four", 0, 3, 0, 0, 0, 0, 0}};
    for (const ProgramFields& p : tv) b.addTvProgram(p);
    b.addRadioProgram({.name = "R1", .provider = 0, .transponder = 0});
    b.addRadioProgram({.name = "R2", .provider = 2, .transponder = 1});
    for (int l = 0; l < FAV_LISTS; ++l)
        b.setFavouriteName(l, l == 0 ? "News" : l == 2 ? "Movies" : "Fav_" + std::to_string(l + 1));
    for (const auto& [list, program] : {std::pair{0, 0}, {0, 4}, {2, 1}}) b.addFavourite(list, program);
    b.finish();
}

void setText(QWidget* dialog, const char* name, const QString& text)
{
    if (auto* edit = dialog->findChild<QLineEdit*>(QString::fromLatin1(name))) return edit->setText(text);
    if (auto* b = dialog->findChild<QAbstractButton*>(QString::fromLatin1(name))) return b->setChecked(text == "on");
    if (auto* combo = child<QComboBox>(dialog, name)) combo->setEditText(text);
}

QString textOf(QWidget* dialog, const char* name)
{
    if (auto* edit = dialog->findChild<QLineEdit*>(QString::fromLatin1(name))) return edit->text();
    if (auto* b = dialog->findChild<QAbstractButton*>(QString::fromLatin1(name))) return b->isChecked() ? "on" : "off";
    auto* combo = child<QComboBox>(dialog, name);
    return combo ? combo->currentText() : QString();
}

QStringList textsOf(QWidget* dialog, std::initializer_list<const char*> names)
{
    QStringList out;
    for (const char* name : names) out << textOf(dialog, name);
    return out;
}

void pickText(QComboBox* combo, const QString& text)
{
    const int index = combo->findText(text, Qt::MatchExactly);
    ASSERT_GE(index, 0) << text.toStdString();
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void clickOk(QDialog* dialog)
{
    auto* box = child<QDialogButtonBox>(dialog, "buttonBox");
    ASSERT_TRUE(box && box->button(QDialogButtonBox::Ok)->isEnabled());
    QTest::mouseClick(box->button(QDialogButtonBox::Ok), Qt::LeftButton);
}

void click(QWidget* dialog, const char* name)
{
    // Near the left edge: on a check box's or radio button's indicator, not its label.
    if (auto* b = child<QAbstractButton>(dialog, name))
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(4, b->height() / 2));
}

QDialog* okWith(QDialog* dialog, Texts texts)
{
    for (const auto& [name, text] : texts) setText(dialog, name, QString::fromUtf8(text));
    clickOk(dialog);
    return dialog;
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

// File > Export, Import and Apply Reference from the editor: what the summary shows is what OK
// applies, as one step of the history.
#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

#include "app/COrbitDoc.h"
#include "app/EditHistory.h"
#include "db/ChannelDatabase.h"
#include "gui/CommandIds.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "tests/gui/GuiTestSupport.h"

namespace satorix::test {
namespace {

class ExchangeGuiTest : public ::testing::Test, public AppFixture {
protected:
    std::vector<std::uint8_t> image() { return {db().image(), db().image() + IMAGE_SIZE}; }
    ChannelDatabase& db() { return doc().database(); }
    // Runs a command whose summary dialog is answered with the option as given and OK.
    QString confirm(int id, bool option)
    {
        QString summary;
        onModal([&](QDialog* d) {
            d->findChild<QCheckBox*>("summaryOption")->setChecked(option);
            summary = d->findChild<QPlainTextEdit*>("summaryText")->toPlainText();
            d->accept();
        });
        EXPECT_TRUE(trigger(id));
        return summary;
    }
};

TEST_F(ExchangeGuiTest, ExportImportAndReferenceAreOneStepEach)
{
    ASSERT_TRUE(start(QString::fromStdString(writeSample(file("x.si"), 5))));
    const std::vector<std::uint8_t> start = image();
    const std::string firstName = programName(db(), 0);

    // Export, then the file read back with its first program renamed and moved last.
    prompter.fileNames.push_back(qfile("x.csv"));
    ASSERT_TRUE(trigger(ID_FILE_EXPORT));
    QFile csv(qfile("x.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    QStringList lines = QString::fromUtf8(csv.readAll()).split("\r\n", Qt::SkipEmptyParts);
    csv.close();
    ASSERT_EQ(lines.size(), db().programsInUse() + 1);
    QStringList first = lines[1].split(',');
    first[1] = "Новости";
    lines.removeAt(1);
    lines.insert(db().tvProgramCount(), first.join(','));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly | QIODevice::Truncate));
    csv.write(lines.join("\r\n").toUtf8());
    csv.close();

    prompter.fileNames.push_back(qfile("x.csv"));
    EXPECT_TRUE(confirm(ID_FILE_IMPORT, false).contains(QString::number(db().programsInUse())));
    EXPECT_EQ(programName(db(), db().tvProgramCount() - 1), "\x01\xBD\xDE\xD2\xDE\xE1\xE2\xD8");
    const std::vector<std::uint8_t> imported = image();
    EXPECT_NE(imported, start);
    EXPECT_EQ(doc().history().undoText(), "Import x.csv");

    // The saved start as a reference puts everything back where it was.
    prompter.fileNames.push_back(qfile("x.si"));
    confirm(ID_FILE_APPLY_REFERENCE, true);
    EXPECT_EQ(programName(db(), 0), firstName);
    EXPECT_TRUE(trigger(ID_EDIT_UNDO));
    EXPECT_EQ(image(), imported);
    EXPECT_TRUE(trigger(ID_EDIT_UNDO));
    EXPECT_EQ(image(), start);
    EXPECT_EQ(prompter.unanswered, 0);
}

} // namespace
} // namespace satorix::test

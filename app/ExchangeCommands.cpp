#include "app/ExchangeCommands.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <memory>

#include "app/COrbitDoc.h"
#include "db/ChannelDatabase.h"
#include "db/ProgramExchange.h"
#include "db/ReferenceList.h"
#include "dialogs/SummaryDialog.h"
#include "gui/BrowserState.h"
#include "gui/CommandIds.h"
#include "gui/CommandMap.h"
#include "gui/NameText.h"
#include "gui/Prompter.h"

namespace satorix {
namespace {

constexpr const char* CSV_FILTER = "Spreadsheet (*.csv)";
constexpr const char* JSON_FILTER = "JSON (*.json)";
constexpr const char* CANNOT_WRITE = "Cannot write %1:\n%2";
constexpr const char* CANNOT_READ = "Cannot read %1:\n%2";

QString fileName(const QString& path) { return QFileInfo(path).fileName(); }

// Shows what a plan would change, made again as the option is toggled; true on OK.
bool confirmed(const QString& title, const char* option, const SummaryDialog::Summarise& summarise)
{
    SummaryDialog dialog(title, QString::fromLatin1(option), summarise, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}

} // namespace

void ExchangeCommands::registerCommands(CommandMap& commands)
{
    const auto loaded = [this](CommandUi& ui) { ui.enabled = doc_.database().isLoaded(); };
    commands
        .on(
            ID_FILE_EXPORT, [this] { exportPrograms(); }, loaded)
        .on(
            ID_FILE_IMPORT, [this] { importPrograms(); }, loaded)
        .on(
            ID_FILE_APPLY_REFERENCE, [this] { applyReference(); }, loaded);
}

void ExchangeCommands::exportPrograms()
{
    FileDialogRequest request;
    request.nameFilters = {QString::fromLatin1(CSV_FILTER), QString::fromLatin1(JSON_FILTER)};
    request.defaultSuffix = QStringLiteral("csv");
    request.initialName = QFileInfo(doc_.fileName()).completeBaseName() + QStringLiteral(".csv");
    const QString path = doc_.prompter().saveFileName(request);
    if (path.isEmpty()) return;
    const ExportFormat format =
        path.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive) ? ExportFormat::Json : ExportFormat::Csv;
    const ChannelDatabase& db = doc_.database();
    const std::string text = satorix::exportPrograms(db, format, {SCOPE_PROGRAMS | SCOPE_TV_RADIO, db.nameTable()});
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), static_cast<qint64>(text.size())) < 0 ||
        !file.commit()) {
        doc_.prompter().message(QString::fromLatin1(CANNOT_WRITE).arg(path, file.errorString()),
                                PromptIcon::Exclamation);
    }
}

void ExchangeCommands::importPrograms()
{
    FileDialogRequest request;
    request.nameFilters = {QString::fromLatin1(CSV_FILTER)};
    request.mustExist = true;
    const QString path = doc_.prompter().openFileName(request);
    if (path.isEmpty()) return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        doc_.prompter().message(QString::fromLatin1(CANNOT_READ).arg(path, file.errorString()),
                                PromptIcon::Exclamation);
        return;
    }
    const QByteArray csv = file.readAll();
    ChannelDatabase& db = doc_.database();
    ImportPlan plan;
    const auto makePlan = [&](bool deleteUnmatched) {
        plan = planImport(db, std::string_view(csv.constData(), static_cast<std::size_t>(csv.size())),
                          {deleteUnmatched, db.nameTable()});
        return texts::fromUtf8(plan.error.empty() ? importSummary(plan) : plan.error);
    };
    const QString title = QStringLiteral("Import %1").arg(fileName(path));
    if (!confirmed(title, "Delete the programs the file does not name", makePlan) || !plan.error.empty()) return;
    apply(title, plan.changes);
}

void ExchangeCommands::apply(const QString& step, const ProgramChanges& changes)
{
    // List names may change too: the tree is built again.
    if (doc_.edit(step, [&] { applyChanges(doc_.database(), changes); })) {
        doc_.browser().rebuildRequest = true;
        doc_.updateAllViews(nullptr);
    }
}

void ExchangeCommands::applyReference()
{
    FileDialogRequest request;
    request.nameFilters = {QStringLiteral("Channel data (*.si)")};
    request.mustExist = true;
    const QString path = doc_.prompter().openFileName(request);
    if (path.isEmpty()) return;
    auto reference = std::make_unique<ChannelDatabase>();
    reference->setListingPath({});
    if (reference->load(QFile::encodeName(path).toStdString()) != 0) {
        doc_.prompter().message(QString::fromLatin1(CANNOT_READ).arg(path, QStringLiteral("not a channel database")),
                                PromptIcon::Exclamation);
        return;
    }
    ChannelDatabase& db = doc_.database();
    ReferencePlan plan;
    const auto makePlan = [&](bool names) {
        plan = planReference(db, *reference, {names, db.nameTable()});
        return texts::fromUtf8(referenceSummary(plan));
    };
    const QString title = QStringLiteral("Apply reference %1").arg(fileName(path));
    if (confirmed(title, "Take the reference's names", makePlan)) apply(title, plan.changes);
}

} // namespace satorix

#include "app/TransferCommands.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <algorithm>
#include <cstring>
#include <vector>

#include "app/AppConfig.h"
#include "app/COrbitDoc.h"
#include "app/UserFolders.h"
#include "db/ChannelDatabase.h"
#include "gui/BrowserState.h"
#include "gui/CommandIds.h"
#include "gui/CommandMap.h"
#include "gui/Prompter.h"
#include "link/ui/PortDevices.h"
#include "link/ui/PortSettingsDialog.h"
#include "link/ui/TransmissionDialog.h"

namespace satorix {

namespace {

constexpr const char* NO_DOCUMENT = "No document opened or downloaded";
constexpr const char* OVERWRITE_WARNING =
    "Warning: This operation will overwrite database in Your receiver\nDo You wish to continue?";
constexpr const char* WAIT_FOR_REBOOT = "Please wait until STB reboots...";
constexpr const char* SOFTWARE_FILTER = "S/W File (*.dlp)";
constexpr const char* ALL_FILES_FILTER = "All Files (*.*)";
constexpr const char* SHORT_DOWNLOAD = "Only %1 of %2 bytes were received. Keep this database?";
constexpr const char* EMPTY_SOFTWARE = "%1 holds nothing after its 64-byte header: there is no software to send.";
constexpr const char* UNREADABLE_SOFTWARE = "The software file cannot be read:\n%1";
constexpr const char* UPGRADE_DONE = "The software has been sent to the receiver.";
constexpr qint64 SOFTWARE_HEADER_BYTES = 64;

// 721968 -> "721,968": counts the user reads at a glance.
QString grouped(std::size_t n)
{
    QString digits = QString::number(n);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3) digits.insert(at, QLatin1Char(','));
    return digits;
}

QString softwareKey()
{
    return QStringLiteral("%1/%2").arg(QString::fromLatin1(TransferCommands::SOFTWARE_SECTION),
                                       QString::fromLatin1(TransferCommands::SOFTWARE_KEY));
}

} // namespace

TransferCommands::TransferCommands(COrbitDoc& doc) : doc_(doc) {}

void TransferCommands::registerCommands(CommandMap& commands)
{
    commands.on(ID_STB_DOWNLOAD, [this] { onDownload(); })
        .on(ID_STB_UPLOAD, [this] { onUpload(); })
        .on(ID_STB_UPGRADE, [this] { onUpgrade(); })
        .on(ID_SETTINGS_PORT, [this] { onPortSettings(); })
        .on(ID_TOOLBAR_PORT, [this] { onPortSettings(); });
}

bool TransferCommands::runDialog(int kind, bool& sessionCancelled)
{
    const AppConfig& config = doc_.config();
    context_.port.port = config.port();
    context_.port.device = PortDevices::transferDevice(config.port());
    context_.port.baudRate = config.baudRate();
    TransmissionDialog dialog(context_, doc_.database(), doc_.prompter(), QApplication::activeWindow());
    dialog.setKind(kind);
    const bool ok = dialog.exec() == QDialog::Accepted;
    sessionCancelled = dialog.sessionCancelled();
    return ok;
}

void TransferCommands::onDownload()
{
    if (!doc_.saveModified()) return;
    bool cancelled = false;
    if (!runDialog(static_cast<int>(link::TransferKind::Download), cancelled)) {
        doc_.setDatabaseDownloaded(false);
        return;
    }
    ChannelDatabase& db = doc_.database();
    if (!context_.shortImage.empty()) {
        // A receiver that announced a smaller region: the user decides, the image is untouched so far.
        const QString question =
            QString::fromUtf8(SHORT_DOWNLOAD).arg(grouped(context_.receivedBytes), grouped(context_.shortImage.size()));
        const PromptAnswer a = doc_.prompter().message(question, PromptIcon::Question, PromptButtons::YesNo);
        std::vector<std::uint8_t> received;
        received.swap(context_.shortImage);
        if (a != PromptAnswer::Yes) return;
        std::memcpy(db.imageBase(db.version()), received.data(),
                    std::min(received.size(), ChannelDatabase::imageSize(db.version())));
    }
    db.writeProgramListing(QFile::encodeName(userFolders::listingFile()).toStdString());
    db.setLoaded(true);
    db.setLoadedVersion(db.version());
    // Exactly what the receiver sent, before anything is edited.
    if (backups_.keep(db.imageBase(db.version()), ChannelDatabase::imageSize(db.version())).isEmpty())
        qWarning("Could not keep a copy of the downloaded database in %s", qPrintable(backups_.folder()));
    doc_.acceptDownloadedDatabase();
}

void TransferCommands::onUpload()
{
    Prompter& prompter = doc_.prompter();
    if (!doc_.fileOpened() && !doc_.databaseDownloaded()) {
        prompter.message(QString::fromUtf8(NO_DOCUMENT));
        return;
    }
    if (prompter.message(QString::fromUtf8(OVERWRITE_WARNING), PromptIcon::Exclamation, PromptButtons::YesNo) !=
        PromptAnswer::Yes)
        return;
    ChannelDatabase& db = doc_.database();
    db.purgeUnusedProviders();
    doc_.browser().rebuildRequest = true;
    doc_.updateAllViews(nullptr);
    db.updateCrc(db.version());

    bool cancelled = false;
    runDialog(static_cast<int>(link::TransferKind::Upload), cancelled);
    // Also after a failed transfer: the receiver may have taken part of it and restart.
    if (!cancelled) prompter.message(QString::fromUtf8(WAIT_FOR_REBOOT));
}

QString TransferCommands::initialSoftwareName(const QString& remembered)
{
    QByteArray bytes = QFile::encodeName(remembered);
    const qsizetype room = SOFTWARE_NAME_BUFFER - 1;
    if (bytes.size() > room) {
        qsizetype cut = room;
        // Never leave half a character behind.
        while (cut > 0 && (static_cast<unsigned char>(bytes.at(cut)) & 0xC0) == 0x80) --cut;
        bytes.truncate(cut);
    }
    return QFile::decodeName(bytes);
}

void TransferCommands::onUpgrade()
{
    QSettings settings;
    FileDialogRequest request;
    request.initialName = initialSoftwareName(settings.value(softwareKey()).toString());
    request.nameFilters = {QString::fromUtf8(SOFTWARE_FILTER), QString::fromUtf8(ALL_FILES_FILTER)};
    request.mustExist = true;
    const QString chosen = doc_.prompter().openFileName(request);
    if (chosen.isEmpty()) return;
    settings.setValue(softwareKey(), chosen);
    settings.sync();

    // A file with nothing after its header would "succeed" and fill the receiver's region with zeros.
    const QFileInfo info(chosen);
    QFile file(chosen);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        doc_.prompter().message(
            QString::fromUtf8(UNREADABLE_SOFTWARE).arg(chosen + QStringLiteral(": ") + file.errorString()),
            PromptIcon::Stop);
        return;
    }
    if (info.size() <= SOFTWARE_HEADER_BYTES) {
        doc_.prompter().message(QString::fromUtf8(EMPTY_SOFTWARE).arg(info.fileName()), PromptIcon::Stop);
        return;
    }
    file.close();

    context_.softwarePath = QFile::encodeName(chosen).toStdString();
    bool cancelled = false;
    const bool sent = runDialog(static_cast<int>(link::TransferKind::Upgrade), cancelled);
    if (sent)
        doc_.prompter().message(QString::fromUtf8(UPGRADE_DONE), PromptIcon::Information);
    else if (context_.softwareUnreadable)
        doc_.prompter().message(
            QString::fromUtf8(UNREADABLE_SOFTWARE).arg(QString::fromStdString(context_.errorDetail)), PromptIcon::Stop);
}

void TransferCommands::onPortSettings()
{
    AppConfig& config = doc_.config();
    link::PortSettings settings;
    settings.port = config.port();
    settings.baudRate = config.baudRate();
    PortSettingsDialog dialog(settings, QApplication::activeWindow());
    dialog.exec();
    // Opening already corrects a port outside COM1..COM4, even when the dialog is cancelled.
    config.setPort(settings.port);
    config.setBaudRate(settings.baudRate);
}

} // namespace satorix

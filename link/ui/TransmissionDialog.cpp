#include "link/ui/TransmissionDialog.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>

#include "gui/Prompter.h"

namespace satorix {

namespace {

constexpr const char* CAPTION = "Transmission";
constexpr const char* TITLE_DOWNLOAD = "Download database from Set Top Box";
constexpr const char* TITLE_UPLOAD = "Upload database to Set Top Box";
constexpr const char* TITLE_UPGRADE = "Upgrade software to Set Top Box";
constexpr const char* UNKNOWN_KIND = "Unknown transmission type!";
constexpr const char* PLEASE_WAIT = "Please wait";
constexpr const char* CANCELLING = "Cancelling...";
// How often the dialog looks whether its worker ended without a closing report.
constexpr int WATCHDOG_MS = 200;

class ReportEvent : public QEvent {
public:
    explicit ReportEvent(const link::TransferReport& r) : QEvent(eventType()), report(r) {}
    static QEvent::Type eventType()
    {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }
    link::TransferReport report;
};

QLineEdit* readOnlyField(const char* name, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    return e;
}

} // namespace

TransmissionDialog::TransmissionDialog(link::TransferContext& context, ChannelDatabase& db, Prompter& prompter,
                                       QWidget* parent)
    : QDialog(parent), context_(context), db_(db), prompter_(prompter)
{
    setObjectName(QStringLiteral("transmissionDialog"));
    setWindowTitle(QString::fromUtf8(CAPTION));
    setModal(true);

    packet_ = readOnlyField("packetEdit", this);
    frameRepeat_ = readOnlyField("frameRepeatEdit", this);
    lastError_ = readOnlyField("lastErrorEdit", this);
    status_ = readOnlyField("statusEdit", this);
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("progressBar"));
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("cancelButton"));
    cancel_->setDefault(true);
    connect(cancel_, &QPushButton::clicked, this, &TransmissionDialog::reject);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Packet"), this), 0, 0);
    grid->addWidget(packet_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Frame repeat"), this), 0, 2);
    grid->addWidget(frameRepeat_, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("Last Error"), this), 1, 0);
    grid->addWidget(lastError_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Status:"), this), 2, 0);
    grid->addWidget(status_, 2, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Progress"), this), 3, 0);
    grid->addWidget(progress_, 3, 1, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    // 298 x 116 dialog units at the usual 8-point dialog font.
    resize(447, 189);

    watchdog_.setInterval(WATCHDOG_MS);
    connect(&watchdog_, &QTimer::timeout, this, &TransmissionDialog::checkWorkerEnded);
}

TransmissionDialog::~TransmissionDialog()
{
    // The worker posts to this object: it must be gone before the object is.
    worker_.cancel();
    worker_.join();
}

void TransmissionDialog::postReport(const link::TransferReport& report)
{
    QCoreApplication::postEvent(this, new ReportEvent(report));
}

void TransmissionDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!initialised_) initDialog();
}

void TransmissionDialog::initDialog()
{
    initialised_ = true;
    sessionCancelled_ = false;
    const char* title = nullptr;
    switch (kind_) {
    case 1: title = TITLE_DOWNLOAD; break;
    case 2: title = TITLE_UPLOAD; break;
    case 3: title = TITLE_UPGRADE; break;
    default: prompter_.message(QString::fromUtf8(UNKNOWN_KIND)); return;
    }
    setWindowTitle(QString::fromUtf8(title));
    started_ = true;
    // A failed start reports REPORT_THREAD_FAILED through the same callback.
    worker_.start(static_cast<link::TransferKind>(kind_), context_, db_,
                  [this](const link::TransferReport& r) { postReport(r); });
    watchdog_.start();
    status_->setText(QString::fromUtf8(PLEASE_WAIT));
}

void TransmissionDialog::reject()
{
    sessionCancelled_ = true;
    if (closing_) return;
    if (!knownKind() || !started_) {
        closeWith(QDialog::Rejected);
        return;
    }
    // The block in flight still has to finish: say at once that the cancel was heard.
    context_.cancelRequested.store(true);
    status_->setText(QString::fromUtf8(CANCELLING));
    cancel_->setEnabled(false);
}

void TransmissionDialog::customEvent(QEvent* event)
{
    if (event->type() != ReportEvent::eventType()) {
        QDialog::customEvent(event);
        return;
    }
    if (closing_) return;
    handleReport(static_cast<ReportEvent*>(event)->report);
}

void TransmissionDialog::handleReport(const link::TransferReport& report)
{
    link::ReportView v = link::describeReport(report);
    if (report.code == link::REPORT_PORT_FAILED && !context_.errorDetail.empty()) {
        // The first line stays as it always was; the device and the system's reason follow.
        v.box += "\n" + context_.errorDetail;
        v.status = context_.errorDetail.substr(0, context_.errorDetail.find('\n'));
    }
    if (!v.status.empty()) status_->setText(QString::fromStdString(v.status));
    if (!v.packet.empty()) packet_->setText(QString::fromStdString(v.packet));
    if (v.progress >= 0) progress_->setValue(v.progress);
    if (v.sessionCancelled) sessionCancelled_ = true;
    // Whatever arrives while the box is up belongs to a transfer that is over.
    if (v.close != link::ReportView::Close::No) closing_ = true;
    if (!v.box.empty())
        prompter_.message(QString::fromStdString(v.box), v.stopIcon ? PromptIcon::Stop : PromptIcon::Information);
    if (v.close == link::ReportView::Close::Ok) closeWith(QDialog::Accepted);
    if (v.close == link::ReportView::Close::Cancel) closeWith(QDialog::Rejected);
}

void TransmissionDialog::closeWith(int result)
{
    closing_ = true;
    watchdog_.stop();
    done(result);
}

void TransmissionDialog::checkWorkerEnded()
{
    if (closing_ || !worker_.finished()) return;
    // The worker's last report is queued before it counts as finished: let it speak first.
    QCoreApplication::sendPostedEvents(this, ReportEvent::eventType());
    if (!closing_) closeWith(QDialog::Rejected);
}

} // namespace satorix

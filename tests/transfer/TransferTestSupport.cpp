#include "tests/transfer/TransferTestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/COrbitDoc.h"
#include "db/SampleGenerator.h"
#include "gui/BrowserState.h"
#include "gui/DocumentView.h"
#include "link/RegionRules.h"
#include "link/ui/TransmissionDialog.h"

namespace satorix::test {

link::LineTimeouts quickTimeouts()
{
    link::LineTimeouts t;
    t.readIntervalMs = 40;
    t.readConstantMs = 60;
    t.readPerByteMs = 1;
    t.writeConstantMs = 100;
    t.writePerByteMs = 1;
    t.tracePauseMs = 5;
    t.blockPauseMs = 0;
    return t;
}

std::vector<std::uint8_t> sampleImage(std::uint32_t seed)
{
    ChannelDatabase db;
    db.setListingPath({});
    SampleOptions options;
    options.seed = seed;
    generateSample(db, options);
    db.updateCrc(db.version());
    return {db.image(), db.image() + IMAGE_SIZE};
}

SimReceiver::SimReceiver(std::vector<std::uint8_t> served, stbsim::SimFaults faults)
{
    if (!pty_.open()) {
        ADD_FAILURE() << pty_.error();
        return;
    }
    port_.attach(pty_.takeMaster());
    stbsim::SimOptions options;
    options.mode = stbsim::SimMode::Any;
    options.data = std::move(served);
    options.data.resize(link::DATABASE_REGION_SIZE, 0);
    options.faults = std::move(faults);
    // The receiver keeps its real time-outs: shorter ones fail exchanges when a loaded machine
    // starves the editor's worker thread.
    options.timeouts = link::LineTimeouts {};
    options.requestRepeatMs = 100;
    options.unreadByPc = [this] { return pty_.unreadBySlave(); };
    sim_ = std::make_unique<stbsim::ReceiverSim>(port_, std::move(options), &stop_);
    sim_->setExchangeCallback([this](const stbsim::SimResult& r) {
        std::lock_guard lock(mutex_);
        exchanges_.push_back({r, pty_.slaveSpeed()});
    });
    thread_ = std::thread([this] { sim_->run(); });
}

SimReceiver::~SimReceiver()
{
    stop_.store(true);
    if (thread_.joinable()) thread_.join();
}

std::vector<SimReceiver::Exchange> SimReceiver::exchanges() const
{
    std::lock_guard lock(mutex_);
    return exchanges_;
}

bool SimReceiver::waitForExchanges(std::size_t n, int timeoutMs) const
{
    QElapsedTimer t;
    t.start();
    while (exchanges().size() < n) {
        if (t.elapsed() > timeoutMs) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QTest::qWait(5);
    }
    return true;
}

DialogWatch::DialogWatch(int cancelAt) : cancelAt_(cancelAt)
{
    // Caught on its way to the screen: a transfer that fails at once is over within milliseconds.
    qApp->installEventFilter(this);
    timer_.setInterval(2);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { pollProgress(); });
}

DialogWatch::~DialogWatch() { qApp->removeEventFilter(this); }

bool DialogWatch::eventFilter(QObject* watched, QEvent* event)
{
    auto* dialog = qobject_cast<TransmissionDialog*>(watched);
    if (!dialog || event->type() != QEvent::Show || dialog_ || end.seen) return false;
    dialog_ = dialog;
    QObject::connect(dialog, &QDialog::finished, this, [this, dialog](int result) {
        end.seen = true;
        end.result = result;
        end.title = dialog->windowTitle();
        end.status = dialog->findChild<QLineEdit*>(QStringLiteral("statusEdit"))->text();
        end.packet = dialog->findChild<QLineEdit*>(QStringLiteral("packetEdit"))->text();
        end.progress = dialog->findChild<QProgressBar*>(QStringLiteral("progressBar"))->value();
        end.sessionCancelled = dialog->sessionCancelled();
        timer_.stop();
    });
    if (cancelAt_ >= 0) timer_.start();
    return false;
}

void DialogWatch::pollProgress()
{
    if (!dialog_ || cancelPressed) return;
    auto* bar = dialog_->findChild<QProgressBar*>(QStringLiteral("progressBar"));
    if (bar->value() < cancelAt_) return;
    cancelPressed = true;
    timer_.stop();
    auto* cancel = dialog_->findChild<QPushButton*>(QStringLiteral("cancelButton"));
    QTest::mouseClick(cancel, Qt::LeftButton);
    stillOpenAfterCancel = dialog_ && dialog_->isVisible();
    if (stillOpenAfterCancel) {
        statusAfterCancel = dialog_->findChild<QLineEdit*>(QStringLiteral("statusEdit"))->text();
        cancelEnabledAfterCancel = cancel->isEnabled();
    }
}

void RecordingView::onUpdate(DocumentView*, int)
{
    ++*updates_;
    if (document().browser().rebuildRequest) *rebuildSeen_ = true;
}

std::unique_ptr<RecordingView> recordFirst(COrbitDoc& doc, int* updates, bool* rebuildSeen)
{
    const std::vector<DocumentView*> others = doc.views();
    for (DocumentView* v : others) doc.removeView(v);
    auto view = std::make_unique<RecordingView>(doc, updates, rebuildSeen);
    for (DocumentView* v : others) doc.addView(v);
    return view;
}

} // namespace satorix::test

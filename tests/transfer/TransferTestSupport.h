#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "gui/DocumentView.h"
#include "link/LineTimeouts.h"
#include "link/StbPort.h"
#include "tests/gui/GuiTestSupport.h"
#include "tools/stbsim/Pty.h"
#include "tools/stbsim/ReceiverSim.h"

class QLineEdit;
class QProgressBar;

namespace satorix::test {

// Failure paths run their retry loops in full, only faster.
link::LineTimeouts quickTimeouts();

// A generated sample database image (721,968 bytes).
std::vector<std::uint8_t> sampleImage(std::uint32_t seed);

// stbsim's receiver in its serve-again-and-again mode, on a thread at the master end of a fresh
// pseudo-terminal. Every finished exchange is recorded with the line speed the PC had set.
class SimReceiver {
public:
    struct Exchange {
        stbsim::SimResult result;
        unsigned speed = 0;
    };

    explicit SimReceiver(std::vector<std::uint8_t> served, stbsim::SimFaults faults = {});
    ~SimReceiver();
    const std::string& device() const { return pty_.slavePath(); }
    std::vector<Exchange> exchanges() const;
    // Waits (running the event loop) until n exchanges have ended.
    bool waitForExchanges(std::size_t n, int timeoutMs = 20000) const;

private:
    stbsim::Pty pty_;
    link::StbPort port_;
    std::atomic<bool> stop_ {false};
    std::unique_ptr<stbsim::ReceiverSim> sim_;
    std::thread thread_;
    mutable std::mutex mutex_;
    std::vector<Exchange> exchanges_;
};

// What a transmission dialog showed when it closed.
struct DialogEnd {
    bool seen = false;
    int result = -1;
    QString title;
    QString status;
    QString packet;
    int progress = -1;
    bool sessionCancelled = false;
};

// Watches the next transmission dialog: records how it ends, and presses its Cancel button once
// its progress bar reaches cancelAt (never when cancelAt is negative). stillOpenAfterCancel tells
// whether the dialog was still up right after the press. Stops watching when it goes.
class DialogWatch : public QObject {
public:
    explicit DialogWatch(int cancelAt = -1);
    ~DialogWatch() override;
    DialogEnd end;
    bool cancelPressed = false;
    bool stillOpenAfterCancel = false;
    QString statusAfterCancel;
    bool cancelEnabledAfterCancel = true;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pollProgress();
    int cancelAt_;
    QPointer<QDialog> dialog_;
    QTimer timer_;
};

// A view that notes, at each update, whether the tree had been asked to rebuild.
class RecordingView : public DocumentView {
public:
    RecordingView(COrbitDoc& doc, int* updates, bool* rebuildSeen)
        : DocumentView(doc), updates_(updates), rebuildSeen_(rebuildSeen)
    {
    }
    void onUpdate(DocumentView*, int) override;
    QWidget* widget() override { return nullptr; }

private:
    int* updates_;
    bool* rebuildSeen_;
};
// Registered ahead of the frame's views, since the tree consumes the request in its own update.
std::unique_ptr<RecordingView> recordFirst(COrbitDoc& doc, int* updates, bool* rebuildSeen);

} // namespace satorix::test

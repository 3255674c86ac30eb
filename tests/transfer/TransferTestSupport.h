#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "gui/DocumentView.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/SimOnPty.h"

class QLineEdit;
class QProgressBar;

namespace satorix::test {

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

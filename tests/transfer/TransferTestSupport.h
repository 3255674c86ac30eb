#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "gui/BrowserState.h"
#include "gui/DocumentView.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/SimOnPty.h"

namespace satorix::test {

// What a transmission dialog showed when it closed.
struct DialogEnd {
    bool seen = false;
    int result = -1;
    QString title;
    QString status;
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
    using DocumentView::DocumentView;
    void onUpdate(DocumentView*, int) override { ++updates, rebuildSeen |= document().browser().rebuildRequest; }
    QWidget* widget() override { return nullptr; }
    int updates = 0;
    bool rebuildSeen = false;
};
// Registered ahead of the frame's views, since the tree consumes the request in its own update.
std::unique_ptr<RecordingView> recordFirst(COrbitDoc& doc);

} // namespace satorix::test

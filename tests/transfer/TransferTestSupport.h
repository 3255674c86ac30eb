#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "link/ui/TransmissionDialog.h"
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
// its progress bar reaches cancelAt (never when cancelAt is negative), noting what the dialog
// showed right after the press. Stops watching when it goes.
class DialogWatch : public QObject {
public:
    explicit DialogWatch(int cancelAt = -1) : cancelAt_(cancelAt)
    {
        // Caught on its way to the screen: a transfer that fails at once is over within milliseconds.
        qApp->installEventFilter(this);
        timer_.setInterval(2);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { pollProgress(); });
    }
    ~DialogWatch() override { qApp->removeEventFilter(this); }
    DialogEnd end;
    bool cancelPressed = false;
    bool stillOpenAfterCancel = false;
    QString statusAfterCancel;
    bool cancelEnabledAfterCancel = true;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* dialog = qobject_cast<TransmissionDialog*>(watched);
        if (!dialog || event->type() != QEvent::Show || dialog_ || end.seen) return false;
        dialog_ = dialog;
        QObject::connect(dialog, &QDialog::finished, this, [this, dialog](int result) {
            const int bar = child<QProgressBar>("progressBar")->value();
            end = {true, result, dialog->windowTitle(), status(), bar, dialog->sessionCancelled()};
            timer_.stop();
        });
        if (cancelAt_ >= 0) timer_.start();
        return false;
    }

private:
    template <typename T> T* child(const char* name) { return dialog_->findChild<T*>(QString::fromLatin1(name)); }
    QString status() { return child<QLineEdit>("statusEdit")->text(); }
    void pollProgress()
    {
        if (!dialog_ || cancelPressed || child<QProgressBar>("progressBar")->value() < cancelAt_) return;
        cancelPressed = true;
        timer_.stop();
        auto* cancel = child<QPushButton>("cancelButton");
        QTest::mouseClick(cancel, Qt::LeftButton);
        stillOpenAfterCancel = dialog_ && dialog_->isVisible();
        if (stillOpenAfterCancel) statusAfterCancel = status(), cancelEnabledAfterCancel = cancel->isEnabled();
    }
    int cancelAt_;
    QPointer<QDialog> dialog_;
    QTimer timer_;
};

} // namespace satorix::test

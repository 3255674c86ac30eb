#include "tests/transfer/TransferTestSupport.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/COrbitDoc.h"
#include "gui/BrowserState.h"
#include "gui/DocumentView.h"
#include "link/ui/TransmissionDialog.h"

namespace satorix::test {

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

std::unique_ptr<RecordingView> recordFirst(COrbitDoc& doc)
{
    const std::vector<DocumentView*> others = doc.views();
    for (DocumentView* v : others) doc.removeView(v);
    auto view = std::make_unique<RecordingView>(doc);
    for (DocumentView* v : others) doc.addView(v);
    return view;
}

} // namespace satorix::test

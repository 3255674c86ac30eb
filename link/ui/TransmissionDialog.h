#pragma once

#include <QDialog>
#include <QTimer>

#include "link/TransferContext.h"
#include "link/TransferReport.h"
#include "link/TransferWorker.h"

class QLineEdit;
class QProgressBar;
class QPushButton;

namespace satorix {

class ChannelDatabase;
class Prompter;

// Runs one transfer: starts the worker for its kind when it is shown, turns the worker's reports
// into texts, the progress bar and message boxes, and closes itself on the report that ends the
// transfer. Cancel only asks the worker to stop; the worker's closing report closes the dialog.
class TransmissionDialog : public QDialog {
    Q_OBJECT
public:
    TransmissionDialog(link::TransferContext& context, ChannelDatabase& db, Prompter& prompter,
                       QWidget* parent = nullptr);
    ~TransmissionDialog() override;

    // 1 download, 2 upload, 3 software upgrade; anything else runs nothing. Set before showing.
    void setKind(int kind) { kind_ = kind; }
    int kind() const { return kind_; }
    // The user cancelled, or the port could not be opened.
    bool sessionCancelled() const { return sessionCancelled_; }

    // Any thread: queues a report for the dialog. Reports that arrive once it has closed are dropped.
    void postReport(const link::TransferReport& report);

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void customEvent(QEvent* event) override;

private:
    bool knownKind() const { return kind_ >= 1 && kind_ <= 3; }
    void initDialog();
    void handleReport(const link::TransferReport& report);
    void closeWith(int result);
    void checkWorkerEnded();

    link::TransferContext& context_;
    ChannelDatabase& db_;
    Prompter& prompter_;
    link::TransferWorker worker_;
    int kind_ = 1;
    bool initialised_ = false;
    bool started_ = false;
    bool closing_ = false;
    bool sessionCancelled_ = false;
    QTimer watchdog_;

    QLineEdit* packet_ = nullptr;
    QLineEdit* frameRepeat_ = nullptr;
    QLineEdit* lastError_ = nullptr;
    QLineEdit* status_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace satorix

#pragma once

#include <atomic>
#include <thread>

#include "db/ChannelDatabase.h"
#include "link/TransferContext.h"
#include "link/TransferReport.h"

namespace satorix::link {

// Runs one transfer procedure on its own thread. The report callback is called on that thread and
// must not block; the last report of every transfer closes the transmission dialog. The owner
// keeps the context and the database alive until join() returns; the destructor cancels and joins.
class TransferWorker {
public:
    TransferWorker() = default;
    ~TransferWorker();
    TransferWorker(const TransferWorker&) = delete;
    TransferWorker& operator=(const TransferWorker&) = delete;

    // Clears the cancel flag and starts the procedure of kind. False when a transfer is still
    // running or no thread could be started; the latter posts REPORT_THREAD_FAILED.
    bool start(TransferKind kind, TransferContext& context, ChannelDatabase& db, ReportCallback report);
    // Asks the running transfer to stop; it ends with its closing report.
    void cancel();
    void join();
    bool finished() const { return finished_.load(); }
    // The procedure's result once finished: 0 when the transfer completed.
    int result() const { return result_.load(); }

private:
    std::thread thread_;
    TransferContext* context_ = nullptr;
    std::atomic<bool> finished_{true};
    std::atomic<int> result_{-1};
};

} // namespace satorix::link

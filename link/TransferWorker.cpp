#include "link/TransferWorker.h"

#include <system_error>
#include <utility>

#include "link/TransferProcedures.h"

namespace satorix::link {

TransferWorker::~TransferWorker()
{
    cancel();
    join();
}

bool TransferWorker::start(TransferKind kind, TransferContext& context, ChannelDatabase& db, ReportCallback report)
{
    if (!finished_.load()) return false;
    join();
    context_ = &context;
    context.cancelRequested.store(false);
    context.errorDetail.clear();
    context.softwareUnreadable = false;
    context.receivedBytes = 0;
    context.shortImage.clear();
    finished_.store(false);
    result_.store(-1);
    try {
        thread_ = std::thread([this, kind, &context, &db, report] {
            result_.store(runTransfer(kind, context, db, report));
            finished_.store(true);
        });
    } catch (const std::system_error&) {
        finished_.store(true);
        if (report) report({REPORT_THREAD_FAILED, 0});
        return false;
    }
    return true;
}

void TransferWorker::cancel()
{
    if (context_ && !finished_.load()) context_->cancelRequested.store(true);
}

void TransferWorker::join()
{
    if (thread_.joinable()) thread_.join();
}

} // namespace satorix::link

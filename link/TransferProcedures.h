#pragma once

#include <cstdint>
#include <memory>

#include "db/ChannelDatabase.h"
#include "link/TransferContext.h"
#include "link/TransferReport.h"

namespace satorix::link {

// The worker thread's procedures. Each opens the port, runs one session and closes the port again,
// reporting through report; the result is 0 only when the transfer completed.

// Receives the database region; the image changes only after a complete session.
int downloadProcedure(TransferContext& context, ChannelDatabase& db, const ReportCallback& report);
// Sends the image padded with zeros to the 1 MiB database region.
int uploadProcedure(TransferContext& context, const ChannelDatabase& db, const ReportCallback& report);
// Sends the software file named in the context, from its offset 64, as the region its length selects.
int upgradeProcedure(TransferContext& context, const ReportCallback& report);

int runTransfer(TransferKind kind, TransferContext& context, ChannelDatabase& db, const ReportCallback& report);

// Reads a software file whole, up to the largest region it could fill; length receives the
// file's full length and stored what was read. Null, with ctx.errorDetail set, when the file is no
// readable and writable regular file.
std::unique_ptr<std::uint8_t[]> readSoftwareFile(TransferContext& ctx, std::uint64_t& length, std::size_t& stored);

// Region type of a software file of that length (header included) and the size class reported.
std::uint32_t upgradeRegionType(std::uint64_t fileLength, std::uint32_t* sizeClass = nullptr);

} // namespace satorix::link

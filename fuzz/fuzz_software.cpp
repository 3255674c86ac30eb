// A software file through the upgrade's reader and region choice: the file read whole from disk,
// its identity taken from the header, the region type from its length, then the receiver's
// compatibility check and the region, address, size and block count chosen for it.
//
// Input: the receiver's 32-byte identity report, the 32-bit selector of its request, a 64-bit
// length for a second region choice (files of several MiB cost too much to write each run), then
// the software file's bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

#include "fuzz/FuzzInput.h"
#include "link/RegionRules.h"
#include "link/TransferProcedures.h"

using namespace satorix;
using namespace satorix::link;

namespace {

void chooseRegion(std::uint32_t kind, std::uint32_t selector, const StbIdentity& receiver, const StbIdentity& current)
{
    FileInfo info;
    if (identityCompatible(kind, selector, receiver, current))
        prepareRegion(kind, selector, receiver, current, info, [](const TransferReport&) {});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const int fd = ::memfd_create("fuzz_software.dlp", MFD_CLOEXEC);
    static const std::string path = "/proc/self/fd/" + std::to_string(fd);
    fuzz::Input in(data, size);
    std::uint8_t report[IDENTITY_SIZE] = {};
    const auto [id, idSize] = in.take(IDENTITY_SIZE);
    std::memcpy(report, id, idSize);
    const StbIdentity receiver = StbIdentity::fromBytes(report);
    const std::uint32_t selector = in.u32();
    const std::uint64_t otherLength = static_cast<std::uint64_t>(in.u32()) | static_cast<std::uint64_t>(in.u32()) << 32;
    const auto [file, fileSize] = in.take(in.left());
    if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, file, fileSize, 0) != static_cast<ssize_t>(fileSize)) abort();

    TransferContext ctx;
    ctx.softwarePath = path;
    std::uint64_t length = 0;
    std::size_t stored = 0;
    const auto buffer = readSoftwareFile(ctx, length, stored);
    if (!buffer) abort(); // a regular file that is there must be read
    if (length != fileSize || stored != fileSize || std::memcmp(buffer.get(), file, fileSize) != 0) abort();
    ctx.currentIdentity.assignPrefix(buffer.get(), std::min<std::size_t>(stored, 24));
    chooseRegion(upgradeRegionType(length), selector, receiver, ctx.currentIdentity);
    chooseRegion(upgradeRegionType(otherLength), selector, receiver, ctx.currentIdentity);
    chooseRegion(REGION_DATABASE, selector, receiver, OWN_IDENTITY);
    return 0;
}

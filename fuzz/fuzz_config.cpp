// The configuration block "tavolink.cfg" as the editor reads it at start: any file, short, long or
// nonsense, gives settings the editor can use, and writing them back keeps every byte it read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

#include "app/AppConfig.h"

using namespace satorix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const int in = ::memfd_create("fuzz_config.cfg", MFD_CLOEXEC);
    static const int out = ::memfd_create("fuzz_config.out", MFD_CLOEXEC);
    static const std::string inPath = "/proc/self/fd/" + std::to_string(in);
    static const std::string outPath = "/proc/self/fd/" + std::to_string(out);
    if (::ftruncate(in, 0) != 0 || ::pwrite(in, data, size, 0) != static_cast<ssize_t>(size)) abort();

    AppConfig config;
    config.read(inPath);
    const std::string last = config.lastPath();
    if (last.size() >= AppConfig::LAST_PATH_SIZE || last.find('\0') != std::string::npos) abort();
    if (size >= AppConfig::SIZE && std::memcmp(config.bytes().data(), data, AppConfig::SIZE) != 0) abort();
    (void)config.port();
    (void)config.baudRate();
    (void)config.openLastEdited();

    // Written back and read again, nothing changes.
    if (!config.write(outPath)) abort();
    AppConfig again;
    again.read(outPath);
    if (again.bytes() != config.bytes()) abort();
    config.setLastPath(last);
    if (config.lastPath() != last) abort();
    return 0;
}

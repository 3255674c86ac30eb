// A damaged database file through load() and every reader: getters, the row texts, the listing,
// the check and the provider purge must stay inside the image whatever the counters and indices say.
//
// Input: a flags byte (bit 0: write the listing, bit 1: a 32-bit file length follows, the file is
// cut there), then the counters and live records as fuzz::damage reads them.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

#include "db/DatabaseCheck.h"
#include "db/ProgramRowTexts.h"
#include "fuzz/FuzzInput.h"

using namespace satorix;

namespace {

void exercise(ChannelDatabase& db)
{
    int n = 0;
    for (int code = 499; code <= 524; ++code) db.getCount(code, n);
    RecordView rec;
    for (int type = DBT_SATELLITE; type <= DBT_FAVOURITE; ++type)
        for (int i : {-1, 0, 1, 8, 199, 200, 399, 400, 2999, 3000, 19999, 20000}) {
            rec.field[favf::POSITION] = i;
            db.getRecord(type, i, rec);
        }
    ProgramInfo info;
    for (std::uint32_t scope : {0u, SCOPE_PROGRAMS | SCOPE_TV_RADIO, scopeFav(0) | SCOPE_RADIO, scopeFav(8)})
        for (int i : {-1, 0, 1, 399, 20000}) db.getProgramInfo(scope, i, info);
    db.getProgramInfoRaw(0, info);
    std::uint32_t mask = 0;
    db.favouriteMask(0, mask);
    db.findTransponder(0, 0);
    db.findSatelliteByName("x");
    db.findByName(DBT_PROVIDER, "x");

    // The row texts and the check cost a hundred small runs on a full table; load() and the
    // getters above have already been through it.
    if (db.programsInUse() > 2000) return;
    const ProgramRowBuilder rows(db);
    RowTexts texts;
    std::vector<RowRef> refs;
    RowTextError err;
    for (std::uint32_t scope : {SCOPE_PROGRAMS | SCOPE_TV_RADIO, scopeFav(0) | SCOPE_RADIO, scopeFav(4) | SCOPE_TV}) {
        if (!rowsForScope(db, scope, refs, err)) continue;
        for (std::size_t i = 0; i < refs.size() && i < 100; ++i)
            rows.build(refs[i].programIndex, refs[i].position, texts);
        if (!refs.empty()) rows.build(refs.back().programIndex, refs.back().position, texts);
    }
    checkDatabase(db, {false, 50});
}

// The file load() reads: the sample image in memory, patched and restored around each run.
struct File {
    int fd = ::memfd_create("fuzz_database.si", MFD_CLOEXEC);
    std::string path = "/proc/self/fd/" + std::to_string(fd);
    std::vector<std::uint8_t> image = fuzz::sampleImage();

    File() { restore(0, IMAGE_SIZE); }
    void write(std::size_t offset, std::size_t size)
    {
        if (::pwrite(fd, image.data() + offset, size, static_cast<off_t>(offset)) != static_cast<ssize_t>(size))
            abort();
    }
    void restore(std::size_t offset, std::size_t size)
    {
        std::memcpy(image.data() + offset, fuzz::sampleImage().data() + offset, size);
        write(offset, size);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static File file;
    static auto db = std::make_unique<ChannelDatabase>();
    fuzz::Input in(data, size);
    const std::uint8_t flags = in.byte();
    const std::size_t length = (flags & 2) ? in.u32() % IMAGE_SIZE : IMAGE_SIZE;
    std::vector<fuzz::Span> spans;
    fuzz::damage(file.image.data(), in, spans);
    for (const fuzz::Span& s : spans) file.write(s.offset, s.size);
    if (length < IMAGE_SIZE && ::ftruncate(file.fd, static_cast<off_t>(length)) != 0) abort();

    const bool listing =
        (flags & 1) && (file.image[layout::PROGRAM_COUNT] | file.image[layout::PROGRAM_COUNT + 1] << 8) <= 2000;
    db->setListingPath(listing ? "/dev/null" : "");
    // A load that fails early leaves the purge undone.
    if (db->load(file.path) != 0) db->purgeUnusedProviders();
    exercise(*db);

    for (const fuzz::Span& s : spans) file.restore(s.offset, s.size);
    if (length < IMAGE_SIZE) {
        if (::ftruncate(file.fd, IMAGE_SIZE) != 0) abort();
        file.write(length, IMAGE_SIZE - length);
    }
    return 0;
}

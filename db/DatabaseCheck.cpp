#include "DatabaseCheck.h"

#include <cstdio>

namespace satorix {
namespace {

class Problems {
public:
    Problems(std::vector<std::string>& out, std::size_t max) : out_(out), max_(max) {}
    template <typename... Args> void add(const char* fmt, Args... args)
    {
        ++total_;
        if (out_.size() >= max_) return;
        char buf[200];
        std::snprintf(buf, sizeof buf, fmt, args...);
        out_.emplace_back(buf);
    }
    void finish()
    {
        if (total_ > out_.size()) out_.push_back("... and " + std::to_string(total_ - out_.size()) + " more");
    }

private:
    std::vector<std::string>& out_;
    std::size_t max_;
    std::size_t total_ = 0;
};

void checkCounters(const ChannelDatabase& db, Problems& p)
{
    if (db.satelliteCount() > MAX_SATELLITES)
        p.add("satellite count %d exceeds %d", db.satelliteCount(), MAX_SATELLITES);
    if (db.programCount() > MAX_PROGRAMS) p.add("program count %d exceeds %d", db.programCount(), MAX_PROGRAMS);
    if (db.tvProgramCount() > db.programCount())
        p.add("TV program count %d exceeds program count %d", db.tvProgramCount(), db.programCount());
    if (db.transponderCount() > MAX_TRANSPONDERS)
        p.add("transponder count %d exceeds %d", db.transponderCount(), MAX_TRANSPONDERS);
    if (db.providerCount() > MAX_PROVIDERS) p.add("provider count %d exceeds %d", db.providerCount(), MAX_PROVIDERS);
}

void checkPrograms(const ChannelDatabase& db, Problems& p)
{
    const int n = db.programsInUse();
    for (int i = 0; i < n; ++i) {
        const std::size_t o = DatabaseImage::programOffset(i);
        const int provider = db.raw().u16(o + layout::prog::PROVIDER);
        const int tp = db.raw().u16(o + layout::prog::TRANSPONDER);
        if (provider >= db.providersInUse())
            p.add("program %d: provider index %d out of range (%d providers)", i, provider, db.providerCount());
        if (tp >= db.transpondersInUse())
            p.add("program %d: transponder index %d out of range (%d transponders)", i, tp, db.transponderCount());
    }
}

void checkTransponders(const ChannelDatabase& db, Problems& p)
{
    std::array<bool, 256> known{};
    const int sats = db.satellitesInUse();
    for (int s = 0; s < sats; ++s) {
        const int id = db.raw().u16(DatabaseImage::satelliteOffset(s) + layout::sat::ID);
        if (id < 256) known[static_cast<std::size_t>(id)] = true;
    }
    const int n = db.transpondersInUse();
    for (int t = 0; t < n; ++t) {
        const int id = db.raw().u8(DatabaseImage::transponderOffset(t) + layout::tp::SAT_ID);
        if (!known[static_cast<std::size_t>(id)]) p.add("transponder %d: no satellite with id %d", t, id);
    }
}

void checkFavourites(const ChannelDatabase& db, Problems& p)
{
    const int programs = db.programsInUse();
    const int tv = db.tvProgramCount();
    for (int l = 0; l < FAV_LISTS; ++l) {
        const int count = db.favCount(l), tvCount = db.favTvCount(l);
        if (count > FAV_ENTRIES) p.add("favourite list %d: %d entries exceed %d", l + 1, count, FAV_ENTRIES);
        if (tvCount > count)
            p.add("favourite list %d: TV entry count %d exceeds entry count %d", l + 1, tvCount, count);
        const int n = db.favInUse(l);
        for (int c = 0; c < n; ++c) {
            const int e = db.favEntry(l, c);
            if (e >= programs) {
                p.add("favourite list %d: entry %d names program %d (%d programs)", l + 1, c, e, db.programCount());
                continue;
            }
            const bool tvPart = c < tvCount;
            const bool isTv = e < tv;
            if (tvPart && !isTv) p.add("favourite list %d: radio program %d in the TV part at %d", l + 1, e, c);
            if (!tvPart && isTv) p.add("favourite list %d: TV program %d in the radio part at %d", l + 1, e, c);
        }
    }
}

} // namespace

std::vector<std::string> checkDatabase(const ChannelDatabase& db, const CheckOptions& options)
{
    std::vector<std::string> out;
    Problems p(out, options.maxProblems);
    if (options.checkCrc && db.storedCrc() != db.computeCrc())
        p.add("CRC mismatch: stored %08X, computed %08X", db.storedCrc(), db.computeCrc());
    checkCounters(db, p);
    checkPrograms(db, p);
    checkTransponders(db, p);
    checkFavourites(db, p);
    p.finish();
    return out;
}

} // namespace satorix

#include "SampleGenerator.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "DatabaseBuilder.h"
#include "PredefinedSatellites.h"

namespace satorix {
namespace {

constexpr std::array kSampleSatellites = {"Astra 1E-2C",   "Hotbird 2-8",   "Astra 2",  "Eutelsat W2",
                                          "Turksat 1C-2A", "Hispasat1C-1D", "Thor 2,3", "Badr-C"};

constexpr std::array kTvWords = {"Nova", "Alpha", "Delta", "Orbit",  "Euro",    "Star",   "Sun",   "Blue",
                                 "Kino", "Sport", "News",  "Music",  "Kids",    "Film",   "Info",  "Travel",
                                 "Life", "Mega",  "Prime", "Vision", "Classic", "Global", "Royal", "Metro"};
constexpr std::array kTvSuffixes = {"TV", "One", "Plus", "HD", "24", "Max", "Live", "World", "Gold", "2"};
constexpr std::array kRadioWords = {"Jazz", "Rock", "Classic", "Folk", "Talk", "Hits", "Pop", "Dance", "Coast", "City"};
constexpr std::array kProviderWords = {"Nordsat", "Mediacast", "Euronet",   "Skyline",   "Telestar", "Globecom",
                                       "Orbital", "Broadview", "Kinomedia", "Radiowave", "Digitel",  "Polaris"};
constexpr std::array kFavNames = {"News", "Sport", "Movies", "Kids", "Music", "Documentary", "Fav_7", "Fav_8", "Radio"};

class Generator {
public:
    Generator(ChannelDatabase& db, const SampleOptions& o) : db_(db), b_(db), rng_(o.seed), full_(o.full) {}

    void run()
    {
        db_.assignImage(nullptr, 0);
        addSatellites();
        addTransponders();
        addProviders();
        addPrograms();
        addFavourites();
        b_.finish();
    }

private:
    int pick(int n) { return static_cast<int>(rng_() % static_cast<std::uint32_t>(n)); }

    void addSatellites()
    {
        const auto table = predefinedSatellites();
        std::vector<const PredefinedSatellite*> rows;
        if (full_) {
            for (const auto& r : table) rows.push_back(&r);
        } else {
            for (const char* name : kSampleSatellites) rows.push_back(&table[findPredefinedSatellite(name)]);
        }
        int id = 1;
        for (const auto* r : rows)
            b_.addSatellite({id++, r->position, r->name, r->lnbLowLo, r->lnbHighLo, r->diseqcMode, r->tone22k,
                             r->diseqc12, r->positionerNo, r->eastWest, r->diseqc11Port});
        while (full_ && id <= MAX_SATELLITES) {
            char name[32];
            std::snprintf(name, sizeof name, "User Sat %d", id);
            b_.addSatellite({id, 10 * pick(1800), name, 9750, 10600, 0, 0, 0, 0, pick(2) ? 'E' : 'W', 0});
            ++id;
        }
    }

    void addTransponders()
    {
        const int sats = db_.satelliteCount();
        for (int s = 0; s < sats; ++s) {
            const std::size_t so = DatabaseImage::satelliteOffset(s);
            const int id = db_.raw().u16(so + layout::sat::ID);
            const bool cBand = db_.raw().u16(so + layout::sat::LNB_LOW) == 5150;
            const int n = full_ ? MAX_TRANSPONDERS / sats + (s < MAX_TRANSPONDERS % sats ? 1 : 0) : 5 + pick(5);
            std::set<int> freqs;
            while (static_cast<int>(freqs.size()) < n) freqs.insert(cBand ? 3400 + 2 * pick(400) : 10700 + pick(2050));
            for (int f : freqs) {
                static constexpr std::array kRates = {27500, 22000, 29900, 30000, 6111};
                static constexpr std::array kFecs = {0, 2, 3, 5, 7};
                const int pol = cBand ? 2 + pick(2) : pick(2);
                b_.addTransponder({id, f, pol, kRates[static_cast<std::size_t>(pick(5))],
                                   kFecs[static_cast<std::size_t>(pick(5))], 1000 + db_.transponderCount(), id,
                                   1 + id * 3});
            }
        }
    }

    void addProviders()
    {
        const int n = full_ ? MAX_PROVIDERS : 24;
        for (int i = 0; i < n; ++i) {
            std::string name = kProviderWords[static_cast<std::size_t>(i) % kProviderWords.size()];
            if (i >= static_cast<int>(kProviderWords.size())) name += " " + std::to_string(i);
            b_.addProvider(name);
        }
    }

    std::string programName(bool tv, int i)
    {
        std::string name;
        if (tv) {
            name = std::string(kTvWords[static_cast<std::size_t>(pick(kTvWords.size()))]) + " " +
                   kTvSuffixes[static_cast<std::size_t>(pick(kTvSuffixes.size()))];
        } else {
            name = std::string("Radio ") + kRadioWords[static_cast<std::size_t>(pick(kRadioWords.size()))];
        }
        if (full_) name += " " + std::to_string(i);
        if (i % 17 == 5) name.insert(name.begin(), '\x05'); // DVB character-table selector
        return name.substr(0, 15);
    }

    void addPrograms()
    {
        const int tv = full_ ? 15000 : 240;
        const int radio = full_ ? 5000 : 90;
        const int tps = db_.transponderCount();
        const int providers = db_.providerCount();
        for (int i = 0; i < tv + radio; ++i) {
            const bool isTv = i < tv;
            ProgramFields p;
            p.name = programName(isTv, i);
            p.provider = i % providers;
            p.transponder = full_ ? i % tps : pick(tps);
            p.serviceId = 1000 + i;
            const int base = 0x100 + 0x10 * (i % 200);
            p.videoPid = isTv ? base : PID_RESERVED;
            p.audioPid = base + 1;
            p.pcrPid = isTv ? base : base + 1;
            if (i % 29 == 3) p.videoPid = p.audioPid = p.pcrPid = PID_AUTO;
            if (pick(4) == 0) p.flags |= FLAG_SCRAMBLED;
            if (pick(25) == 0) p.flags |= FLAG_LOCKED;
            if (pick(40) == 0) p.flags |= FLAG_SCPC;
            if (pick(30) == 0) p.flags |= FLAG_USER;
            if (isTv)
                b_.addTvProgram(p);
            else
                b_.addRadioProgram(p);
        }
    }

    // Distinct program indices from [from, to), in random order.
    std::vector<int> distinct(int from, int to, int n)
    {
        std::vector<int> all;
        for (int i = from; i < to; ++i) all.push_back(i);
        std::shuffle(all.begin(), all.end(), rng_);
        all.resize(static_cast<std::size_t>(std::min(n, to - from)));
        return all;
    }

    void addFavourites()
    {
        static constexpr std::array<std::array<int, 2>, FAV_LISTS> kSmall = {
            {{20, 5}, {15, 0}, {25, 0}, {10, 0}, {8, 20}, {12, 0}, {0, 0}, {0, 0}, {0, 30}}};
        const int tv = db_.tvProgramCount(), all = db_.programCount();
        for (int l = 0; l < FAV_LISTS; ++l) {
            b_.setFavouriteName(l, kFavNames[static_cast<std::size_t>(l)]);
            const int nTv = full_ ? 300 : kSmall[static_cast<std::size_t>(l)][0];
            const int nRadio = full_ ? 99 : kSmall[static_cast<std::size_t>(l)][1];
            for (int p : distinct(0, tv, nTv)) b_.addFavourite(l, p);
            for (int p : distinct(tv, all, nRadio)) b_.addFavourite(l, p);
        }
    }

    ChannelDatabase& db_;
    DatabaseBuilder b_;
    std::mt19937 rng_;
    bool full_;
};

} // namespace

void generateSample(ChannelDatabase& db, const SampleOptions& options) { Generator(db, options).run(); }

} // namespace satorix

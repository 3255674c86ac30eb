#include "ProgramRowTexts.h"

#include <cstdio>

#include "Lookups.h"
#include "Names.h"

namespace satorix {

const std::array<RowColumn, ROW_COLUMNS> kRowColumns = {{{"Ch Index", 75},
                                                         {"Channel Name", 130},
                                                         {"Ch Status", 75},
                                                         {"Provider", 130},
                                                         {"Satellite", 130},
                                                         {"Tr. Frequency", 80},
                                                         {"Symbolrate", 65},
                                                         {"Pol.", 40},
                                                         {"FEC", 50},
                                                         {"FAVs", 70}}};

ProgramRowBuilder::ProgramRowBuilder(const ChannelDatabase& db)
    : db_(db), favBits_(favouriteBits(db)), satelliteById_(satelliteIndexById(db))
{
}

std::uint16_t ProgramRowBuilder::favBits(int programIndex) const
{
    return (programIndex >= 0 && programIndex < MAX_PROGRAMS) ? favBits_[programIndex] : 0;
}

namespace {

std::string number(int v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d", v);
    return buf;
}

} // namespace

RowTextError ProgramRowBuilder::build(int programIndex, int position, RowTexts& out) const
{
    for (auto& c : out) c.clear();
    RowTextError err;
    auto fail = [&err](int type, int code) {
        if (!err.failed()) err = {type, code};
    };

    char idx[16];
    std::snprintf(idx, sizeof idx, "%04d", position + 1);
    out[0] = idx;

    RecordView prog;
    if (int r = db_.getRecord(DBT_PROGRAM, programIndex, prog); r != 0) {
        fail(DBT_PROGRAM, r);
        return err;
    }
    // Names as UTF-8 text, read in their own character table.
    out[1] = decodeName(boundedName(prog.name[0]), db_.nameTable());

    std::string status = "     ";
    status[0] = programIndex < db_.tvProgramCount() ? 'T' : 'R';
    const int flags = prog.field[progf::FLAGS];
    if (flags & FLAG_LOCKED) status[2] = 'L';
    if (flags & FLAG_SCPC) status[3] = 'S';
    if (flags & FLAG_SCRAMBLED) status[4] = 'C';
    out[2] = status;

    RecordView provider;
    if (int r = db_.getRecord(DBT_PROVIDER, prog.field[progf::PROVIDER], provider); r != 0)
        fail(DBT_PROVIDER, r);
    else
        out[3] = decodeName(boundedName(provider.name[0]), db_.nameTable());

    RecordView tp;
    if (int r = db_.getRecord(DBT_TRANSPONDER, prog.field[progf::TRANSPONDER], tp); r != 0) {
        fail(DBT_TRANSPONDER, r);
    } else {
        const int sat = satelliteById_[static_cast<std::size_t>(tp.field[tpf::SAT_ID])];
        RecordView satellite;
        if (int rs = db_.getRecord(DBT_SATELLITE, sat, satellite); rs != 0)
            fail(DBT_SATELLITE, rs);
        else
            out[4] = decodeName(boundedName(satellite.name[0]), db_.nameTable());
        out[5] = number(tp.field[tpf::FREQUENCY]);
        out[6] = number(tp.field[tpf::SYMBOL_RATE]);
        static const char* const pol[] = {"H", "V", "L", "R"};
        out[7] = tp.field[tpf::POLARISATION] < 4 ? pol[tp.field[tpf::POLARISATION]] : " ";
        out[8] = tp.field[tpf::FEC] == 0 ? "DVBS" : (tp.field[tpf::FEC] <= 7 ? "DVBS2" : "    ");
    }

    std::string favs(9, ' ');
    const std::uint16_t bits = favBits(programIndex);
    for (int l = 0; l < FAV_LISTS; ++l)
        if (bits & (1u << l)) favs[l] = static_cast<char>('1' + l);
    out[9] = favs;
    return err;
}

bool rowsForScope(const ChannelDatabase& db, std::uint32_t scope, std::vector<RowRef>& rows, RowTextError& error)
{
    rows.clear();
    int n = 0, t = 0, list = -1;
    if (scope & SCOPE_PROGRAMS) {
        n = db.programsInUse();
        t = std::min(db.tvProgramCount(), n);
    } else {
        list = scopeFavList(scope);
        if (list < 0) return false;
        RecordView rec;
        rec.field[favf::POSITION] = 0;
        if (int r = db.getRecord(DBT_FAVOURITE, list, rec); r != 0) {
            error = {DBT_FAVOURITE, r};
            return false;
        }
        n = db.favInUse(list);
        t = std::min(db.favTvCount(list), n);
    }
    int from = 0, to = n;
    if (scope & SCOPE_TV)
        to = t;
    else if (scope & SCOPE_RADIO)
        from = t;
    rows.reserve(static_cast<std::size_t>(to - from));
    for (int p = from; p < to; ++p) rows.push_back({p, list < 0 ? p : db.favEntry(list, p)});
    return true;
}

} // namespace satorix

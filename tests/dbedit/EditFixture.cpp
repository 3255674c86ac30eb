#include "tests/dbedit/EditFixture.h"

#include <string>

namespace satorix::test {

void EditFixture::build(int tv, int radio)
{
    db.assignImage(nullptr, 0);
    DatabaseBuilder b(db);
    b.addSatellite({1, 192, "Astra"});
    b.addSatellite({2, 130, "Hotbird"});
    b.addTransponder({1, 11000});
    b.addTransponder({1, 12000});
    b.addTransponder({2, 10800});
    for (const char* p : {"Alpha", "Beta", "Gamma"}) b.addProvider(p);
    for (int i = 0; i < tv + radio; ++i) {
        ProgramFields s{(i < tv ? "TV " : "Radio ") + std::to_string(i), i % 3, i % 3, 100 + i, 0x100, 0x101, 0x100};
        i < tv ? b.addTvProgram(s) : b.addRadioProgram(s);
    }
    for (int l = 0; l < FAV_LISTS; ++l) b.setFavouriteName(l, "Fav_" + std::to_string(l + 1));
    db.setLoaded(true); // no CRC: editing leaves it to the caller, and thousands of databases are built
    messages.clear();
}

void EditFixture::setList(int l, const V& programs)
{
    db.setFavCount(l, 0);
    db.setFavTvCount(l, 0);
    for (int p : programs) DatabaseBuilder(db).addFavourite(l, p);
}

VV EditFixture::parts(int l) const
{
    const V all = entries(l);
    const auto tv = all.begin() + std::min<std::ptrdiff_t>(db.favTvCount(l), std::ssize(all));
    return {V(all.begin(), tv), V(tv, all.end())};
}

RecordView EditFixture::program(int serviceId, const char* name) const
{
    RecordView r;
    r.field[progf::SERVICE_ID] = serviceId;
    r.field[progf::VIDEO_PID] = r.field[progf::PCR_PID] = 0x200;
    r.field[progf::AUDIO_PID] = 0x201;
    r.name[0] = name;
    return r;
}

RecordView EditFixture::tp(int satelliteId, int frequency, int symbolRate)
{
    RecordView r;
    r.field[tpf::SAT_ID] = satelliteId;
    r.field[tpf::FREQUENCY] = frequency;
    r.field[tpf::SYMBOL_RATE] = symbolRate;
    return r;
}

void EditFixture::liftFromTable(const V& rows, int offset)
{
    db.setDragInProgress(true);
    db.dragList().clear();
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const int row = offset + rows[k] - static_cast<int>(k);
        ProgramInfo item;
        ASSERT_EQ(0, db.getProgramInfo(0, row, item));
        ASSERT_EQ(0, db.recordOp(DBT_PROGRAM, OP_DELETE, row, RecordView{}));
        item.programIndex = rows[k];
        db.dragList().push_back(item);
    }
}

void EditFixture::copyRows(const V& rows, bool cut)
{
    ProgramClipboard& clip = db.clipboard();
    clip.clear();
    for (int r : rows) {
        ProgramInfo item;
        ASSERT_EQ(0, db.getProgramInfoRaw(r, item));
        item.programIndex = cut ? -1 : r;
        clip.push_back(item);
    }
    for (auto it = rows.rbegin(); cut && it != rows.rend(); ++it) {
        std::uint32_t mask = 0;
        db.favouriteMask(*it, mask);
        ASSERT_EQ(0, db.deleteProgram(*it, mask, TABLE, "Satellites"));
    }
}

} // namespace satorix::test

#include "Records.h"

#include <cstring>

#include "Names.h"

namespace satorix {

namespace {
std::uint8_t u8Of(const RecordView& rec, int f)
{
    return static_cast<std::uint8_t>(rec.field[static_cast<std::size_t>(f)]);
}
std::uint16_t u16Of(const RecordView& rec, int f)
{
    return static_cast<std::uint16_t>(rec.field[static_cast<std::size_t>(f)]);
}
} // namespace

void writeName(char* field, const char* name, NameWrite how)
{
    switch (how) {
    case NameWrite::Skip: return;
    case NameWrite::Whole: std::memcpy(field, name, NAME_LEN); return;
    case NameWrite::Padded: copyName(field, name); return;
    case NameWrite::Terminated: {
        if (!name) name = "";
        const std::size_t len = strnlen(name, NAME_LEN);
        std::memcpy(field, name, len);
        if (len < NAME_LEN) field[len] = '\0';
        return;
    }
    }
}

SatelliteRecord SatelliteRecord::read(const DatabaseImage& img, int i)
{
    const std::size_t o = DatabaseImage::satelliteOffset(i);
    namespace s = layout::sat;
    SatelliteRecord r;
    r.id = img.u16(o + s::ID);
    r.position = img.u16(o + s::POSITION);
    r.tally = img.u16(o + s::TALLY);
    r.lnbLow = img.u16(o + s::LNB_LOW);
    r.lnbHigh = img.u16(o + s::LNB_HIGH);
    r.diseqcMode = static_cast<std::int8_t>(img.u8(o + s::DISEQC_MODE));
    r.tone22k = static_cast<std::int8_t>(img.u8(o + s::TONE22K));
    r.diseqc12 = img.u8(o + s::DISEQC12);
    r.positioner = img.u8(o + s::POSITIONER);
    r.reserved2 = img.u8(o + s::RESERVED2);
    r.eastWest = static_cast<std::int8_t>(img.u8(o + s::EAST_WEST));
    r.diseqc11 = img.u16(o + s::DISEQC11);
    r.name = img.namePtr(o + s::NAME);
    return r;
}

void SatelliteRecord::write(DatabaseImage& img, int i, NameWrite how) const
{
    const std::size_t o = DatabaseImage::satelliteOffset(i);
    namespace s = layout::sat;
    img.setU16(o + s::ID, id);
    img.setU16(o + s::POSITION, position);
    img.setU16(o + s::TALLY, tally);
    img.setU16(o + s::LNB_LOW, lnbLow);
    img.setU16(o + s::LNB_HIGH, lnbHigh);
    img.setU8(o + s::DISEQC_MODE, static_cast<std::uint8_t>(diseqcMode));
    img.setU8(o + s::TONE22K, static_cast<std::uint8_t>(tone22k));
    img.setU8(o + s::DISEQC12, diseqc12);
    img.setU8(o + s::POSITIONER, positioner);
    img.setU8(o + s::RESERVED2, reserved2);
    img.setU8(o + s::EAST_WEST, static_cast<std::uint8_t>(eastWest));
    img.setU16(o + s::DISEQC11, diseqc11);
    writeName(img.namePtr(o + s::NAME), name, how);
}

SatelliteRecord SatelliteRecord::fromView(const RecordView& rec)
{
    SatelliteRecord r;
    r.id = u16Of(rec, satf::ID);
    r.position = u16Of(rec, satf::POSITION);
    r.tally = u16Of(rec, satf::TALLY);
    r.lnbLow = u16Of(rec, satf::LNB_LOW);
    r.lnbHigh = u16Of(rec, satf::LNB_HIGH);
    r.diseqcMode = static_cast<std::int8_t>(u8Of(rec, satf::DISEQC_MODE));
    r.tone22k = static_cast<std::int8_t>(u8Of(rec, satf::TONE22K));
    r.diseqc12 = u8Of(rec, satf::DISEQC12);
    r.positioner = u8Of(rec, satf::POSITIONER);
    r.reserved2 = u8Of(rec, satf::RESERVED2);
    r.eastWest = static_cast<std::int8_t>(u8Of(rec, satf::EAST_WEST));
    r.diseqc11 = u16Of(rec, satf::DISEQC11);
    r.name = rec.name[0];
    return r;
}

void SatelliteRecord::toView(RecordView& rec) const
{
    rec.field[satf::ID] = id;
    rec.field[satf::POSITION] = position;
    rec.field[satf::TALLY] = tally;
    rec.field[satf::LNB_LOW] = lnbLow;
    rec.field[satf::LNB_HIGH] = lnbHigh;
    rec.field[satf::DISEQC_MODE] = diseqcMode;
    rec.field[satf::TONE22K] = tone22k;
    rec.field[satf::DISEQC12] = diseqc12;
    rec.field[satf::POSITIONER] = positioner;
    rec.field[satf::RESERVED2] = reserved2;
    rec.field[satf::EAST_WEST] = eastWest;
    rec.field[satf::DISEQC11] = diseqc11;
    rec.name[0] = name;
}

TransponderRecord TransponderRecord::read(const DatabaseImage& img, int i)
{
    const std::size_t o = DatabaseImage::transponderOffset(i);
    namespace t = layout::tp;
    TransponderRecord r;
    r.satelliteId = img.u8(o + t::SAT_ID);
    r.polarisation = img.u8(o + t::POLARISATION);
    r.fec = img.u8(o + t::FEC);
    r.tsid = img.u16(o + t::TSID);
    r.nid = img.u16(o + t::NID);
    r.onid = img.u16(o + t::ONID);
    r.frequency = img.u16(o + t::FREQUENCY);
    r.symbolRate = img.u16(o + t::SYMBOL_RATE);
    return r;
}

void TransponderRecord::write(DatabaseImage& img, int i) const
{
    const std::size_t o = DatabaseImage::transponderOffset(i);
    namespace t = layout::tp;
    img.setU8(o + t::SAT_ID, satelliteId);
    img.setU8(o + t::POLARISATION, polarisation);
    img.setU8(o + t::FEC, fec);
    img.setU16(o + t::TSID, tsid);
    img.setU16(o + t::NID, nid);
    img.setU16(o + t::ONID, onid);
    img.setU16(o + t::FREQUENCY, frequency);
    img.setU16(o + t::SYMBOL_RATE, symbolRate);
}

TransponderRecord TransponderRecord::fromView(const RecordView& rec)
{
    TransponderRecord r;
    r.satelliteId = u8Of(rec, tpf::SAT_ID);
    r.polarisation = u8Of(rec, tpf::POLARISATION);
    r.fec = u8Of(rec, tpf::FEC);
    r.tsid = u16Of(rec, tpf::TSID);
    r.nid = u16Of(rec, tpf::NID);
    r.onid = u16Of(rec, tpf::ONID);
    r.frequency = u16Of(rec, tpf::FREQUENCY);
    r.symbolRate = u16Of(rec, tpf::SYMBOL_RATE);
    return r;
}

void TransponderRecord::toView(RecordView& rec) const
{
    rec.field[tpf::SAT_ID] = satelliteId;
    rec.field[tpf::POLARISATION] = polarisation;
    rec.field[tpf::FEC] = fec;
    rec.field[tpf::TSID] = tsid;
    rec.field[tpf::NID] = nid;
    rec.field[tpf::ONID] = onid;
    rec.field[tpf::FREQUENCY] = frequency;
    rec.field[tpf::SYMBOL_RATE] = symbolRate;
}

ProgramRecord ProgramRecord::read(const DatabaseImage& img, int i)
{
    const std::size_t o = DatabaseImage::programOffset(i);
    namespace p = layout::prog;
    ProgramRecord r;
    r.serviceId = img.u16(o + p::SERVICE_ID);
    r.provider = img.u16(o + p::PROVIDER);
    r.transponder = img.u16(o + p::TRANSPONDER);
    r.videoPid = img.u16(o + p::VIDEO_PID);
    r.audioPid = img.u16(o + p::AUDIO_PID);
    r.pcrPid = img.u16(o + p::PCR_PID);
    r.flags = img.u16(o + p::FLAGS);
    r.name = img.namePtr(o + p::NAME);
    return r;
}

void ProgramRecord::write(DatabaseImage& img, int i, NameWrite how) const
{
    const std::size_t o = DatabaseImage::programOffset(i);
    namespace p = layout::prog;
    img.setU16(o + p::SERVICE_ID, serviceId);
    img.setU16(o + p::PROVIDER, provider);
    img.setU16(o + p::TRANSPONDER, transponder);
    img.setU16(o + p::VIDEO_PID, videoPid);
    img.setU16(o + p::AUDIO_PID, audioPid);
    img.setU16(o + p::PCR_PID, pcrPid);
    img.setU16(o + p::FLAGS, flags);
    writeName(img.namePtr(o + p::NAME), name, how);
}

ProgramRecord ProgramRecord::fromView(const RecordView& rec)
{
    ProgramRecord r;
    r.serviceId = u16Of(rec, progf::SERVICE_ID);
    r.provider = u16Of(rec, progf::PROVIDER);
    r.transponder = u16Of(rec, progf::TRANSPONDER);
    r.videoPid = u16Of(rec, progf::VIDEO_PID);
    r.audioPid = u16Of(rec, progf::AUDIO_PID);
    r.pcrPid = u16Of(rec, progf::PCR_PID);
    r.flags = u16Of(rec, progf::FLAGS);
    r.name = rec.name[0];
    return r;
}

void ProgramRecord::toView(RecordView& rec) const
{
    rec.field[progf::SERVICE_ID] = serviceId;
    rec.field[progf::PROVIDER] = provider;
    rec.field[progf::TRANSPONDER] = transponder;
    rec.field[progf::VIDEO_PID] = videoPid;
    rec.field[progf::AUDIO_PID] = audioPid;
    rec.field[progf::PCR_PID] = pcrPid;
    rec.field[progf::FLAGS] = flags;
    rec.name[0] = name;
}

} // namespace satorix

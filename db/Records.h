#pragma once

// The one place each record's layout is read and written: typed record <-> image bytes <-> RecordView.
// A record holds what the editor sets; the bytes it does not name stay in the slot as they were.

#include <cstdint>

#include "DatabaseImage.h"
#include "RecordView.h"

namespace satorix {

// How a write stores the name; each caller keeps the habit the receiver's tools had.
enum class NameWrite {
    Skip,       // leave the name field alone
    Whole,      // all 16 bytes as given (a character-table byte and the bytes after the NUL travel)
    Padded,     // at most 16 characters, the rest of the field zeroed
    Terminated, // a bounded string copy: the bytes behind the terminator stay
};
void writeName(char* field, const char* name, NameWrite how);

struct SatelliteRecord {
    std::uint16_t id = 0, position = 0, tally = 0, lnbLow = 0, lnbHigh = 0;
    std::int8_t diseqcMode = 0, tone22k = 0;
    std::uint8_t diseqc12 = 0, positioner = 0, reserved2 = 0;
    std::int8_t eastWest = 0;
    std::uint16_t diseqc11 = 0;
    const char* name = nullptr; // into the image after read; at most 16 bytes

    static SatelliteRecord read(const DatabaseImage& img, int i);
    void write(DatabaseImage& img, int i, NameWrite how) const;
    static SatelliteRecord fromView(const RecordView& rec); // fields narrowed to their width
    void toView(RecordView& rec) const;                     // signed fields sign-extended
};

struct TransponderRecord {
    std::uint8_t satelliteId = 0, polarisation = 0, fec = 0;
    std::uint16_t tsid = 0, nid = 0, onid = 0, frequency = 0, symbolRate = 0;

    static TransponderRecord read(const DatabaseImage& img, int i);
    void write(DatabaseImage& img, int i) const;
    static TransponderRecord fromView(const RecordView& rec);
    void toView(RecordView& rec) const; // field 1 is left as it was
    bool operator==(const TransponderRecord&) const = default;
};

// The reserved word is not part of it: it moves with the slot and is never set by the editor.
struct ProgramRecord {
    std::uint16_t serviceId = 0, provider = 0, transponder = 0, videoPid = 0, audioPid = 0, pcrPid = 0, flags = 0;
    const char* name = nullptr;

    static ProgramRecord read(const DatabaseImage& img, int i);
    void write(DatabaseImage& img, int i, NameWrite how) const;
    static ProgramRecord fromView(const RecordView& rec);
    void toView(RecordView& rec) const;
};

} // namespace satorix

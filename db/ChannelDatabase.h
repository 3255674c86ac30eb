#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "DatabaseImage.h"
#include "DbTypes.h"
#include "NameCodec.h"
#include "ProgramInfo.h"
#include "RecordView.h"

namespace satorix {

enum class MessageIcon { None, Exclamation, Stop, Information, Question };

// Receives the messages the database shows itself ("Database is full.", "Open1", ...).
using Notifier = std::function<void(const std::string& text, MessageIcon icon)>;

// The one channel database: a fixed 721,968-byte image in the receiver's layout.
// Counters come from files and the line and are never trusted: every loop is bounded
// by the table's capacity and every index is checked before the image is touched.
class ChannelDatabase {
public:
    ChannelDatabase();
    ChannelDatabase(const ChannelDatabase&) = delete;
    ChannelDatabase& operator=(const ChannelDatabase&) = delete;

    // --- image and object state ---
    std::uint8_t* imageBase(std::uint32_t version);
    const std::uint8_t* imageBase(std::uint32_t version) const;
    static std::size_t imageSize(std::uint32_t version);
    std::uint8_t* image() { return image_.data(); }
    const std::uint8_t* image() const { return image_.data(); }

    std::uint32_t version() const { return version_; }
    void setVersion(std::uint32_t v) { version_ = v; }
    std::uint32_t loadedVersion() const { return loadedVersion_; }
    void setLoadedVersion(std::uint32_t v) { loadedVersion_ = v; }
    bool isLoaded() const { return loaded_ != 0; }
    void setLoaded(bool on) { loaded_ = on ? 1 : 0; }

    // The table of names that name none themselves (a setting of the program, not of the image).
    NameTable nameTable() const { return nameTable_; }
    void setNameTable(NameTable table) { nameTable_ = table; }

    void setNotifier(Notifier n) { notifier_ = std::move(n); }
    void notify(const std::string& text, MessageIcon icon = MessageIcon::None) const;

    // Little-endian access to the bytes and where each record lies.
    DatabaseImage& raw() { return image_; }
    const DatabaseImage& raw() const { return image_; }

    // --- counters (raw, as stored) and their capacity-bounded forms ---
    int satelliteCount() const { return image_.u16(layout::SATELLITE_COUNT); }
    int programCount() const { return image_.u16(layout::PROGRAM_COUNT); }
    int tvProgramCount() const { return image_.u16(layout::TV_PROGRAM_COUNT); }
    int transponderCount() const { return image_.u16(layout::TRANSPONDER_COUNT); }
    int providerCount() const { return image_.u16(layout::PROVIDER_COUNT); }
    void setSatelliteCount(int n) { image_.setU16(layout::SATELLITE_COUNT, static_cast<std::uint16_t>(n)); }
    void setProgramCount(int n) { image_.setU16(layout::PROGRAM_COUNT, static_cast<std::uint16_t>(n)); }
    void setTvProgramCount(int n) { image_.setU16(layout::TV_PROGRAM_COUNT, static_cast<std::uint16_t>(n)); }
    void setTransponderCount(int n) { image_.setU16(layout::TRANSPONDER_COUNT, static_cast<std::uint16_t>(n)); }
    void setProviderCount(int n) { image_.setU16(layout::PROVIDER_COUNT, static_cast<std::uint16_t>(n)); }

    int satellitesInUse() const { return std::min(satelliteCount(), MAX_SATELLITES); }
    int programsInUse() const { return std::min(programCount(), MAX_PROGRAMS); }
    int transpondersInUse() const { return std::min(transponderCount(), MAX_TRANSPONDERS); }
    int providersInUse() const { return std::min(providerCount(), MAX_PROVIDERS); }

    // Favourite list counters; l must be 0..8.
    int favCount(int l) const { return image_.u16(DatabaseImage::favOffset(l) + layout::fav::COUNT); }
    int favTvCount(int l) const { return image_.u16(DatabaseImage::favOffset(l) + layout::fav::TV_COUNT); }
    int favInUse(int l) const { return std::min(favCount(l), FAV_ENTRIES); }
    void setFavCount(int l, int n)
    {
        image_.setU16(DatabaseImage::favOffset(l) + layout::fav::COUNT, static_cast<std::uint16_t>(n));
    }
    void setFavTvCount(int l, int n)
    {
        image_.setU16(DatabaseImage::favOffset(l) + layout::fav::TV_COUNT, static_cast<std::uint16_t>(n));
    }
    // Entry p (0..399) of list l.
    int favEntry(int l, int p) const { return image_.u16(DatabaseImage::favEntryOffset(l, p)); }
    void setFavEntry(int l, int p, int v)
    {
        image_.setU16(DatabaseImage::favEntryOffset(l, p), static_cast<std::uint16_t>(v));
    }

    // --- getters ---
    int getCount(int code, int& n) const;
    int getRecord(int type, int index, RecordView& rec) const;
    int getProgramInfo(std::uint32_t scope, int index, ProgramInfo& info) const;
    int getProgramInfoRaw(int index, ProgramInfo& info) const;
    int findSatellite(int satelliteId) const;
    int findSatelliteByName(const char* name, int* index = nullptr) const;
    // polarisation -1: any.
    int findTransponder(int satelliteId, int frequency, int polarisation = -1) const;
    int findByName(int type, const char* name) const;
    int favouriteMask(int programIndex, std::uint32_t& mask) const;

    void purgeUnusedProviders();
    void updateCrc(std::uint32_t version);
    // CRC of the image as it stands (byte 10,079 taken as 0), without changing it.
    std::uint32_t computeCrc() const;
    std::uint32_t storedCrc() const { return image_.u32(layout::CRC); }

    // --- file ---
    int load(const std::string& path);
    int save(const std::string& path);
    // False when the listing could not be written whole; errno then says why.
    bool writeProgramListing(const std::string& path) const;
    // Where load writes its listing; empty means no listing (the command line never leaves one).
    void setListingPath(std::string path) { listingPath_ = std::move(path); }
    const std::string& lastPath() const { return lastPath_; }
    void setLastPath(std::string path) { lastPath_ = std::move(path); }

    // Replaces the image by bytes received elsewhere (a download); the rest is zero-filled.
    void assignImage(const std::uint8_t* data, std::size_t size);

    // --- clipboards owned by the program ---
    ProgramClipboard& clipboard() { return clipboard_; }
    const ProgramClipboard& clipboard() const { return clipboard_; }
    ProgramClipboard& dragList() { return dragList_; }

    // --- editing operations (programs, favourites, transponders, providers, paste, drop) ---
    // Refusals the user must see go through the notifier; the caller runs updateCrc afterwards.

    // DBT_PROGRAM, DBT_FAVOURITE, DBT_TRANSPONDER and DBT_PROVIDER with OP_EDIT, OP_DELETE, OP_ADD
    // (OP_REMOVE_ENTRY for programs). DBT_SATELLITE, whatever the op, is moveFavouritesForDrop(index)
    // with rec.field[dropf::SCOPE] as the ListScope of the view.
    int recordOp(int type, int op, int index, const RecordView& rec);

    // The list view's Delete for one program, read by the view's scope and selected tree text.
    int deleteProgram(int programIndex, std::uint32_t favMask, std::uint32_t scope, std::string_view selectedText);
    void removeFromAllFavourites(int programIndex);
    static int listInMask(int list, std::uint32_t mask);
    int addToFavourites(int programIndex, const ProgramInfo& info);

    // Overwrites satellite index, or appends when index >= satelliteCount; -2 beyond the table.
    int setSatellite(int index, const RecordView& rec);

    // Paste of the clipboard into the program table or the favourite list that scope shows.
    int checkPastePosition(int position, std::uint32_t scope) const;
    int pasteClipboard(int& position, std::uint32_t scope);
    int clipboardCount() const;
    void shiftClipboardIndices(int from, int by);

    // Drop of lifted programs: the favourite lists follow the drag list, then the items go in.
    int moveFavouritesForDrop(int position, std::uint32_t scope);
    int dropPrograms(int type, int list, int position, ProgramClipboard& items, std::uint32_t scope);

    // -1 none, 0 TV, 1 radio: what the next OP_ADD of a program inserts; the add resets it.
    int pendingInsertKind() const { return pendingInsertKind_; }
    void setPendingInsertKind(int kind) { pendingInsertKind_ = kind; }
    // Set while the view lifts and drops programs: OP_DELETE then leaves the favourite lists alone.
    bool dragInProgress() const { return dragInProgress_; }
    void setDragInProgress(bool on) { dragInProgress_ = on; }

private:
    void fillTransponder(int transponderIndex, ProgramInfo& info) const;
    void fillTransponderAndSatellite(int transponderIndex, ProgramInfo& info, bool& satelliteFound) const;
    void fillFavouriteMembership(int program, ProgramInfo& info, bool positions) const;

    DatabaseImage image_;
    std::uint32_t version_ = 0;
    std::uint32_t loaded_ = 0;
    std::uint32_t loadedVersion_ = 0;
    Notifier notifier_;
    std::string listingPath_ = "programs.nfo";
    std::string lastPath_;
    ProgramClipboard clipboard_;
    ProgramClipboard dragList_;
    int pendingInsertKind_ = -1;
    bool dragInProgress_ = false;
    NameTable nameTable_ = NameTable::Latin1;
};

} // namespace satorix

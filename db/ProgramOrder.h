#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace satorix {

class ChannelDatabase;

// Sorting and moving programs in the program table and entries in a favourite list. Programs
// keep to their TV or radio part; favourite entries keep naming the same programs.

enum class SortKey { Name, Provider, SatelliteFrequency, ServiceId };
// "name", "provider", "satellite", "sid".
std::optional<SortKey> sortKeyNamed(std::string_view name);

// Case-insensitive, runs of digits by their value: "Sport 2" before "Sport 10".
int naturalCompare(std::string_view a, std::string_view b);

// Stable sort of the programs at `places` (program indices) among those places.
void sortPrograms(ChannelDatabase& db, std::vector<int> places, SortKey key);
// Stable sort of the entries at `positions` of favourite list l among those positions.
void sortFavourite(ChannelDatabase& db, int list, std::vector<int> positions, SortKey key);

enum class Move { Top, Bottom, Up, Down };
// Moves the programs at `places` within their part; returns where they are now (ascending), the
// same places when nothing could move.
std::vector<int> movePrograms(ChannelDatabase& db, std::vector<int> places, Move move);
// The same for positions of favourite list l.
std::vector<int> moveFavourites(ChannelDatabase& db, int list, std::vector<int> positions, Move move);

// Programs in the new order: order[k] is the program that goes to place k. Favourite entries
// follow. False (nothing changed) unless order is a permutation of every program that keeps TV
// programs before radio ones.
bool reorderPrograms(ChannelDatabase& db, const std::vector<int>& order);

// Bulk edits of many programs.
void setLocked(ChannelDatabase& db, const std::vector<int>& programs, bool locked);
// Adds the programs to list l in their order, skipping members; false when the list filled up.
bool addToFavourite(ChannelDatabase& db, int list, const std::vector<int>& programs);
void removeFromFavourite(ChannelDatabase& db, int list, const std::vector<int>& programs);

// Deletes the programs (any order) in one pass; their favourite entries go, the others are
// renumbered. Each replacement (removed, kept) first hands the removed program's memberships to
// the kept one, at the removed entry's place where the kept one is not in that list yet.
void removePrograms(ChannelDatabase& db, std::vector<int> programs,
                    const std::vector<std::pair<int, int>>& replacements = {});

} // namespace satorix

#include "db/ImageDelta.h"

#include <algorithm>
#include <cstring>

#include "db/DatabaseImage.h"
#include "db/DbTypes.h"

namespace satorix {

namespace {

// Unchanged runs shorter than this stay inside a range: a range costs more than the bytes.
constexpr std::size_t JOIN_GAP = 16;
// Whole blocks are compared first; most of an image is unchanged by any one edit.
constexpr std::size_t BLOCK = 64;

std::size_t firstDifference(const std::uint8_t* a, const std::uint8_t* b, std::size_t from, std::size_t n)
{
    std::size_t i = from;
    while (i < n && (i % BLOCK) != 0 && a[i] == b[i]) ++i;
    while (i + BLOCK <= n && std::memcmp(a + i, b + i, BLOCK) == 0) i += BLOCK;
    while (i < n && a[i] == b[i]) ++i;
    return i;
}

} // namespace

ImageDelta ImageDelta::between(std::span<const std::uint8_t> before, std::span<const std::uint8_t> after)
{
    ImageDelta d;
    const std::size_t n = std::min(before.size(), after.size());
    const std::uint8_t* a = before.data();
    const std::uint8_t* b = after.data();
    std::size_t i = firstDifference(a, b, 0, n);
    while (i < n) {
        const std::size_t start = i;
        std::size_t end = i + 1; // one past the last differing byte of the range
        for (;;) {
            const std::size_t next = firstDifference(a, b, end, n);
            if (next >= n || next - end >= JOIN_GAP) {
                i = next;
                break;
            }
            end = next + 1;
        }
        d.ranges_.push_back({start, end - start, d.before_.size()});
        d.before_.insert(d.before_.end(), a + start, a + end);
        d.after_.insert(d.after_.end(), b + start, b + end);
    }
    d.ranges_.shrink_to_fit();
    d.before_.shrink_to_fit();
    d.after_.shrink_to_fit();
    return d;
}

std::size_t ImageDelta::storedBytes() const
{
    return sizeof(ImageDelta) + ranges_.size() * sizeof(Range) + before_.size() + after_.size();
}

bool ImageDelta::touches(std::size_t from, std::size_t to) const
{
    return std::any_of(ranges_.begin(), ranges_.end(),
                       [&](const Range& r) { return r.offset < to && from < r.offset + r.length; });
}

void ImageDelta::write(std::span<std::uint8_t> image, const std::vector<std::uint8_t>& bytes) const
{
    for (const Range& r : ranges_) {
        if (r.offset + r.length > image.size()) continue;
        std::memcpy(image.data() + r.offset, bytes.data() + r.stored, r.length);
    }
}

bool touchesTree(const ImageDelta& delta)
{
    using namespace layout;
    if (delta.touches(SATELLITE_COUNT, SATELLITE_COUNT + 2) || delta.touches(TRANSPONDER_COUNT, PROVIDER_COUNT + 2) ||
        delta.touches(SATELLITES, PROGRAMS) || delta.touches(TRANSPONDERS, PROVIDERS + PROVIDER_SIZE * MAX_PROVIDERS))
        return true;
    for (int l = 0; l < FAV_LISTS; ++l)
        if (delta.touches(DatabaseImage::favOffset(l) + fav::NAME, DatabaseImage::favOffset(l) + fav::ENTRIES))
            return true;
    return false;
}

void ImageDelta::applyBefore(std::span<std::uint8_t> image) const { write(image, before_); }
void ImageDelta::applyAfter(std::span<std::uint8_t> image) const { write(image, after_); }

} // namespace satorix

#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace satorix {

// What one edit changed in the database image: the changed byte ranges with their bytes before
// and after, not two copies of the image. Undo writes the before bytes back, redo the after bytes.
class ImageDelta {
public:
    // One pass over two images of the same size. Changes closer than a few bytes share a range, so
    // a record's scattered fields cost one range.
    static ImageDelta between(std::span<const std::uint8_t> before, std::span<const std::uint8_t> after);

    bool empty() const { return ranges_.empty(); }
    std::size_t rangeCount() const { return ranges_.size(); }
    // Memory the step holds, for the history's budget.
    std::size_t storedBytes() const;
    // True when a changed byte lies in [from, to).
    bool touches(std::size_t from, std::size_t to) const;

    void applyBefore(std::span<std::uint8_t> image) const;
    void applyAfter(std::span<std::uint8_t> image) const;

private:
    struct Range {
        std::size_t offset;
        std::size_t length;
        std::size_t stored; // where its bytes start in before_ and after_
    };
    void write(std::span<std::uint8_t> image, const std::vector<std::uint8_t>& bytes) const;

    std::vector<Range> ranges_;
    std::vector<std::uint8_t> before_;
    std::vector<std::uint8_t> after_;
};

// True when the delta changed what the tree shows: satellites, transponders, providers, their
// counts or a favourite list's name.
bool touchesTree(const ImageDelta& delta);

} // namespace satorix

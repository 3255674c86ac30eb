#pragma once

#include <cstdint>
#include <vector>

#include "link/Line.h"

namespace satorix::link {

// A line without a device: reads come from a fixed input, writes are collected. Nothing waits,
// so a read that runs past the input behaves like a read that timed out.
class MemoryLine : public Line {
public:
    MemoryLine() = default;
    MemoryLine(const std::uint8_t* data, std::size_t size) { setInput(data, size); }

    void setInput(const std::uint8_t* data, std::size_t size);
    void appendInput(const std::vector<std::uint8_t>& bytes);
    std::size_t remainingInput() const { return input_.size() - readPos_; }
    const std::vector<std::uint8_t>& output() const { return output_; }
    void clearOutput() { output_.clear(); }
    // Writes after the first n succeed no more (a line that went dead); -1 never fails.
    void failWritesAfter(long n) { writesLeft_ = n; }
    long writeCalls() const { return writeCalls_; }

    int netd_read(std::uint8_t* buffer, std::size_t count, std::size_t& received) override;
    int netd_write(const std::uint8_t* buffer, std::size_t count, std::size_t& written) override;

private:
    std::vector<std::uint8_t> input_;
    std::size_t readPos_ = 0;
    std::vector<std::uint8_t> output_;
    long writesLeft_ = -1;
    long writeCalls_ = 0;
};

} // namespace satorix::link

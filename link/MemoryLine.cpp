#include "link/MemoryLine.h"

#include <algorithm>
#include <cstring>

namespace satorix::link {

void MemoryLine::setInput(const std::uint8_t* data, std::size_t size)
{
    input_.assign(data, data + size);
    readPos_ = 0;
}

void MemoryLine::appendInput(const std::vector<std::uint8_t>& bytes)
{
    input_.insert(input_.end(), bytes.begin(), bytes.end());
}

int MemoryLine::netd_read(std::uint8_t* buffer, std::size_t count, std::size_t& received)
{
    received = std::min(count, input_.size() - readPos_);
    if (received) std::memcpy(buffer, input_.data() + readPos_, received);
    readPos_ += received;
    return 0;
}

int MemoryLine::netd_write(const std::uint8_t* buffer, std::size_t count, std::size_t& written)
{
    ++writeCalls_;
    written = 0;
    if (writesLeft_ == 0) return 1;
    if (writesLeft_ > 0) --writesLeft_;
    output_.insert(output_.end(), buffer, buffer + count);
    written = count;
    return 0;
}

} // namespace satorix::link

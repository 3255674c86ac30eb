#include "link/StbIdentity.h"

#include <algorithm>
#include <cstring>

#include "link/Packets.h"

namespace satorix::link {
namespace {

void putU16(std::uint8_t* p, std::uint16_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

std::uint16_t getU16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

} // namespace

const StbIdentity OWN_IDENTITY = {0x03010101, 3, 3, 8, 0x80, 0x00010001, {'Z', 'Q', 'V', '-', '5', '1', '2', '0'}, {}};

StbIdentity::Bytes StbIdentity::bytes() const
{
    Bytes b{};
    putU32(&b[0], hardwareId);
    putU16(&b[4], compatWord0);
    putU16(&b[6], infoWord);
    putU16(&b[8], compatWord1);
    putU16(&b[10], compatWord2);
    putU32(&b[12], infoDword);
    std::memcpy(&b[16], model.data(), model.size());
    putU32(&b[24], reserved[0]);
    putU32(&b[28], reserved[1]);
    return b;
}

StbIdentity StbIdentity::fromBytes(const std::uint8_t* p)
{
    StbIdentity id;
    id.hardwareId = getU32(p);
    id.compatWord0 = getU16(p + 4);
    id.infoWord = getU16(p + 6);
    id.compatWord1 = getU16(p + 8);
    id.compatWord2 = getU16(p + 10);
    id.infoDword = getU32(p + 12);
    std::memcpy(id.model.data(), p + 16, id.model.size());
    id.reserved = {getU32(p + 24), getU32(p + 28)};
    return id;
}

void StbIdentity::assignPrefix(const std::uint8_t* p, std::size_t n)
{
    Bytes b = bytes();
    std::memcpy(b.data(), p, std::min(n, b.size()));
    *this = fromBytes(b.data());
}

FileInfo::Bytes FileInfo::bytes() const
{
    Bytes b{};
    putU32(&b[0], type);
    putU32(&b[4], targetAddress);
    putU32(&b[8], fileSize);
    putU32(&b[12], blockCount);
    std::memcpy(&b[16], reserved.data(), reserved.size());
    return b;
}

FileInfo FileInfo::fromBytes(const std::uint8_t* p)
{
    FileInfo f;
    f.type = getU32(p);
    f.targetAddress = getU32(p + 4);
    f.fileSize = getU32(p + 8);
    f.blockCount = getU32(p + 12);
    std::memcpy(f.reserved.data(), p + 16, f.reserved.size());
    return f;
}

} // namespace satorix::link

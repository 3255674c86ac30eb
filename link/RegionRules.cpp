#include "link/RegionRules.h"

namespace satorix::link {
namespace {

constexpr std::uint32_t BIT31 = 0x80000000u;

bool sameModel(const StbIdentity& a, const StbIdentity& b) { return a.model == b.model; }

// The strictest rule: everything compared, the model included.
bool passesFullRule(const StbIdentity& r, const StbIdentity& c)
{
    return r.isWildcard() || (r.hardwareId == c.hardwareId && r.sameWords(c) && sameModel(r, c));
}

const VariantRow* findVariant(std::uint32_t hardwareId)
{
    for (const auto& row : VariantTable)
        if ((row.hardwareId | BIT31) == (hardwareId | BIT31)) return &row;
    return nullptr;
}

void trace(const ReportCallback& report, std::uint32_t value)
{
    if (report) report({REPORT_TRACE, value});
}

} // namespace

std::uint32_t receiveLimit(std::uint32_t type)
{
    switch (type) {
    case 1: return 0x7FFFFF;
    case 2: return 0x720000;
    case 3: return 0x600000;
    case 4: return DATABASE_REGION_SIZE;
    case 6: return 0x10000;
    default: return 0;
    }
}

bool identityCompatible(std::uint32_t kind, std::uint32_t selector, const StbIdentity& r, const StbIdentity& c)
{
    if (kind != 1) return true;
    switch (selector) {
    case 0: return passesFullRule(r, c);
    case 1:
    case 2:
    case 3: return r.isWildcard() || (r.hardwareId == c.hardwareId && r.sameWords(c));
    case 4:
    case 5:
    case 7: return r.isWildcard() || (r.compatWord0 == c.compatWord0 && r.compatWord1 == c.compatWord1);
    case 6:
        if ((c.hardwareId | r.hardwareId) & BIT31) return false;
        return r.isWildcard() || (r.compatWord0 == c.compatWord0 && r.compatWord1 == c.compatWord1);
    default: return false;
    }
}

bool prepareRegion(std::uint32_t kind, std::uint32_t selector, const StbIdentity& r, const StbIdentity& c,
                   FileInfo& info, const ReportCallback& report)
{
    const VariantRow* row = findVariant(r.hardwareId);
    if (!row) return false;
    const VariantRow& first = VariantTable[0];
    auto fill = [&info](std::uint32_t type, std::uint32_t address, std::uint32_t size) {
        info = FileInfo{};
        info.type = type;
        info.targetAddress = address;
        info.fileSize = size;
        info.blockCount = blocksFor(size);
    };
    if (kind == REGION_DATABASE) {
        fill(REGION_DATABASE, first.databaseAddress, DATABASE_REGION_SIZE);
        return true;
    }
    if (kind == 3) {
        if ((c.hardwareId ^ r.hardwareId) & 0x00000F00u) {
            trace(report, 0x32);
            return false;
        }
        fill(3, first.softwareAddress, 0x600000);
        return true;
    }
    switch (selector) {
    case 0:
        if (!passesFullRule(r, c)) {
            trace(report, 0x21);
            return false;
        }
        fill(kind, row->softwareAddress, kind == 1 ? 0x7FFFFF : 0x600000);
        return true;
    case 1:
    case 2:
    case 3: {
        if (!passesFullRule(r, c)) {
            trace(report, 0x22);
            return false;
        }
        static constexpr std::uint32_t sizes[] = {0x7FFFFF, 0x77FFFF, 0x600000};
        fill(selector, row->softwareAddress, sizes[selector - 1]);
        return true;
    }
    case 4: fill(REGION_DATABASE, row->databaseAddress, DATABASE_REGION_SIZE); return true;
    default: return false;
    }
}

} // namespace satorix::link

#pragma once

#include <string>
#include <vector>

#include "db/ChannelDatabase.h"

namespace satorix::test {

// Collects the messages a database shows, in order.
class MessageRecorder {
public:
    explicit MessageRecorder(ChannelDatabase& db);
    std::vector<std::string> texts;
    std::vector<MessageIcon> icons;
    void clear();
};

} // namespace satorix::test

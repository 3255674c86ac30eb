#pragma once

#include <string>
#include <vector>

#include "db/ChannelDatabase.h"

namespace satorix::test {

// Collects the messages a database shows, in order.
class MessageRecorder {
public:
    explicit MessageRecorder(ChannelDatabase& db)
    {
        db.setNotifier([this](const std::string& text, MessageIcon icon) {
            texts.push_back(text);
            icons.push_back(icon);
        });
    }
    std::vector<std::string> texts;
    std::vector<MessageIcon> icons;
    void clear() { texts.clear(), icons.clear(); }
};

} // namespace satorix::test

#include "tests/support/MessageRecorder.h"

namespace satorix::test {

MessageRecorder::MessageRecorder(ChannelDatabase& db)
{
    db.setNotifier([this](const std::string& text, MessageIcon icon) {
        texts.push_back(text);
        icons.push_back(icon);
    });
}

void MessageRecorder::clear()
{
    texts.clear();
    icons.clear();
}

} // namespace satorix::test

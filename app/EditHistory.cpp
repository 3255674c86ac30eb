#include "app/EditHistory.h"

#include <QUndoCommand>
#include <cstring>
#include <utility>

#include "db/ChannelDatabase.h"

namespace satorix {

// One step: written to the image by the change itself, so the first redo (QUndoStack::push) is skipped.
class EditHistory::Step : public QUndoCommand {
public:
    Step(EditHistory& history, const QString& text, ImageDelta delta)
        : QUndoCommand(text), history_(history), delta_(std::move(delta))
    {
        history_.storedBytes_ += delta_.storedBytes();
    }
    ~Step() override { history_.storedBytes_ -= delta_.storedBytes(); }

    const ImageDelta& delta() const { return delta_; }

    void undo() override
    {
        delta_.applyBefore(history_.image());
        history_.stepApplied(delta_);
    }
    void redo() override
    {
        if (std::exchange(written_, false)) return;
        delta_.applyAfter(history_.image());
        history_.stepApplied(delta_);
    }

private:
    EditHistory& history_;
    ImageDelta delta_;
    bool written_ = true;
};

EditHistory::EditHistory(ChannelDatabase& db, QObject* parent) : QObject(parent), db_(db)
{
    stack_.setUndoLimit(MAX_STEPS);
    connect(&stack_, &QUndoStack::cleanChanged, this, [this](bool clean) {
        if (!rebuilding_) emit savedStateChanged(clean);
    });
}

EditHistory::~EditHistory()
{
    // The steps give their bytes back to this object as they go.
    stack_.blockSignals(true);
    stack_.clear();
}

std::span<std::uint8_t> EditHistory::image() const
{
    return {db_.imageBase(db_.version()), ChannelDatabase::imageSize(db_.version())};
}

void EditHistory::open()
{
    const std::span<std::uint8_t> now = image();
    before_.assign(now.begin(), now.end());
}

bool EditHistory::close(const QString& text)
{
    const std::span<std::uint8_t> now = image();
    if (before_.size() != now.size() || std::memcmp(before_.data(), now.data(), now.size()) == 0) return false;
    // The checksum first, so that the step holds it too.
    db_.updateCrc(db_.version());
    stack_.push(new Step(*this, text, ImageDelta::between(before_, now)));
    trim();
    return true;
}

void EditHistory::stepApplied(const ImageDelta& delta)
{
    if (!rebuilding_) emit applied(delta);
}

void EditHistory::reset()
{
    stack_.clear();
    stack_.setClean();
}

void EditHistory::resetUnsaved()
{
    stack_.clear();
    stack_.resetClean();
}

void EditHistory::trim()
{
    if (storedBytes_ <= MAX_BYTES || stack_.count() < 2) return;
    // QUndoStack drops old steps only by count: build it again from the newest steps that fit.
    // A push always leaves the index at the top, so every kept step is applied.
    const int count = stack_.count();
    const int clean = stack_.cleanIndex();
    int first = count - 1;
    std::size_t bytes = static_cast<const Step*>(stack_.command(first))->delta().storedBytes();
    while (first > 0) {
        const std::size_t b = static_cast<const Step*>(stack_.command(first - 1))->delta().storedBytes();
        if (bytes + b > MAX_BYTES) break;
        bytes += b;
        --first;
    }
    std::vector<std::pair<QString, ImageDelta>> kept;
    for (int i = first; i < count; ++i) {
        const auto* step = static_cast<const Step*>(stack_.command(i));
        kept.emplace_back(step->text(), step->delta());
    }
    const bool wasClean = stack_.isClean();
    rebuilding_ = true;
    stack_.clear();
    for (auto& [text, delta] : kept) stack_.push(new Step(*this, text, std::move(delta)));
    if (clean >= first && clean <= count) {
        // The saved state is still in reach: mark it, walking the image there and back.
        stack_.setIndex(clean - first);
        stack_.setClean();
        stack_.setIndex(count - first);
    } else {
        stack_.resetClean();
    }
    rebuilding_ = false;
    if (stack_.isClean() != wasClean) emit savedStateChanged(stack_.isClean());
}

} // namespace satorix

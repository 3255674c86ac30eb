#pragma once

#include <QObject>
#include <QString>
#include <QUndoStack>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "db/ImageDelta.h"

namespace satorix {

class ChannelDatabase;

// The document's undo history: one step for each change of the database image, holding only the
// bytes that changed. The stack's clean state is the state last saved.
class EditHistory : public QObject {
    Q_OBJECT
public:
    static constexpr int MAX_STEPS = 1000;
    static constexpr std::size_t MAX_BYTES = 64u << 20;

    explicit EditHistory(ChannelDatabase& db, QObject* parent = nullptr);
    ~EditHistory() override;

    // Snapshots the image; the change that follows becomes one step at close().
    void open();
    // Records what changed since open() as a step named `text`; false (and no step) when nothing did.
    bool close(const QString& text);

    void undo() { stack_.undo(); }
    void redo() { stack_.redo(); }
    bool canUndo() const { return stack_.canUndo(); }
    bool canRedo() const { return stack_.canRedo(); }
    QString undoText() const { return stack_.undoText(); }
    QString redoText() const { return stack_.redoText(); }
    int count() const { return stack_.count(); }
    std::size_t storedBytes() const { return storedBytes_; }

    // The state the file on disk holds now.
    void markSaved() { stack_.setClean(); }
    // A new database (opened, new): no steps, and what it holds is what is saved.
    void reset();
    // A database that was never saved (a download): no steps, and no state is the saved one.
    void resetUnsaved();

signals:
    // After an undo or a redo wrote the image: which bytes it changed.
    void applied(const ImageDelta& delta);
    // True when the history stands at the saved state.
    void savedStateChanged(bool atSaved);

private:
    class Step;
    std::span<std::uint8_t> image() const;
    void stepApplied(const ImageDelta& delta);
    // Drops the oldest steps until the stored bytes fit the budget again.
    void trim();

    ChannelDatabase& db_;
    QUndoStack stack_;
    std::vector<std::uint8_t> before_;
    std::size_t storedBytes_ = 0;
    bool rebuilding_ = false;
};

} // namespace satorix

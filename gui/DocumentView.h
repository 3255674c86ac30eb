#pragma once

#include "gui/CommandMap.h"

class QWidget;

namespace satorix {

class Document;

// The hint of an update after an undo or a redo: views keep their selection where they can.
constexpr int HINT_HISTORY = 1;

// A view of the document: the document calls onUpdate when something changed, and the frame
// routes commands to the active view through its command map.
class DocumentView : public CommandTarget {
public:
    explicit DocumentView(Document& doc);
    ~DocumentView() override;
    DocumentView(const DocumentView&) = delete;
    DocumentView& operator=(const DocumentView&) = delete;

    Document& document() const { return doc_; }
    const CommandMap& commands() const override { return commands_; }

    // Called once after the document has been opened or created at start-up.
    virtual void onInitialUpdate() { onUpdate(nullptr, 0); }
    // sender is the view that caused the update, or null.
    virtual void onUpdate(DocumentView* sender, int hint) = 0;
    virtual QWidget* widget() = 0;

protected:
    CommandMap commands_;

private:
    Document& doc_;
};

} // namespace satorix

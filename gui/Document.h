#pragma once

#include <QString>
#include <functional>

namespace satorix {

class BrowserState;
class ChannelDatabase;
class DocumentView;
class Prompter;

// The document as the views and their commands see it: the application's document implements it,
// so that nothing below the application needs to know the application.
class Document {
public:
    virtual ~Document() = default;

    virtual ChannelDatabase& database() const = 0;
    virtual BrowserState& browser() const = 0;
    virtual Prompter& prompter() const = 0;

    virtual bool isModified() const = 0;
    virtual void setModifiedFlag(bool modified = true) = 0;
    // The one way to change the database: when the change altered the image it becomes one undo
    // step named `step` (shown as "Undo <step>"). True when something changed.
    virtual bool edit(const QString& step, const std::function<void()>& change) = 0;
    // The same for a change that spans events (a drag): the step opens at begin and is recorded,
    // if anything changed, at end.
    virtual void beginEdit() = 0;
    virtual bool endEdit(const QString& step) = 0;

    virtual void addView(DocumentView* view) = 0;
    virtual void removeView(DocumentView* view) = 0;
    virtual void updateAllViews(DocumentView* sender, int hint = 0) = 0;
};

} // namespace satorix

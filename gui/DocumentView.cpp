#include "gui/DocumentView.h"

#include "gui/Document.h"

namespace satorix {

DocumentView::DocumentView(Document& doc) : doc_(doc) { doc_.addView(this); }

DocumentView::~DocumentView() { doc_.removeView(this); }

} // namespace satorix

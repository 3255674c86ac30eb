#include "views/DocumentView.h"

#include "app/COrbitDoc.h"

namespace satorix {

DocumentView::DocumentView(COrbitDoc& doc) : doc_(doc) { doc_.addView(this); }

DocumentView::~DocumentView() { doc_.removeView(this); }

} // namespace satorix

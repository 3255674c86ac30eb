#pragma once

#include <QIcon>
#include <QImage>

namespace satorix::toolPictures {

// The tool bar's pictures, in button order.
enum Picture { OPEN, SAVE, PRINT, DELETE, TV, RADIO, TV_RADIO, DOWNLOAD, UPLOAD, UPGRADE, PORT, ABOUT, COUNT };

// An icon drawn at whatever size and pixel ratio it is shown, following the palette's darkness.
QIcon icon(int picture);
// One picture as a square of that many pixels; on a dark background it gets a light rim.
QImage render(int picture, QIcon::Mode mode, int pixels, bool darkBackground);

} // namespace satorix::toolPictures

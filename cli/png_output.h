#pragma once
// The PNG the render command writes. Its pictures are line drawings on a plain background, whose rows
// are mostly alike: each row is filtered against the one above and deflated at zlib's fastest level.
// That encodes a 1920x1080 picture several times faster than the general encoder's trial of every
// filter on every row, for a file still a small fraction of the raw pixels; the pixels are the same.

#include <QByteArray>

class QImage;

namespace zarno::cli {

// The PNG of image (with its alpha channel when it has one); empty when it could not be made.
QByteArray EncodePng(const QImage& image);

} // namespace zarno::cli

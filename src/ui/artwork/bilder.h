#pragma once

// Each of the game's pictures, drawn on the calling thread at a device-pixel
// ratio already clamped (klemmeDpr) and an index already in range; the
// functions of ui/artwork.h and wk::Artwork hand them to the pool.

#include <QImage>

#include <functional>
#include <vector>

namespace wk::artwork::intern {

// 701 x 459: an empty background picture and the jobs that paint it, one per
// horizontal band; the picture is done once every job has run. `bild` must
// outlive the jobs.
QImage hintergrundLeinwand(qreal dpr);
std::vector<std::function<void()>> hintergrundAuftraege(QImage& bild);
// The background painted with those jobs on the pool (dpr clamped here).
QImage hintergrundBild(qreal dpr);

QImage seitenBild(int augen, qreal dpr);  // augen clamped to 1..6 and dpr to range here
QImage wurfBild(int k, qreal dpr);        // frame 0..8

QImage handBild(qreal dpr);
QImage blockBild(int index, qreal dpr);   // index clamped to 0..4 here
QImage linkBild(qreal dpr);
QImage mailBild(qreal dpr);

} // namespace wk::artwork::intern

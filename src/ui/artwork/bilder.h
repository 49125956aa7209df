// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Each of the game's pictures, drawn on the calling thread at a device-pixel
// ratio already clamped (klemmeDpr) and an index already in range; the
// functions of ui/artwork.h and wk::Artwork hand them to the pool.

#include <QImage>

namespace wk::artwork::intern {

QImage hintergrundBild(qreal dpr);  // dpr clamped to range here

QImage seitenBild(int augen, qreal dpr);  // augen clamped to 1..6 and dpr to range here
QImage wurfBild(int k, qreal dpr);        // frame 0..8

QImage handBild(qreal dpr);
QImage blockBild(int index, qreal dpr);   // index clamped to 0..4 here
QImage linkBild(qreal dpr);
QImage mailBild(qreal dpr);

} // namespace wk::artwork::intern

// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the game's pictures share: their sizes, the colour table, the canvas
// and painter set-up, the fonts, the deterministic noise, and the helpers
// that run the drawing on Qt's global thread pool.

#include "ui/artwork/wuerfelkoerper.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSize>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace wk::artwork::intern {

using namespace koerper;

constexpr qreal kMinDpr = 1.0;
constexpr qreal kMaxDpr = 4.0;
constexpr QSize kHintergrund{701, 459};
constexpr QSize kSeite{50, 50};
constexpr QSize kZeiger{32, 32};
constexpr int kWurfbilder = 9;
constexpr int kBloecke = 5;
constexpr int kSymbolMin = 16;
constexpr int kSymbolMax = 512;

namespace farbe {
constexpr QRgb elfenbein = qRgb(250, 242, 220);
constexpr QRgb wuerfelKante = qRgb(128, 108, 80);
constexpr QRgb auge = qRgb(34, 26, 22);
constexpr QRgb augeRand = qRgb(82, 70, 58);
constexpr QRgb rubin = qRgb(196, 28, 36);
constexpr QRgb rubinKante = qRgb(96, 8, 14);
constexpr QRgb perle = qRgb(252, 248, 240);

constexpr QRgb tafelOben = qRgb(26, 32, 48);
constexpr QRgb tafelUnten = qRgb(14, 18, 28);
constexpr QRgb tafelSchrift = qRgb(234, 228, 212);
constexpr QRgb tafelSumme = qRgb(236, 200, 118);
constexpr QRgb messingHell = qRgb(246, 214, 136);
constexpr QRgb messing = qRgb(196, 152, 72);
constexpr QRgb messingDunkel = qRgb(110, 78, 30);

constexpr QRgb filz = qRgb(20, 82, 50);
constexpr QRgb filzTief = qRgb(14, 64, 40);
constexpr QRgb holzHell = qRgb(140, 72, 40);
constexpr QRgb holz = qRgb(96, 44, 22);
constexpr QRgb holzDunkel = qRgb(46, 18, 8);
constexpr QRgb mulde = qRgb(70, 74, 72);
constexpr QRgb blechHell = qRgb(150, 154, 158);
constexpr QRgb blechDunkel = qRgb(96, 100, 106);
constexpr QRgb blechSchrift = qRgb(36, 38, 42);

constexpr QRgb stopRot = qRgb(218, 30, 36);
constexpr QRgb stopRotDunkel = qRgb(150, 10, 18);
constexpr QRgb umriss = qRgb(20, 16, 14);
constexpr QRgb blockHellBlau = qRgb(70, 130, 230);
constexpr QRgb blockBlau = qRgb(38, 92, 200);
constexpr QRgb papier = qRgb(238, 244, 255);
constexpr QRgb linie = qRgb(150, 180, 230);
constexpr QRgb stiftGelb = qRgb(250, 196, 40);
constexpr QRgb holzSpitze = qRgb(236, 200, 150);
constexpr QRgb mine = qRgb(50, 50, 56);
constexpr QRgb zwinge = qRgb(190, 194, 200);
constexpr QRgb radierer = qRgb(240, 130, 150);
} // namespace farbe

// Tray blocks A..E: red, blue, green, purple, orange.
constexpr std::array<QRgb, kBloecke> kBlockFarben{
    qRgb(214, 36, 40), qRgb(36, 96, 214), qRgb(36, 160, 66), qRgb(136, 56, 190), qRgb(244, 134, 24)};

QColor rgb(QRgb wert, int alpha = 255);
// `grund` in light of brightness `licht` (see koerper::getoenterKanal).
QColor getoent(QRgb grund, double licht);
// dpr clamped to kMinDpr..kMaxDpr; kMinDpr when it is not finite.
qreal klemmeDpr(qreal dpr);
// A transparent picture of `logisch` times dpr physical pixels, premultiplied ARGB.
QImage leinwand(QSize logisch, qreal dpr);
// Antialiased shapes, text and scaled pictures.
void glatt(QPainter& p);
// The picture as a pixmap of the same device-pixel ratio.
QPixmap alsPixmap(QImage bild);

// Qt's raster engine splits every large fill into parts for the global thread
// pool and waits for them, unless it already paints on a thread of that pool.
// The pictures consist of many small fills, for which that hand-over costs far
// more than the filling; so they are painted on pool threads. Both helpers
// return once all work is done; called on a pool thread they simply run it.
void alleAufPool(const std::vector<std::function<void()>>& auftraege);

template <typename Zeichnen>
QImage aufPool(Zeichnen zeichnen)
{
    QImage bild;
    alleAufPool({[&] { bild = zeichnen(); }});
    return bild;
}

// A sans-serif (or serif) font `pixel` pixels high, at least 1.
QFont schrift(double pixel, QFont::Weight gewicht = QFont::Normal, bool serifen = false);

// Deterministic noise, so every start draws the same picture.
constexpr std::uint32_t mische(std::uint32_t x)
{
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

// A number in 0..1 for the lattice point (x, y) of the noise `saat`.
double zufall(int x, int y, std::uint32_t saat);

} // namespace wk::artwork::intern

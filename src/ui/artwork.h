// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QPixmap>

#include <array>
#include <memory>
#include <optional>

class QPainter;

// The game's pictures, all drawn in code.
//
// Every function that takes a device-pixel ratio draws at a fixed logical size
// and returns a pixmap whose devicePixelRatio() is that ratio, so the physical
// size is the logical size times dpr (rounded) and the picture stays crisp on
// high-DPI screens. dpr is clamped to 1..4, every index to its range. Pixmaps
// need a running QGuiApplication.
namespace wk::artwork {

// 701 x 459: the game window's background. The window (698 x 455) shows it
// from the top-left. Left: the dark score panel with one label per sheet row,
// placed left of that row's button and cell; the widget rectangles themselves
// stay free of text. Right: the dark green table with the framed "Ablage" tray
// panel (y 96..180), the framed table with five grey slots (y 215..373) and a
// row of small dice along its lower edge.
QPixmap hintergrund(qreal dpr);

// 50 x 50: a cream die showing `augen` pips (1..6), seen slightly from above.
// The die fills about 48 px; the corners outside it are transparent.
QPixmap seite(int augen, qreal dpr);

// 50 x 50: a tumbling, motion-blurred die. Frame k is 0..8; frames 1..8 turn
// through one full revolution, so they can be shown in a loop.
QPixmap wurfbild(int k, qreal dpr);

// 32 x 32 pointers. The hot spots (logical pixels) are listed at Artwork.
QPixmap handZeiger(qreal dpr);              // open hand on a red octagon
QPixmap blockZeiger(int index, qreal dpr);  // toy block A..E for tray box 0..4
QPixmap linkZeiger(qreal dpr);              // white pointing hand
QPixmap mailZeiger(qreal dpr);              // pencil on a blue writing pad

// The program icon, two overlapping dice: a square image of `pixel` x `pixel`
// (clamped to 16..512), device-pixel ratio 1, transparent around the dice.
QImage symbol(int pixel);

// Paints that icon as vector shapes into the square (0, 0, groesse, groesse)
// of the painter's current coordinates, leaving the painter's state as it was;
// symbol(n) is exactly symbolMalen(p, n) on a transparent n x n image. Sizes up
// to 24 get the variant drawn for small icons. Paints nothing unless groesse > 0.
void symbolMalen(QPainter& p, qreal groesse);

} // namespace wk::artwork

namespace wk {

// The pictures for one device-pixel ratio, each drawn once and kept; the
// references handed out stay valid as long as the Artwork lives.
//
// The start window's pictures (icon, link and mail pointers) are drawn in one
// job on Qt's global thread pool once the first of them is asked for; the
// icon's pixmaps are waited for only when a size is first taken from it, the
// pointers when first asked for.
// The game window's pictures are drawn when the first of them is asked for,
// all at once, side by side on the pool. Use the Artwork from the GUI thread.
//
// Cursor hot spots, in logical pixels: hand and block pointers (16, 16), link
// pointer (11, 1) at the fingertip, mail pointer (2, 29) at the pencil tip.
class Artwork {
public:
    explicit Artwork(qreal dpr);
    ~Artwork();
    Artwork(const Artwork&) = delete;
    Artwork& operator=(const Artwork&) = delete;

    // The start window's pictures.
    const QCursor& linkCursor() const;
    const QCursor& mailCursor() const;
    // symbol() at 16, 24, 32, 48 and 64, offered to the window system and drawn
    // with the start window's pictures; 128 and 256 drawn when first asked for.
    const QIcon& icon() const;

    // The game window's pictures.
    const QPixmap& hintergrund() const;
    const QPixmap& seite(int augen) const;        // 1..6
    const QPixmap& wurfbild(int k) const;         // 0..8
    const QCursor& handCursor() const;
    const QCursor& blockCursor(int index) const;  // 0..4

private:
    struct Startbilder;
    struct Spielbilder;
    const Startbilder& startbilder() const;
    const Spielbilder& spielbilder() const;
    void startbilderBeginnen() const;

    qreal m_dpr = 1;
    std::shared_ptr<Startbilder> m_start{};
    mutable bool m_startBegonnen = false;
    mutable std::unique_ptr<Spielbilder> m_spiel{};
    mutable std::optional<QCursor> m_link{};
    mutable std::optional<QCursor> m_mail{};
    mutable std::optional<QIcon> m_icon{};
};

} // namespace wk

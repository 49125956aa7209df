// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The layout of the game window's background (701 x 459 logical pixels) and
// the painters of its parts, shared by the files that draw them: the felt
// (filz.cpp), the sheet panel (tafel.cpp), the tray, the table and the crest
// (tisch.cpp), and the whole put together (hintergrund.cpp).

#include "ui/artwork/gemeinsam.h"

#include <QLinearGradient>
#include <QList>
#include <QLineF>
#include <QRectF>

namespace wk::artwork::intern {

// One row of the sheet panel, in logical pixels.
struct Zeile {
    const char* text = "";
    int augen = 0;      // 1..6 for a small die before the text, else 0
    int y = 0;
    int hoehe = 17;
    int knopfX = 0;     // left edge of the row's button; 0 when the row has none
    bool summe = false;
};

constexpr int kTextLinks = 9;
constexpr int kTextRechtsOhneKnopf = 170;
constexpr int kZelleLinks = 176;
constexpr int kZelleRechts = 217;
constexpr int kTafelBreite = 222;

constexpr std::array<Zeile, 16> kZeilen{{
    {"zählen", 1, 15, 17, 104, false},
    {"zählen", 2, 36, 17, 104, false},
    {"zählen", 3, 63, 17, 104, false},
    {"zählen", 4, 84, 17, 104, false},
    {"zählen", 5, 111, 17, 104, false},
    {"zählen", 6, 132, 17, 104, false},
    {"oben gesamt", 0, 156, 19, 0, true},
    {"Bonus (ab 63 Pkt.)", 0, 177, 19, 0, true},
    {"oben gesamt (inkl. Bonus)", 0, 201, 19, 0, true},
    {"Alle Augen", 0, 225, 17, 84, false},
    {"Alle Augen", 0, 249, 17, 84, false},
    {"25 Punkte", 0, 273, 17, 84, false},
    {"30 Punkte", 0, 297, 17, 84, false},
    {"40 Punkte", 0, 318, 17, 84, false},
    {"150 Punkte", 0, 342, 17, 84, false},
    {"Alle Augen", 0, 366, 17, 84, false},
}};
constexpr Zeile kUntenGesamt{"unten gesamt", 0, 390, 19, 0, true};
constexpr Zeile kGesamt{"Gesamte Punktezahl:", 0, 416, 17, 0, true};

// Section rules between the row groups of the sheet.
constexpr std::array<double, 3> kTrennlinien{152.5, 222.5, 386.5};

// The total line reaches past the panel onto a plate holding the second cell (x 224..300).
constexpr QRectF kGesamtSchild{0, 410, 308, 29};

constexpr QRectF kCheckSchild{317, 7, 147, 24};
constexpr QRectF kAblage{262, 96, 390, 84};
constexpr QRectF kAblageReiter{415, 85, 84, 20};  // the tab carrying the title, clear of the boxes
constexpr std::array<QPoint, 5> kAblageKaesten{{{280, 112}, {352, 112}, {424, 112}, {504, 112}, {576, 111}}};
constexpr int kKasten = 57;
constexpr QRectF kTischRahmen{225, 215, 456, 158};
constexpr double kRahmenBreite = 6;
constexpr QRectF kStatusBand{232, 183, 446, 32};
constexpr int kMulden = 5;
constexpr double kMuldeX0 = 236;
constexpr double kMuldeAbstand = 88;
constexpr QRectF kMulde{0, 222, 82, 106};
constexpr QRectF kLeiste{234, 334, 438, 33};
constexpr QRectF kLogo{312, 380, 154, 70};
constexpr QRectF kTischInnen = kTischRahmen.adjusted(kRahmenBreite, kRahmenBreite, -kRahmenBreite, -kRahmenBreite);

// Woven felt: a colour darkened towards the edges (vignette 0..1), with soft
// clouds of two sizes and a fine grain. Fills the pixels of `logisch` except
// those of `frei`.
void filzFlaeche(QImage& bild, const QRectF& logisch, QRgb grund, double vignette, std::uint32_t saat,
                 const QRectF& frei = {});

// The dark panel on the left with its stripes, rules and brass edge, and the
// label of one row.
void zeichneTafel(QPainter& p);
void zeichneZeilentext(QPainter& p, const Zeile& z);

void zeichneCheckSchild(QPainter& p);
void zeichneAblage(QPainter& p);
void zeichneTisch(QPainter& p);
void zeichneLogo(QPainter& p);
// The rack's small dice, each with its shadow.
void zeichneLeistenWuerfel(QPainter& p);

// The part of a horizontal line that lies inside a rectangle with rounded corners.
struct Strecke {
    double von = 0;
    double bis = 0;  // empty when bis <= von
};

Strecke zeileIn(const QRectF& r, double radius, double y);

// What a pen of width `breite` draws along the rounded rectangle r (corner
// radius `radius`), filled as a ring: much cheaper than stroking.
void rahmen(QPainter& p, const QRectF& r, double radius, double breite, const QBrush& pinsel);
// Thin strokes along x or along y, drawn as rectangles.
void striche(QPainter& p, const QList<QLineF>& linien, double breite, const QColor& farbe);
// A soft shadow made of a few widening rounded outlines.
void schatten(QPainter& p, const QRectF& r, double radius, double breite, int staerke);
// Brass from light at `von` to dark at `bis`.
QLinearGradient messingVerlauf(QPointF von, QPointF bis);

} // namespace wk::artwork::intern

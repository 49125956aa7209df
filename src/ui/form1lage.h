// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/form1elemente.h"
#include "ui/masse.h"

#include <QSize>

#include <array>

// Where the game window's controls lie (twips of its client area, Left, Top,
// Width, Height) and the colours of its texts.
namespace wk::spielfenster {

inline constexpr QSize Innengroesse{698, 455};
// Largest outer size the window may take, in twips: 10620 x 7365.
inline constexpr int GroessteAussenbreite = 10620;
inline constexpr int GroessteAussenhoehe = 7365;

// Cells 0..16 of the sheet.
inline constexpr std::array<Twips, 17> ZahlenOrt{{
    {2640, 225, 615, 255},  {2640, 540, 615, 255},  {2640, 945, 615, 255},  {2640, 1260, 615, 255},
    {2640, 1665, 615, 255}, {2640, 1980, 615, 255}, {2640, 3375, 615, 255}, {2640, 3735, 615, 255},
    {2640, 4095, 615, 255}, {2640, 4455, 615, 255}, {2640, 4770, 615, 255}, {2640, 5130, 615, 255},
    {2640, 5490, 615, 255}, {2640, 6240, 615, 255}, {9420, 5850, 615, 255}, {6900, 6435, 3375, 255},
    {3360, 6240, 1155, 255},
}};
inline constexpr std::array<Twips, 4> Label1Ort{{
    {2640, 2340, 615, 285}, {2640, 2655, 615, 285}, {2640, 3015, 615, 285}, {2640, 5850, 615, 285},
}};
// Category buttons, indexed by the cell they write.
inline constexpr std::array<Twips, 13> KategorieOrt{{
    {1560, 225, 915, 255},  {1560, 540, 915, 255},  {1560, 945, 915, 255},  {1560, 1260, 915, 255},
    {1560, 1680, 915, 255}, {1560, 1980, 915, 255}, {1260, 3380, 1215, 255}, {1260, 3735, 1215, 255},
    {1260, 4080, 1215, 255}, {1260, 4455, 1215, 255}, {1260, 4815, 1215, 255}, {1260, 5130, 1215, 255},
    {1260, 5520, 1215, 255},
}};
inline constexpr std::array<int, 6> Label2Top{135, 315, 540, 720, 990, 1170};
inline constexpr std::array<int, 6> PunktTop{135, 315, 585, 765, 990, 1170};
inline constexpr Twips Label3Ort{3480, 2745, 6675, 465};
inline constexpr Twips WuerfelnOrt{7080, 5640, 2115, 555};
inline constexpr Twips Check1Ort{4860, 180, 1995, 195};
inline constexpr Twips Command2Ort{-1800, 7425, 2415, 1215};

inline constexpr QRgb Weiss = farbe(0x00FFFFFF);
inline constexpr QRgb Gruen = farbe(0x0000FF00);
inline constexpr QRgb Hellgrau = farbe(0x00E0E0E0);
inline constexpr QRgb Rot = farbe(0x000000FF);
inline constexpr QRgb Cyan = farbe(0x00FFFF00);
inline constexpr QRgb Hellgruen = farbe(0x0080FF80);
inline constexpr QRgb Ablagegrau = farbe(0x00404040);

struct Zellenart {
    QRgb farbe;
    Qt::Alignment ausrichtung;
    Rahmen rahmen;
};

inline Zellenart zellenart(int index) {
    if (index == 13) {
        return {Gruen, Qt::AlignRight | Qt::AlignVCenter, Rahmen::Duenn};
    }
    if (index == 14) {
        return {Hellgrau, Qt::AlignCenter, Rahmen::Duenn};
    }
    if (index == 15) {
        return {Hellgrau, Qt::AlignRight | Qt::AlignVCenter, Rahmen::Ohne};
    }
    if (index == 16) {
        return {Hellgrau, Qt::AlignRight | Qt::AlignVCenter, Rahmen::Duenn};
    }
    return {Weiss, Qt::AlignRight | Qt::AlignVCenter, Rahmen::Duenn};
}

} // namespace wk::spielfenster

// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

#include <cmath>

namespace wk {

// A control's place in twips of its window's client area: Left, Top, Width, Height.
struct Twips {
    int left;
    int top;
    int width;
    int height;
};

// Twips to logical pixels (15 twips a pixel, rounded). Qt's high-DPI scaling
// takes it from there.
constexpr int pixel(int twips) {
    return twips >= 0 ? (twips + 7) / 15 : -((-twips + 7) / 15);
}

inline QRect rechteck(const Twips& t) {
    return QRect(pixel(t.left), pixel(t.top), pixel(t.width), pixel(t.height));
}

// A colour written as 0x00BBGGRR.
constexpr QRgb farbe(unsigned bgr) {
    return qRgb(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

// The sans-serif of the game's windows, sized in logical pixels so that every
// text fits its control on any screen.
inline QFont schrift(int pixelGroesse, bool fett = false, bool kursiv = false) {
    QFont f(QStringLiteral("Liberation Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(pixelGroesse);
    f.setBold(fett);
    f.setItalic(kursiv);
    return f;
}

} // namespace wk

// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The program icon's sizes and the icon engine that hands them out.

#include <QIconEngine>
#include <QImage>

#include <array>
#include <cstddef>
#include <functional>

namespace wk::artwork::intern {

constexpr std::array<int, 7> kSymbolGroessen{16, 24, 32, 48, 64, 128, 256};
// The sizes drawn in advance and offered to the window system; the larger
// ones (for which an installed program has its theme icons) are drawn when
// first asked for.
constexpr std::size_t kFensterSymbole = 5;

// The program icon. Its sizes are known at once; the pixmap of an offered size
// (index i into kSymbolGroessen, i < kFensterSymbole) is taken from `bild(i)`,
// which may wait for it, the first time it is asked for; larger sizes are
// drawn then. The caller owns the engine (QIcon takes it).
QIconEngine* neuerSymbolmaler(std::function<const QImage&(std::size_t)> bild);

} // namespace wk::artwork::intern

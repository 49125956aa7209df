// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "game/zufall.h"

namespace wk {

double Zufall::naechste() {
    // splitmix64: a full-period 64-bit sequence with a well-mixed output.
    m_zustand += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = m_zustand;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    z ^= z >> 31;
    // The top 32 bits as a fraction: k * u stays exact in a double for every
    // k up to 2^20, so the integer part of k * u is always below k.
    return static_cast<double>(z >> 32) * 0x1.0p-32;
}

int Zufall::ziehen(int k) {
    return static_cast<int>(static_cast<double>(k) * naechste());
}

} // namespace wk

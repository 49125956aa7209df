// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

namespace wk {

// The program's one pseudo-random generator. The program never seeds it: every
// program start begins from the same state, so the same actions give the same
// rolls. The sequence is the same on every compiler and platform (integer
// arithmetic only; no standard distribution classes).
class Zufall {
public:
    Zufall() = default;
    // A generator of its own sequence, for tests that need many independent games.
    explicit Zufall(std::uint64_t saat) : m_zustand(saat) {}

    // A uniform number u with 0 <= u < 1 (a multiple of 2^-32).
    double naechste();

    // A draw from 0 to k - 1: the integer part of k * u. k must be 1..2^20.
    int ziehen(int k);

private:
    std::uint64_t m_zustand = 0x5745524B52304E45ULL;
};

} // namespace wk

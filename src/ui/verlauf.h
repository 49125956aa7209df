// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "strategie/bilanz.h"

#include <QWidget>

namespace wk {

// The course of a finished sheet as a small picture on the felt: the final
// total to expect after each roll and each decision, from the value of a
// fresh sheet to the sheet's total. A roll's luck is a step up (green) or
// down (red); a decision that cost more than two points is marked with a red
// ring. The accessible element "Verlauf"; its description names the three
// costliest decisions. It draws what the balance holds and nothing else.
class Verlauf : public QWidget {
public:
    explicit Verlauf(QWidget* fenster);

    // Shows the course of `bilanz`, which must be finished; a copy is kept.
    void zeigen(const Blattbilanz& bilanz);

    // Decisions that cost more than this many points are marked.
    static constexpr double TeuerAb = 2.0;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Blattbilanz m_bilanz;
};

} // namespace wk

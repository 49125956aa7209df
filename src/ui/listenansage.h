// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class QWidget;

namespace wk {

// The highscore list the start window shows, as one utterance: its title,
// then each place that holds a result (more than 0 points) as "1. Lena 187",
// separated by commas, with a full stop at the end; "Die Liste ist leer."
// when none does. Names are told in full, on one line, their direction
// isolated from the text around them.
QString listenAnsage(const QWidget& startfenster);

} // namespace wk

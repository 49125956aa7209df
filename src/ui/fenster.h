// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QWidget;

namespace wk {

// Places a top-level window in the middle of its screen's available area.
void zentrieren(QWidget& fenster);

} // namespace wk

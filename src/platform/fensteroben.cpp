// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/fensteroben.h"

#include <QWidget>
#include <QWindow>

namespace wk {

void QtFensterOben::fenster_oben(QWidget& fenster, bool oben) {
    Qt::WindowFlags flags = fenster.windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, oben);
    if (QWindow* handle = fenster.windowHandle()) {
        // Changing the flags of the native window in place keeps it mapped
        // where it is; QWidget::setWindowFlags would hide and re-create it.
        fenster.overrideWindowFlags(flags);
        handle->setFlags(flags);
    } else {
        fenster.setWindowFlags(flags);
    }
}

} // namespace wk

// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/fenster.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace wk {

void zentrieren(QWidget& fenster) {
    QScreen* bildschirm = fenster.screen() ? fenster.screen() : QGuiApplication::primaryScreen();
    if (!bildschirm) {
        return;
    }
    const QRect frei = bildschirm->availableGeometry();
    const QSize groesse = fenster.frameGeometry().size();
    fenster.move(frei.x() + (frei.width() - groesse.width()) / 2,
                 frei.y() + (frei.height() - groesse.height()) / 2);
}

} // namespace wk

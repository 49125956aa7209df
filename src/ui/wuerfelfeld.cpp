// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/wuerfelfeld.h"

#include <QPainter>

namespace wk {

Wuerfelfeld::Wuerfelfeld(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::NoFocus);
}

void Wuerfelfeld::setBild(const QPixmap& bild) {
    if (bild.cacheKey() == m_bild.cacheKey()) {
        return;
    }
    m_bild = bild;
    update();
}

void Wuerfelfeld::setHintergrund(const QColor& farbe) {
    m_hintergrund = farbe;
    update();
}

void Wuerfelfeld::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_hintergrund.isValid()) {
        painter.fillRect(rect(), m_hintergrund);
    }
    if (!m_bild.isNull()) {
        painter.drawPixmap(0, 0, m_bild);
    }
}

} // namespace wk

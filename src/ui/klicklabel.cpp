// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/klicklabel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace wk {

KlickLabel::KlickLabel(QWidget* parent) : QLabel(parent) { setTextFormat(Qt::PlainText); }

void KlickLabel::mousePressEvent(QMouseEvent* event) {
    m_gedrueckt = event->button() == Qt::LeftButton;
    event->accept();
}

void KlickLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool klick = m_gedrueckt && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_gedrueckt = false;
    event->accept();
    if (klick) {
        emit clicked();
    }
}

void KlickLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (hasFocus()) {
        QPainter p(this);
        p.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void KlickLabel::keyPressEvent(QKeyEvent* event) {
    const int taste = event->key();
    if (taste == Qt::Key_Return || taste == Qt::Key_Enter || taste == Qt::Key_Space) {
        event->accept();
        emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

} // namespace wk

// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLabel>

namespace wk {

// A plain-text label that reports a left click, for link texts and the
// version text. When it takes keyboard focus, Return and Space click it too,
// and a dotted frame shows the focus.
class KlickLabel : public QLabel {
    Q_OBJECT

public:
    explicit KlickLabel(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_gedrueckt = false;
};

} // namespace wk

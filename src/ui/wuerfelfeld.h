// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

namespace wk {

// A picture box that holds at most one die: it draws its picture unscaled at
// its top-left corner over an optional background colour and reports clicks.
class Wuerfelfeld : public QAbstractButton {
    Q_OBJECT

public:
    explicit Wuerfelfeld(QWidget* parent = nullptr);

    // A null pixmap shows no picture.
    void setBild(const QPixmap& bild);
    // An invalid colour leaves the background transparent.
    void setHintergrund(const QColor& farbe);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_bild{};
    QColor m_hintergrund{};
};

} // namespace wk

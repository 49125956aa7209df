// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QWidget;

namespace wk {

// Keeps a top-level window above all others (oben = true) or releases it,
// without moving or resizing it.
class FensterOben {
public:
    virtual ~FensterOben() = default;
    virtual void fenster_oben(QWidget& fenster, bool oben) = 0;
};

class QtFensterOben : public FensterOben {
public:
    void fenster_oben(QWidget& fenster, bool oben) override;
};

} // namespace wk

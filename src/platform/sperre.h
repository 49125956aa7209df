// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace wk {

// The lock of one save: flock(2) on the file `pfad`, removed again when the
// lock goes; or, where that file cannot be made, on the folder `ordner`.
class Sperre {
public:
    enum class Stand { Gehalten, Besetzt, Unmoeglich };

    Sperre(QString pfad, QString ordner);
    Sperre(const Sperre&) = delete;
    Sperre& operator=(const Sperre&) = delete;
    ~Sperre();

    // One try, without waiting. Unmoeglich when neither the file nor the
    // folder can be locked (errno tells why).
    Stand nehmen();

    bool imOrdner() const { return m_imOrdner; }

private:
    QString m_pfad;
    QString m_ordner;
    int m_fd = -1;
    bool m_imOrdner = false;
};

} // namespace wk

// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class QWidget;

namespace wk {

class Ansagefeld;

// Tells the screen reader something that is not the focused control's own
// text: a roll, a die moved, an entry, a list shown. The screen reader speaks
// it once; nothing on the window changes for a sighted player.
//
// What is said waits a short while, so that it reaches the screen reader after
// the burst of accessibility events the action itself caused (a screen reader
// drops what comes while its queue is flooded). Texts given within that while
// are spoken together, in their order. While no screen reader listens, nothing
// is done at all.
//
// Sent as an invisible element of role Notification that is shown for each
// announcement; the screen reader speaks such an element whenever it appears.
class Ansage : public QObject {
    Q_OBJECT

public:
    // Speaks in `fenster`, which must outlive this object (usually its parent).
    explicit Ansage(QWidget& fenster);

    // Whether a screen reader (or another assistive technology) listens now.
    // Callers may skip building a text while it does not.
    static bool aktiv();

    // Speaks `text` (plain text; an empty one says nothing). Does nothing while
    // no screen reader listens.
    void ansagen(const QString& text);

    // Whether something waits to be sent.
    bool wartet() const { return !m_text.isEmpty() || m_zeigen; }

    // A panel's lines as one utterance: every line a sentence, ended with a
    // full stop where it has none, blank lines left out.
    static QString alsSaetze(const QString& zeilen);

    // How long an announcement waits behind the action that caused it.
    static constexpr int WarteMs = 150;

private:
    void senden();
    void zeigen();

    QWidget& m_fenster;
    QPointer<Ansagefeld> m_feld;  // made with the first announcement
    QTimer m_warten;
    QString m_text;        // what waits to be said
    bool m_zeigen = false;  // the element is shown again in the next turn
};

} // namespace wk

// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QWidget>

#include <chrono>
#include <cstdio>

namespace wk {

// Start-up measurement (bench/run): installed on the application when
// WURFKRONE_MESSEN=1 is set, it writes lines "<what> <ns>" to standard output,
// <ns> being the steady clock (CLOCK_MONOTONIC) in nanoseconds:
//   erstes-bild        the first window has been painted for the first time;
//   start-gedrueckt    a mouse button went down on "Spiel Starten";
//   spielfenster-bild  the game window ("Form1"), with every control and die
//                      in it, has been painted for the first time;
//   tipp <ns> <text>   the coach's panel ("Tipp") has been shown, with the
//                      first line of what it says;
// and, from main(), tipptabelle-fertig once the coach's table is there.
// The game and the reference program of bench/ use this one hook, so both
// are timed alike.
class ErstesBild : public QObject {
public:
    bool eventFilter(QObject* ziel, QEvent* ereignis) override {
        if (ereignis->type() == QEvent::MouseButtonPress) {
            const auto* knopf = qobject_cast<QAbstractButton*>(ziel);
            if (knopf && knopf->text() == QStringLiteral("&Spiel Starten")) {
                melden("start-gedrueckt");
            }
        } else if (ereignis->type() == QEvent::Paint && ziel->isWidgetType() &&
                   static_cast<QWidget*>(ziel)->isWindow()) {
            // Queued, so it runs once this paint, children included, has been
            // finished and flushed.
            if (!m_erstesBild) {
                m_erstesBild = true;
                QMetaObject::invokeMethod(this, [] { melden("erstes-bild"); }, Qt::QueuedConnection);
            }
            if (!m_spielfenster && ziel->objectName() == QStringLiteral("Form1")) {
                m_spielfenster = true;
                QMetaObject::invokeMethod(this, [] { melden("spielfenster-bild"); }, Qt::QueuedConnection);
            }
        } else if (ereignis->type() == QEvent::Show && ziel->objectName() == QStringLiteral("Tipp")) {
            if (const auto* tipp = qobject_cast<QLabel*>(ziel)) {
                melden("tipp", tipp->text().section(QLatin1Char('\n'), 0, 0));
            }
        }
        return false;
    }

    // Installs the hook when the environment asks for it; tells whether it did.
    bool beiBedarfEinsetzen(QApplication& app) {
        if (qEnvironmentVariableIntValue("WURFKRONE_MESSEN") != 1) {
            return false;
        }
        app.installEventFilter(this);
        return true;
    }

    static void melden(const char* was, const QString& text = {}) {
        const auto jetzt = std::chrono::steady_clock::now().time_since_epoch();
        std::printf("%s %lld%s%s\n", was, static_cast<long long>(std::chrono::nanoseconds(jetzt).count()),
                    text.isEmpty() ? "" : " ", qPrintable(text));
        std::fflush(stdout);
    }

private:

    bool m_erstesBild = false;
    bool m_spielfenster = false;
};

} // namespace wk

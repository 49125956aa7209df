// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/ansage.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QStringList>
#include <QWidget>

#include <utility>

namespace wk {

// The element the screen reader speaks: no size, nothing drawn, no input.
class Ansagefeld : public QWidget {
public:
    explicit Ansagefeld(QWidget* fenster) : QWidget(fenster) {
        setObjectName(QStringLiteral("Ansage"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(0, 0, 0, 0);
    }
    QString text;
};

namespace {

// Its accessible side: role Notification, the announcement as its name.
class Ansagezugang : public QAccessibleWidget {
public:
    explicit Ansagezugang(Ansagefeld* feld) : QAccessibleWidget(feld, QAccessible::Notification) {}
    QString text(QAccessible::Text art) const override {
        return art == QAccessible::Name ? static_cast<const Ansagefeld*>(widget())->text : QString();
    }
};

QAccessibleInterface* zugangFuer(const QString&, QObject* objekt) {
    auto* feld = dynamic_cast<Ansagefeld*>(objekt);
    return feld ? new Ansagezugang(feld) : nullptr;
}

} // namespace

Ansage::Ansage(QWidget& fenster) : QObject(&fenster), m_fenster(fenster) {
    QAccessible::installFactory(zugangFuer);  // once: Qt ignores a factory it has
    m_warten.setSingleShot(true);
    m_warten.setInterval(WarteMs);
    connect(&m_warten, &QTimer::timeout, this, &Ansage::senden);
}

bool Ansage::aktiv() { return QAccessible::isActive(); }

void Ansage::ansagen(const QString& text) {
    if (text.isEmpty() || !aktiv()) {
        return;
    }
    m_text = m_text.isEmpty() ? text : m_text + u' ' + text;
    if (!m_warten.isActive()) {
        m_warten.start();
    }
}

// The element must have been hidden in an earlier turn of the event loop than
// the one that shows it again, or the screen reader sees no change.
void Ansage::senden() {
    if (m_text.isEmpty()) {
        return;
    }
    if (!m_fenster.isVisible()) {  // a window about to open speaks once it is there
        m_warten.start();
        return;
    }
    if (!m_feld) {
        m_feld = new Ansagefeld(&m_fenster);
    }
    m_feld->text = std::exchange(m_text, QString());
    m_zeigen = true;
    if (m_feld->isVisible()) {
        m_feld->hide();
        QTimer::singleShot(0, this, &Ansage::zeigen);
    } else {
        zeigen();
    }
}

void Ansage::zeigen() {
    m_zeigen = false;
    if (m_feld) {
        m_feld->show();
    }
}

QString Ansage::alsSaetze(const QString& zeilen) {
    QStringList saetze;
    for (QString zeile : zeilen.split(u'\n')) {
        zeile = zeile.trimmed();
        if (zeile.isEmpty()) {
            continue;
        }
        if (!zeile.endsWith(u'.')) {
            zeile += u'.';
        }
        saetze << zeile;
    }
    return saetze.join(u' ');
}

} // namespace wk

// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/bilanzanzeige.h"

#include "platform/klartext.h"
#include "ui/form1.h"
#include "ui/masse.h"
#include "ui/verlauf.h"

#include <QLabel>

#include <algorithm>

namespace wk {
namespace {

// The felt between the sheet's "noch" cell, the dice table and the roll
// button, where the crown is painted: no control of the window lies there.
constexpr Twips Ort{4560, 5655, 2280, 1125};
constexpr int Zeile = 12;  // pixels a player's line takes
constexpr int Innen = 4;   // pixels between the frame and the text

} // namespace

Bilanzanzeige::Bilanzanzeige(Form1& fenster) : QObject(&fenster), m_fenster(fenster) {
    m_verlauf = new Verlauf(&fenster);
    m_verlauf->setGeometry(rechteck(Ort));

    m_spiel = new QWidget(&fenster);
    m_spiel->setObjectName(QStringLiteral("Bilanzen"));
    m_spiel->setGeometry(rechteck(Ort));
    m_spiel->setAttribute(Qt::WA_StyledBackground);
    m_spiel->setStyleSheet(QStringLiteral("QWidget#Bilanzen { background: rgb(8, 28, 14); "
                                          "border: 1px solid rgba(255, 214, 64, 170); border-radius: 5px; }"
                                          "QLabel { color: #fff3c4; }"));
    for (int i = 0; i < 6; ++i) {
        m_namen[i] = new QLabel(m_spiel);
        m_namen[i]->setStyleSheet(QStringLiteral("QLabel { color: #00ffff; }"));
        m_preise[i] = new QLabel(m_spiel);
        m_preise[i]->setObjectName(QStringLiteral("Bilanz_%1").arg(i));
        m_preise[i]->setAccessibleName(QStringLiteral("Bilanz Spieler %1").arg(i + 1));
        m_preise[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        for (QLabel* l : {m_namen[i], m_preise[i]}) {
            l->setFont(schrift(9));
            l->setTextFormat(Qt::PlainText);
        }
    }
    m_spiel->hide();
}

void Bilanzanzeige::blattZeigen(const Blattbilanz& bilanz) {
    m_spiel->hide();
    m_verlauf->zeigen(bilanz);
}

void Bilanzanzeige::spielZeigen(const Bilanzbuch& buch) {
    const Spielstand& stand = m_fenster.spiel().stand();
    for (int i = 0; i < 6; ++i) {
        const bool dabei = i < stand.AnzahlSpieler;
        if (dabei) {
            // The price whole on the right, the name in what is left of the line.
            const QString text = QStringLiteral("Entscheidungen: ") + QString::fromStdString(kommazahl(buch.preisImSpiel(i + 1)));
            const int breite = m_spiel->width() - 2 * Innen, preis = m_preise[i]->fontMetrics().horizontalAdvance(text) + 2;
            m_preise[i]->setGeometry(Innen + breite - preis, 3 + i * Zeile, preis, Zeile);
            m_namen[i]->setGeometry(Innen, 3 + i * Zeile, std::max(0, breite - preis - Innen), Zeile);
            zeigeName(*m_namen[i], QString::fromStdString(stand.Namen[std::size_t(i + 1)]));
            m_preise[i]->setText(text);
            m_preise[i]->setAccessibleDescription(text);
        }
        m_namen[i]->setVisible(dabei);
        m_preise[i]->setVisible(dabei);
    }
    m_verlauf->hide();
    m_spiel->show();
    m_spiel->raise();
}

void Bilanzanzeige::verbergen() {
    m_verlauf->hide();
    m_spiel->hide();
}

} // namespace wk

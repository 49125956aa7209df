// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/anwendung.h"

#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/tipptabelle.h"

namespace wk {

Anwendung::Anwendung(const Dienste& dienste, const Artwork& artwork)
    : m_dienste(dienste), m_artwork(artwork), m_highscore(dienste.einstellungen, dienste.meldung) {}

Anwendung::Anwendung(const Dienste& dienste, const Artwork& artwork, Tipptabelle& tipptabelle)
    : Anwendung(dienste, artwork) {
    m_tipptabelle = &tipptabelle;
}

Anwendung::~Anwendung() {
    delete m_form1.data();
    delete m_form2.data();
}

void Anwendung::starten() { startfensterZeigen(); }

void Anwendung::startfensterZeigen() {
    auto* form2 = new Form2(m_stand, m_highscore, m_dienste.eingabe, m_dienste.links, m_artwork);
    form2->setAttribute(Qt::WA_DeleteOnClose);
    connect(form2, &Form2::spielStarten, this, &Anwendung::spielStarten);
    connect(form2, &Form2::programmBeenden, this, &Anwendung::beenden);
    if (m_tipptabelle) {
        connect(form2, &Form2::gemalt, m_tipptabelle, &Tipptabelle::anfordern);
    }
    m_form2 = form2;
    form2->show();
}

void Anwendung::spielStarten() {
    auto* form1 = new Form1(m_stand, m_zufall, m_dienste.meldung, m_dienste.fensterOben, m_artwork,
                            [this] { Auswertung(); });
    form1->setAttribute(Qt::WA_DeleteOnClose);
    if (m_tipptabelle) {
        form1->tippAnbieten(*m_tipptabelle);
    }
    m_form1 = form1;
    form1->show();
    if (m_tipptabelle) {
        m_tipptabelle->anfordern();
    }
    if (m_form2) {
        m_form2->close();
    }
}

void Anwendung::Auswertung() {
    m_highscore.Auswertung(m_stand);
    // The new start window is shown before the game window closes, so the
    // program never passes through a moment without a window.
    QPointer<Form1> spielfenster = m_form1;
    startfensterZeigen();
    if (spielfenster) {
        spielfenster->close();
    }
}

void Anwendung::beenden() {
    // At once and without further processing: no window asks or writes anything.
    for (QWidget* fenster : {static_cast<QWidget*>(m_form1.data()), static_cast<QWidget*>(m_form2.data())}) {
        if (fenster) {
            fenster->hide();
            fenster->deleteLater();
        }
    }
    emit beendet();
}

} // namespace wk

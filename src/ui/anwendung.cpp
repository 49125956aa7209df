// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/anwendung.h"

#include "ui/form1.h"
#include "ui/computerspieler.h"
#include "ui/form2.h"
#include "ui/gegnerwahl.h"
#include "ui/tipptabelle.h"

#include <algorithm>

namespace wk {

Anwendung::Anwendung(const Dienste& dienste, const Artwork& artwork)
    : m_dienste(dienste), m_artwork(artwork), m_highscore(dienste.einstellungen, dienste.meldung) {
    // Results saved after the start window was loaded: it shows them at once.
    m_highscore.beiNeuenErgebnissen([this] {
        if (m_form2) m_form2->listeAktualisieren();
    });
}

Anwendung::Anwendung(const Dienste& dienste, const Artwork& artwork, Tipptabelle& tipptabelle)
    : Anwendung(dienste, artwork) {
    m_tipptabelle = &tipptabelle;
}

Anwendung::~Anwendung() {
    delete m_form1.data();
    delete m_form2.data();
}

void Anwendung::starten() {
    m_dienste.einstellungen.nachtragen();  // what earlier runs could not enter
    startfensterZeigen();
}

void Anwendung::startfensterZeigen() {
    auto* form2 = new Form2(m_stand, m_highscore, m_dienste.eingabe, m_dienste.links, m_artwork);
    form2->setAttribute(Qt::WA_DeleteOnClose);
    connect(form2, &Form2::spielStarten, this, &Anwendung::spielStarten);
    connect(form2, &Form2::programmBeenden, this, &Anwendung::beenden);
    if (m_tipptabelle) {
        connect(form2, &Form2::gemalt, m_tipptabelle, &Tipptabelle::anfordern);
    }
    m_form2 = form2;
    gegnerAnbieten(*form2);
    form2->show();
}

void Anwendung::spielStarten() {
    // As many as fit beside the people, named as they join.
    Gegnerauswahl dazu = m_gegner;
    dazu.anzahl = std::min(dazu.anzahl, MaxSpieler - m_stand.AnzahlSpieler);
    m_stand.computerDazu(computerNamen(dazu), dazu.staerke);
    auto* form1 = new Form1(m_stand, m_zufall, m_dienste.meldung, m_dienste.fensterOben, m_artwork,
                            [this] { Auswertung(); });
    form1->setAttribute(Qt::WA_DeleteOnClose);
    if (m_tipptabelle) {
        form1->tippAnbieten(*m_tipptabelle);
    }
    gegnerEinsetzen(*form1);
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
    m_highscore.Auswertung(m_stand);  // entered by the store's own thread; the start window follows it
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

// The choice is read from the store once per run, when the first start
// window has been painted and its boxes are made, so that reading never
// delays it; it is stored when a game starts with a choice the person changed.
void Anwendung::gegnerAnbieten(Form2& startfenster) {
    auto* wahl = new Gegnerwahl(startfenster, m_gegner);
    connect(wahl, &Gegnerwahl::geaendert, this, [this](const Gegnerauswahl& auswahl) {
        m_gegner = auswahl;
        m_gegnerGeaendert = true;
    });
    connect(wahl, &Gegnerwahl::gebaut, wahl, [this, wahl] {
        if (!m_gegnerGelesen && !m_gegnerGeaendert) {
            m_gegner = gegnerauswahlLesen(m_dienste.einstellungen);
            wahl->setAuswahl(m_gegner);
        }
        m_gegnerGelesen = true;
    });
}

void Anwendung::gegnerEinsetzen(Form1& spielfenster) {
    if (m_gegnerGeaendert) {
        gegnerauswahlSchreiben(m_dienste.einstellungen, m_gegner);
        m_gegnerGeaendert = false;
    }
    bool mitComputer = false;
    for (int p = 1; p <= m_stand.AnzahlSpieler; ++p) {
        mitComputer = mitComputer || m_stand.istComputer(p);
    }
    if (!mitComputer) {
        return;
    }
    if (!m_tipptabelle && !m_gegnertabelle) {
        m_gegnertabelle = std::make_unique<Tipptabelle>();
    }
    new Computerspieler(spielfenster, m_tipptabelle ? *m_tipptabelle : *m_gegnertabelle, m_gegner.tempo);
}

} // namespace wk

// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "game/spiel.h"

#include "game/isoliert.h"
#include "game/wertung.h"
#include "game/zahltext.h"

#include <string>
#include <utility>

namespace wk {
namespace {

std::string text(int zahl) { return std::to_string(zahl); }

std::size_t spieler(int p) { return static_cast<std::size_t>(p); }

} // namespace

Spiel::Spiel(Spielstand& stand, Zufall& zufall, Meldung& meldung, std::function<void()> auswertung)
    : m_stand(stand), m_zufall(zufall), m_meldung(meldung), m_auswertung(std::move(auswertung)) {}

void Spiel::meldungZeigen(const std::string& text) {
    m_meldungOffen = true;
    m_meldung.zeigen(text);
    m_meldungOffen = false;
}

void Spiel::Form_Load() {
    m_stand.AktuellerSpieler = 1;
    for (int p = 1; p <= m_stand.AnzahlSpieler; ++p) {
        m_feld.Label2[spieler(p - 1)] = {m_stand.Namen[spieler(p)], true};
        m_feld.Punkt[spieler(p - 1)].Visible = true;
    }
    for (int i = 0; i < 5; ++i) {
        m_feld.w1[i].Enabled = true;
        const bool tisch = m_feld.w1[i].Visible;
        const bool ablage = m_feld.Raus[i].Visible;
        wuerfelReset(i);
        m_feld.w1[i].Visible = tisch;
        m_feld.Raus[i].Visible = ablage;
    }
    m_stand.Wuerfe = 0;
    m_feld.Zahlen[14] = "0";
    m_feld.Label3 = isoliert(m_stand.Namen[1]);
}

void Spiel::wuerfelReset(int i) {
    Wuerfelbox& tisch = m_feld.w1[i];
    Wuerfelbox& ablage = m_feld.Raus[i];
    tisch.Top = RuheTop;
    tisch.Left = RuheLeft[i];
    tisch.Picture = Bild{BildArt::Seite, m_zufall.ziehen(6)};
    m_stand.Takt = 0;
    m_stand.Phase[i] = 0;
    ablage.Picture = Bild{};
    tisch.Tag.clear();
    ablage.Tag.clear();
    tisch.Visible = true;
    ablage.Visible = false;
}

void Spiel::nochFrei() { m_feld.Zahlen[16] = "noch " + text(13 - m_stand.Eingetragen); }

void Spiel::Command3_Click() {
    if (gesperrt() || !m_feld.Command3.Visible) {
        return;
    }
    nochFrei();
    if (m_stand.Eingetragen >= 13) {
        gewonnen();
        return;
    }
    for (int i = 0; i < 5; ++i) {
        wuerfelReset(i);
    }
    m_feld.Command3.Visible = false;
    m_stand.Wuerfe = 1;
    m_feld.Zahlen[14] = text(m_stand.Wuerfe);
    wurfStarten();
}

void Spiel::Command17_Click() {
    if (gesperrt() || !m_feld.Command17.Visible) {
        return;
    }
    nochFrei();
    if (m_stand.Eingetragen >= 13) {
        gewonnen();
        return;
    }
    ++m_stand.Wuerfe;
    m_feld.Zahlen[14] = text(m_stand.Wuerfe);
    wurfStarten();
}

void Spiel::wurfStarten() {
    m_feld.Timer1 = true;
    for (int i = 0; i < 5; ++i) {
        m_feld.w1[i].Enabled = false;
        m_stand.Phase[i] = m_zufall.ziehen(8);
    }
    m_feld.Command17.Visible = false;
}

void Spiel::Timer1_Timer() {
    if (gesperrt() || !m_feld.Timer1) {
        return;
    }
    if (m_stand.Eingetragen >= 13) {
        gewonnen();
        return;
    }
    for (int i = 0; i < 5; ++i) {
        int& phase = m_stand.Phase[i];
        ++phase;
        const int top = WurfTop + m_zufall.ziehen(WurfHoehe);
        const int left = WurfLeft(i) + m_zufall.ziehen(WurfBreite);
        if (phase >= 1 && phase <= 8) {
            Wuerfelbox& box = m_feld.w1[i];
            box.Picture = Bild{BildArt::Wurf, phase};
            box.Left = left;
            box.Top = top;
            if (phase == 8) {
                phase = 0;
            }
        }
    }
    ++m_stand.Takt;
    if (m_stand.Takt >= TakteJeWurf) {
        m_feld.Timer1 = false;
        for (Wuerfelbox& box : m_feld.w1) {
            box.Enabled = true;
            const int f = m_zufall.ziehen(6);
            if (box.Visible) {
                box.Picture = Bild{BildArt::Seite, f};
                box.Tag = text(f + 1);
            }
        }
        if (m_stand.Wuerfe < 3) {
            neu_wuerfeln();
        }
        m_stand.Takt = 0;
    }
}

void Spiel::w1_Click(int i) {
    if (gesperrt() || i < 0 || i > 4 || !m_feld.w1[i].Visible || !m_feld.w1[i].Enabled) {
        return;
    }
    if (m_stand.Wuerfe == 0) {
        meldungZeigen(" Du hast noch nicht gewürfelt.");
        return;
    }
    for (Wuerfelbox& ablage : m_feld.Raus) {
        if (ablage.Tag.empty()) {
            Wuerfelbox& tisch = m_feld.w1[i];
            ablage.Picture = tisch.Picture;
            ablage.Tag = tisch.Tag;
            tisch.Tag.clear();
            tisch.Visible = false;
            ablage.Visible = true;
            return;
        }
    }
}

void Spiel::Raus_Click(int i) {
    if (gesperrt() || i < 0 || i > 4 || !m_feld.Raus[i].Visible) {
        return;
    }
    for (Wuerfelbox& tisch : m_feld.w1) {
        if (tisch.Tag.empty()) {
            Wuerfelbox& ablage = m_feld.Raus[i];
            tisch.Picture = ablage.Picture;
            tisch.Tag = ablage.Tag;
            tisch.Visible = true;
            ablage.Visible = false;
            ablage.Tag.clear();
            return;
        }
    }
}

void Spiel::Kategorie_Click(int zelle) {
    if (gesperrt() || zelle < 0 || zelle > 12) {
        return;
    }
    Knopf& knopf = m_feld.Kategorien[zelle];
    if (!knopf.Visible || !knopf.Enabled) {
        return;
    }
    m_stand.Wuerfe = 3;
    m_feld.Zahlen[zelle] = text(wuerdeBringen(zelle));
    knopf.Visible = false;
    rechnen();
    ++m_stand.Eingetragen;
    if (m_stand.Eingetragen < 13) {
        neu_wuerfeln();
    } else {
        gewonnen();
    }
}

int Spiel::wuerdeBringen(int zelle) const {
    if (zelle < 0 || zelle > 12) {
        return 0;
    }
    return punkte(Kategorien[static_cast<std::size_t>(zelle)], m_feld.w1, m_feld.Raus);
}

void Spiel::klicken(const Schritt& schritt) {
    switch (schritt.aktion) {
    case Aktion::Wuerfeln:
        m_feld.Command17.Visible ? Command17_Click() : Command3_Click();
        break;
    case Aktion::Ablegen:
        w1_Click(schritt.index);
        break;
    case Aktion::Zuruecknehmen:
        Raus_Click(schritt.index);
        break;
    case Aktion::Eintragen:
        Kategorie_Click(schritt.index);
        break;
    }
}

void Spiel::Command2_Click() {
    if (gesperrt()) {
        return;
    }
    for (Knopf& knopf : m_feld.Kategorien) {
        knopf.Visible = true;
    }
    for (int i = 0; i < 5; ++i) {
        wuerfelReset(i);
    }
    m_feld.Command17.Visible = true;
}

void Spiel::rechnen() {
    for (Knopf& knopf : m_feld.Kategorien) {
        knopf.Enabled = false;
    }
    summenBilden(m_feld.Zahlen, m_feld.Label1);
}

void Spiel::neu_wuerfeln() {
    nochFrei();
    const int runde = m_stand.RundenGespielt[spieler(m_stand.AktuellerSpieler)] + 1;
    m_feld.Zahlen[15] = m_stand.Runden == 1
                            ? text(runde) + " Runde von " + text(m_stand.Runden) + " Runde"
                            : text(runde) + " Runde(n) von " + text(m_stand.Runden) + " Runde(n)";
    if (m_stand.Eingetragen >= 13) {
        gewonnen();
        return;
    }
    if (m_stand.Wuerfe < 3) {
        m_feld.Command17.Visible = true;
        for (Knopf& knopf : m_feld.Kategorien) {
            knopf.Enabled = true;
        }
        m_feld.Zahlen[14] = text(m_stand.Wuerfe);
        for (Wuerfelbox& box : m_feld.w1) {
            box.Enabled = true;
        }
    } else {
        m_feld.Command17.Visible = false;
        m_feld.Command3.Visible = true;
    }
}

void Spiel::gewonnen() {
    // A finished sheet ends any roll still tumbling: its ticks must neither
    // finish this sheet a second time nor hand the next sheet a free roll.
    m_feld.Timer1 = false;
    m_stand.Takt = 0;

    nochFrei();
    const auto aktuell = spieler(m_stand.AktuellerSpieler);
    m_stand.RundenGespielt[aktuell] += 1;
    m_stand.Gesamtpunkte[aktuell] += zahlAusText(m_feld.Zahlen[13]);
    m_feld.Punkt[aktuell - 1].Caption = zahlAlsText(m_stand.Gesamtpunkte[aktuell]);

    if (m_stand.RundenGespielt[spieler(m_stand.AnzahlSpieler)] >= m_stand.Runden) {
        m_beendet = true;
        m_meldung.zeigen(" Alle Runden wurden absolviert..");
        // Last step: the window that owns this game may be closed by it.
        if (m_auswertung) {
            m_auswertung();
        }
        return;
    }

    m_stand.AktuellerSpieler += 1;
    if (m_stand.AktuellerSpieler > m_stand.AnzahlSpieler) {
        m_stand.AktuellerSpieler = 1;
    }
    const std::string name = isoliert(m_stand.Namen[spieler(m_stand.AktuellerSpieler)]);
    meldungZeigen(name + " ist mit Würfeln dran.");
    m_stand.Eingetragen = 0;
    m_stand.Wuerfe = 0;
    m_feld.Zahlen[14] = "0";
    m_feld.Label3 = name + " ist am Würfeln.";
    // The new sheet starts like the game: one roll button, Command17.
    m_feld.Command3.Visible = false;
    for (int i = 0; i < 5; ++i) {
        wuerfelReset(i);
        m_feld.w1[i].Enabled = true;
    }
    for (int i = 0; i <= 13; ++i) {
        m_feld.Zahlen[i] = "0";
    }
    m_feld.Label1.fill("0");
    for (Knopf& knopf : m_feld.Kategorien) {
        knopf.Visible = true;
    }
    m_feld.Command17.Visible = true;
}

} // namespace wk

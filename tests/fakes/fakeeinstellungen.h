// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "highscore/einstellungen.h"
#include "highscore/highscore.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

// A settings store in memory. `werte` maps "Abschnitt/Schlüssel" to the value
// (set it directly for what an earlier run left); writes are counted. Work
// handed over is entered at once, or, while `zurueckhalten` is set, when
// freigeben() is called.
class FakeEinstellungen : public wk::Einstellungen, public wk::Eintraege {
public:
    std::vector<std::string> lesen(const std::vector<std::string>& schluessel, const std::string& vorgabe) const override {
        std::vector<std::string> ergebnis;
        for (const std::string& name : schluessel) {
            const auto eintrag = werte.find(name);
            ergebnis.push_back(eintrag == werte.end() ? vorgabe : eintrag->second);
        }
        return ergebnis;
    }
    void schreiben(const std::string& abschnitt, const std::string& schluessel, const std::string& wert) override {
        werte[abschnitt + "/" + schluessel] = wert;
        ++schreibvorgaenge;
    }
    std::string vormerken(wk::Auftrag auftrag) override {
        auftrag.id = std::to_string(++m_ids);
        auftrag.zeit = m_ids;
        wartend.push_back(auftrag);
        if (!zurueckhalten) freigeben();
        return auftrag.id;
    }
    void anmelden(Beobachter& b) override { m_beobachter.push_back(&b); }
    void abmelden(Beobachter& b) override { std::erase(m_beobachter, &b); }

    // Enters what waits and tells the observers.
    void freigeben() {
        const std::vector<wk::Auftrag> auftraege = std::exchange(wartend, {});
        wk::eintragen(*this, auftraege);
        for (Beobachter* b : std::vector(m_beobachter)) b->eingetragen(auftraege);
    }
    // Tells the observers that what waits could not be entered now.
    void verzoegern(bool vorgemerkt) {
        for (const wk::Auftrag& auftrag : wartend) {
            for (Beobachter* b : std::vector(m_beobachter)) b->verzoegert(auftrag, vorgemerkt);
        }
    }

    std::map<std::string, std::string> werte;
    int schreibvorgaenge = 0;
    bool zurueckhalten = false;
    std::vector<wk::Auftrag> wartend;

private:
    std::vector<Beobachter*> m_beobachter;
    int m_ids = 0;
};

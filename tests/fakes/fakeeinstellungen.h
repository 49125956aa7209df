// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "highscore/einstellungen.h"

#include <map>
#include <string>
#include <vector>

// A settings store in memory. `werte` maps "Abschnitt/Schlüssel" to the value
// (set it directly for what an earlier run left); writes are counted, and so
// are those made outside a transaction.
class FakeEinstellungen : public wk::Einstellungen {
public:
    std::vector<std::string> lesen(const std::string& abschnitt, const std::vector<std::string>& schluessel,
                                   const std::string& vorgabe) const override {
        std::vector<std::string> ergebnis;
        for (const std::string& name : schluessel) {
            const auto eintrag = werte.find(abschnitt + "/" + name);
            ergebnis.push_back(eintrag == werte.end() ? vorgabe : eintrag->second);
        }
        return ergebnis;
    }
    void schreiben(const std::string& abschnitt, const std::string& schluessel, const std::string& wert) override {
        zugriffeOhneTransaktion += m_tiefe == 0;
        werte[abschnitt + "/" + schluessel] = wert;
        ++schreibvorgaenge;
    }
    void gesperrt(const std::function<void()>& arbeit) override {
        ++m_tiefe;
        arbeit();
        --m_tiefe;
    }

    std::map<std::string, std::string> werte;
    int schreibvorgaenge = 0;
    int zugriffeOhneTransaktion = 0;  // writes

private:
    int m_tiefe = 0;
};

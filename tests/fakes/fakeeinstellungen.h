#pragma once

#include "highscore/einstellungen.h"

#include <map>
#include <string>

// A settings store in memory. `werte` maps "Abschnitt/Schlüssel" to the value
// (set it directly for what an earlier run left); writes and accesses outside
// a transaction are counted.
class FakeEinstellungen : public wk::Einstellungen {
public:
    std::string lesen(const std::string& abschnitt, const std::string& schluessel, const std::string& vorgabe) const override {
        zugriffeOhneTransaktion += m_tiefe == 0;
        const auto eintrag = werte.find(abschnitt + "/" + schluessel);
        return eintrag == werte.end() ? vorgabe : eintrag->second;
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
    mutable int zugriffeOhneTransaktion = 0;

private:
    int m_tiefe = 0;
};

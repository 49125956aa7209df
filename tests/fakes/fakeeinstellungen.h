#pragma once

#include "highscore/einstellungen.h"

#include <map>
#include <string>
#include <vector>

// A settings store in memory. `werte` maps "Abschnitt/Schlüssel" to the value
// (set it directly for what an earlier run left), `protokoll` logs each write
// as "Abschnitt/Schlüssel=Wert", and accesses outside a transaction are counted.
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
        protokoll.push_back(abschnitt + "/" + schluessel + "=" + wert);
    }
    void gesperrt(const std::function<void()>& arbeit) override {
        ++m_tiefe;
        arbeit();
        --m_tiefe;
    }

    std::map<std::string, std::string> werte;
    std::vector<std::string> protokoll;
    mutable int zugriffeOhneTransaktion = 0;

private:
    int m_tiefe = 0;
};

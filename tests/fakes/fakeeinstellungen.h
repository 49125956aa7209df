#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "highscore/einstellungen.h"

// A settings store in memory that keeps a log of every write and counts the
// accesses made outside a transaction.
class FakeEinstellungen : public wk::Einstellungen {
public:
    struct Schreibvorgang {
        std::string abschnitt;
        std::string schluessel;
        std::string wert;
    };

    std::string lesen(const std::string& abschnitt, const std::string& schluessel,
                      const std::string& vorgabe) const override {
        zaehlen();
        const auto eintrag = m_werte.find({abschnitt, schluessel});
        return eintrag == m_werte.end() ? vorgabe : eintrag->second;
    }

    void schreiben(const std::string& abschnitt, const std::string& schluessel,
                   const std::string& wert) override {
        zaehlen();
        m_werte[{abschnitt, schluessel}] = wert;
        m_protokoll.push_back({abschnitt, schluessel, wert});
    }

    void gesperrt(const std::function<void()>& arbeit) override {
        ++m_transaktionen;
        ++m_tiefe;
        arbeit();
        --m_tiefe;
    }

    // Puts a value in place without logging it, as if an earlier run wrote it.
    void vorbelegen(const std::string& abschnitt, const std::string& schluessel,
                    const std::string& wert) {
        m_werte[{abschnitt, schluessel}] = wert;
    }

    const std::vector<Schreibvorgang>& protokoll() const { return m_protokoll; }
    int transaktionen() const { return m_transaktionen; }
    int zugriffeOhneTransaktion() const { return m_zugriffeOhneTransaktion; }

private:
    void zaehlen() const {
        if (m_tiefe == 0) {
            ++m_zugriffeOhneTransaktion;
        }
    }

    std::map<std::pair<std::string, std::string>, std::string> m_werte;
    std::vector<Schreibvorgang> m_protokoll;
    int m_transaktionen = 0;
    int m_tiefe = 0;
    mutable int m_zugriffeOhneTransaktion = 0;
};

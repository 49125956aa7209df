// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "game/wertung.h"

#include "game/zahltext.h"

#include <algorithm>

namespace wk {
namespace {

struct Wurf {
    std::array<int, 7> anzahl{};      // per face 1..6, over all ten boxes
    std::array<bool, 7> vorhanden{};  // per face 1..6, visible boxes only
    int summe = 0;                    // visible boxes only
};

Wurf lesen(const std::array<Wuerfelbox, 5>& tisch, const std::array<Wuerfelbox, 5>& ablage) {
    Wurf wurf;
    for (int i = 0; i < 5; ++i) {
        for (const Wuerfelbox* box : {&ablage[i], &tisch[i]}) {
            const int wert = static_cast<int>(zahlAusText(box->Tag));
            if (wert < 1 || wert > 6) {
                continue;
            }
            ++wurf.anzahl[wert];
            if (box->Visible) {
                wurf.vorhanden[wert] = true;
                wurf.summe += wert;
            }
        }
    }
    return wurf;
}

bool alleDa(const Wurf& wurf, int von, int bis) {
    for (int f = von; f <= bis; ++f) {
        if (!wurf.vorhanden[f]) {
            return false;
        }
    }
    return true;
}

bool einer(const Wurf& wurf, auto&& bedingung) {
    return std::any_of(wurf.anzahl.begin() + 1, wurf.anzahl.end(), bedingung);
}

} // namespace

int punkte(const Kategorie& kategorie, const std::array<Wuerfelbox, 5>& tisch,
           const std::array<Wuerfelbox, 5>& ablage, const Regelwerk& regeln) {
    const Wurf wurf = lesen(tisch, ablage);
    switch (kategorie.regel) {
    case Regel::Augen:
        return kategorie.wert * wurf.anzahl[kategorie.wert];
    case Regel::Pasch:
        return einer(wurf, [&](int n) { return n >= kategorie.wert; }) ? wurf.summe : 0;
    case Regel::FullHaus: {
        const int fuenf = regeln.wurfkroneIstFullHaus ? 5 : -1;
        return einer(wurf, [&](int n) { return n == 3 || n == fuenf; }) &&
                       einer(wurf, [&](int n) { return n == 2 || n == fuenf; })
                   ? 25
                   : 0;
    }
    case Regel::KleineStrasse:
        return alleDa(wurf, 1, 4) || alleDa(wurf, 2, 5) || alleDa(wurf, 3, 6) ? 30 : 0;
    case Regel::GrosseStrasse:
        return alleDa(wurf, 1, 5) || alleDa(wurf, 2, 6) ? 40 : 0;
    case Regel::Wurfkrone:
        return einer(wurf, [](int n) { return n == 5; }) ? regeln.wurfkrone : 0;
    case Regel::Chance:
        return wurf.summe;
    }
    return 0;
}

void summenBilden(std::array<std::string, 17>& zahlen, std::array<std::string, 4>& label1) {
    double oben = 0;
    for (int i = 0; i <= 5; ++i) {
        oben += zahlAusText(zahlen[i]);
    }
    label1[0] = zahlAlsText(oben);
    if (zahlAusText(label1[0]) >= Bonusschwelle) {
        label1[1] = zahlAlsText(Bonus);
    }
    label1[2] = zahlAlsText(oben + zahlAusText(label1[1]));
    double unten = 0;
    for (int i = 6; i <= 12; ++i) {
        unten += zahlAusText(zahlen[i]);
    }
    label1[3] = zahlAlsText(unten);
    zahlen[13] = zahlAlsText(zahlAusText(label1[2]) + zahlAusText(label1[3]));
}

} // namespace wk

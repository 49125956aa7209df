// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/gegnereinstellung.h"

#include "highscore/einstellungen.h"
#include "strategie/gegner.h"

#include <algorithm>
#include <string>

namespace wk {
namespace {

const std::string Abschnitt = "Computergegner";

// A whole number lo..hi written as plain digits, otherwise `sonst`.
int zahl(const std::string& text, int lo, int hi, int sonst) {
    if (text.empty() || text.size() > 2 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return sonst;
    }
    const int wert = std::stoi(text);
    return wert >= lo && wert <= hi ? wert : sonst;
}

} // namespace

Gegnerauswahl gegnerauswahlLesen(const Einstellungen& einstellungen) {
    const Gegnerauswahl vorgabe;
    const std::vector<std::string> werte =
        einstellungen.lesen({Abschnitt + "/Anzahl", Abschnitt + "/Staerke", Abschnitt + "/Tempo"}, "");
    Gegnerauswahl auswahl;
    auswahl.anzahl = zahl(werte[0], 0, MaxComputer, vorgabe.anzahl);
    auswahl.staerke = zahl(werte[1], 1, int(Staerken.size()), vorgabe.staerke);
    const auto tempo = std::find(TempoNamen.begin(), TempoNamen.end(), werte[2]);
    auswahl.tempo = tempo == TempoNamen.end() ? vorgabe.tempo : Tempo(tempo - TempoNamen.begin());
    return auswahl;
}

void gegnerauswahlSchreiben(Einstellungen& einstellungen, const Gegnerauswahl& auswahl) {
    Auftrag auftrag;
    auftrag.setzen = {{Abschnitt + "/Anzahl", std::to_string(auswahl.anzahl)},
                      {Abschnitt + "/Staerke", std::to_string(auswahl.staerke)},
                      {Abschnitt + "/Tempo", std::string(TempoNamen[static_cast<std::size_t>(auswahl.tempo)])}};
    einstellungen.vormerken(std::move(auftrag));
}

} // namespace wk

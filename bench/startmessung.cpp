// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// Start-up and idle figures of the game against the reference window.
//
//   wk_startmessung --spiel <program> --referenz <program> [--oeffnen <command> [--nach S]]
//                   [--runden N] [--ruhe S]
//
// Runs the game and the reference in turn (game, reference, game, ...), N times
// each, on the X display of $DISPLAY. Both programs are started with
// WURFKRONE_MESSEN=1 and report "erstes-bild <ns>" (steady clock) on standard
// output once their first window has been painted. For every run it records
//   * the time from just before the process was created to that report,
//   * the resident memory (VmRSS) and the CPU time of all threads so far
//     (/proc/<pid>/task/*/schedstat) right after the report,
//   * after one second of settling, the CPU time (utime + stime, in clock ticks)
//     and the wake-ups during S seconds of idling. Wake-ups are the context
//     switches of all threads as /proc/<pid>/task/*/status counts them; when
//     `perf stat` can attach, its context-switches count is shown beside them.
// With --oeffnen, N further runs of the game execute <command> (with WK_PID set
// to the game's process id) S seconds after the first paint (--nach, default
// 3: a quick player choosing players and typing a name), to open the game
// window as a player would, and measure the time from the press on "Spiel Starten" to the
// game window's first paint (both reported by the game) and the idling of that
// window. The game's idling is measured once it reports its coach's table
// computed ("tipptabelle-fertig"), as idling means no work left to do.
//
//   wk_startmessung --spiel <program> --erster-tipp <command> [--nach S] [--runden N]
//
// instead starts the game N times and, S seconds (default 3) after its first
// paint, executes <command>, which opens the game window, rolls and asks for
// the coach's advice; it reports when the table was there and what the coach
// said on that first roll.
//
// Prints a table with median, minimum and maximum, the ratios, and PASS or MISS
// per target. Exit status 0 when every run worked, whatever the targets say.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "prozess.h"

namespace {

using namespace messung;
using Uhr = std::chrono::steady_clock;

constexpr double kStartFaktor = 1.15;     // start window painted within this factor of the reference
constexpr double kSpeicherPlusMb = 8.0;   // resident memory at most this much above the reference
constexpr double kSpielfensterMs = 100.0; // game window painted within this of pressing "Spiel Starten"
constexpr auto kBeruhigen = std::chrono::milliseconds(1000);
constexpr int kWarteSekunden = 30;        // longest wait for the first paint

struct Optionen {
    std::string spiel;
    std::string referenz;
    std::string oeffnen;
    std::string ersterTipp;
    int nach = 3;
    int runden = 10;
    int ruhe = 5;
};

struct Lauf {
    double startMs = 0;
    double cpuMs = 0;     // CPU time of all threads until the first paint
    double rssMb = 0;
    double spielfensterMs = 0;  // from pressing "Spiel Starten" to the game window painted (with --oeffnen)
    long ticks = 0;
    long aufwachen = 0;
    std::optional<long> perfWechsel;
};

// Runs `befehl` with WK_PID set to `pid`; false when it failed.
bool schritt(const std::string& befehl, pid_t pid) {
    setenv("WK_PID", std::to_string(pid).c_str(), 1);
    if (warteAuf(starteProzess({"/bin/sh", "-c", befehl}, -1)) != 0) {
        std::fprintf(stderr, "  '%s' failed\n", befehl.c_str());
        return false;
    }
    return true;
}

// With `tabelle` (the game, not the reference) the idling waits for the
// coach's table. `oeffnen` runs `nach` seconds after the first paint.
std::optional<Lauf> einLauf(const std::string& programm, const std::string& oeffnen, int nach, int ruhe, bool tabelle) {
    int rohr[2];
    if (pipe(rohr) != 0) {
        return std::nullopt;
    }
    const long long t0 =
        std::chrono::duration_cast<std::chrono::nanoseconds>(Uhr::now().time_since_epoch()).count();
    const pid_t pid = starteProzess({programm}, rohr[1]);
    close(rohr[1]);
    Ausgabe ausgabe(rohr[0]);
    const auto bild = ausgabe.warteAuf("erstes-bild", kWarteSekunden);
    Lauf lauf;
    if (!bild) {
        std::fprintf(stderr, "  %s: no first paint within %d s\n", programm.c_str(), kWarteSekunden);
        beende(pid);
        close(rohr[0]);
        return std::nullopt;
    }
    lauf.rssMb = rssMb(pid);
    lauf.cpuMs = cpuMs(pid);
    lauf.startMs = static_cast<double>(*bild - t0) / 1e6;

    if (!oeffnen.empty()) {
        std::this_thread::sleep_until(Uhr::time_point(std::chrono::nanoseconds(*bild) + std::chrono::seconds(nach)));
        if (!schritt(oeffnen, pid)) {
            beende(pid);
            close(rohr[0]);
            return std::nullopt;
        }
        const auto gedrueckt = ausgabe.warteAuf("start-gedrueckt", kWarteSekunden);
        const auto gemalt = gedrueckt ? ausgabe.warteAuf("spielfenster-bild", kWarteSekunden) : std::nullopt;
        if (!gemalt) {
            std::fprintf(stderr, "  no press on \"Spiel Starten\" or no game window painted\n");
            beende(pid);
            close(rohr[0]);
            return std::nullopt;
        }
        lauf.spielfensterMs = static_cast<double>(*gemalt - *gedrueckt) / 1e6;
    }

    if (tabelle && !ausgabe.warteAuf("tipptabelle-fertig", kWarteSekunden)) {
        std::fprintf(stderr, "  %s: the coach's table was not computed within %d s\n", programm.c_str(), kWarteSekunden);
        beende(pid);
        close(rohr[0]);
        return std::nullopt;
    }
    std::this_thread::sleep_for(kBeruhigen);
    const auto vorher = zaehlerJeFaden(pid);
    if (perfVorhanden()) {
        lauf.perfWechsel = perfLeerlauf(pid, ruhe);
    } else {
        std::this_thread::sleep_for(std::chrono::seconds(ruhe));
    }
    const Zaehler d = unterschied(vorher, zaehlerJeFaden(pid));
    lauf.ticks = d.ticks;
    lauf.aufwachen = d.wechsel;
    beende(pid);
    close(rohr[0]);
    return lauf;
}

struct Statistik {
    double median = 0;
    double min = 0;
    double max = 0;
};

Statistik statistik(std::vector<double> werte) {
    std::sort(werte.begin(), werte.end());
    const std::size_t n = werte.size();
    const double median = n % 2 ? werte[n / 2] : (werte[n / 2 - 1] + werte[n / 2]) / 2;
    return {median, werte.front(), werte.back()};
}

template <typename F>
Statistik ueber(const std::vector<Lauf>& laeufe, F wert) {
    std::vector<double> w;
    for (const Lauf& l : laeufe) {
        w.push_back(static_cast<double>(wert(l)));
    }
    return statistik(w);
}

void zeile(const char* name, const Statistik& s, const char* format) {
    std::printf("  %-44s", name);
    for (const double w : {s.median, s.min, s.max}) {
        std::printf(format, w);
    }
    std::printf("\n");
}

bool leerlaufZeilen(const char* fenster, const std::vector<Lauf>& laeufe) {
    char name[96];
    std::snprintf(name, sizeof name, "%s: CPU ticks", fenster);
    const Statistik ticks = ueber(laeufe, [](const Lauf& l) { return l.ticks; });
    zeile(name, ticks, " %9.0f");
    std::snprintf(name, sizeof name, "%s: wake-ups (/proc)", fenster);
    const Statistik wach = ueber(laeufe, [](const Lauf& l) { return l.aufwachen; });
    zeile(name, wach, " %9.0f");
    bool perfStill = true;
    if (std::all_of(laeufe.begin(), laeufe.end(), [](const Lauf& l) { return l.perfWechsel.has_value(); })) {
        std::snprintf(name, sizeof name, "%s: context switches (perf)", fenster);
        const Statistik perf = ueber(laeufe, [](const Lauf& l) { return *l.perfWechsel; });
        zeile(name, perf, " %9.0f");
        perfStill = perf.max == 0;
    }
    return ticks.max == 0 && wach.max == 0 && perfStill;
}

void ziel(bool erreicht, const std::string& text) {
    std::printf("  %s  %s\n", erreicht ? "PASS" : "MISS", text.c_str());
}

// The game started `o.nach` seconds after its first paint, its first roll,
// and the coach asked on it. Returns 0 when every run worked.
int ersterTippMessen(const Optionen& o) {
    std::vector<double> tabelle;  // ms from the first paint to the table computed
    std::vector<double> start;    // ms from the first paint to the press on "Spiel Starten"
    int mitRat = 0;
    std::vector<std::string> texte;
    for (int r = 1; r <= o.runden; ++r) {
        std::fprintf(stderr, "first advice run %d of %d\n", r, o.runden);
        int rohr[2];
        if (pipe(rohr) != 0) {
            return 1;
        }
        const pid_t pid = starteProzess({o.spiel}, rohr[1]);
        close(rohr[1]);
        Ausgabe ausgabe(rohr[0]);
        const auto bild = ausgabe.warteAuf("erstes-bild", kWarteSekunden);
        if (bild) {
            std::this_thread::sleep_until(Uhr::time_point(std::chrono::nanoseconds(*bild) + std::chrono::seconds(o.nach)));
        }
        const bool geklappt = bild && schritt(o.ersterTipp, pid);
        const auto tipp = geklappt ? ausgabe.zeile("tipp", kWarteSekunden) : std::nullopt;
        const auto fertig = tipp ? ausgabe.warteAuf("tipptabelle-fertig", kWarteSekunden) : std::nullopt;
        const auto gedrueckt = fertig ? ausgabe.warteAuf("start-gedrueckt", 1) : std::nullopt;
        beende(pid);
        close(rohr[0]);
        if (!gedrueckt) {
            std::fprintf(stderr, "  no first paint, no advice shown, no table or no press on \"Spiel Starten\"\n");
            return 1;
        }
        tabelle.push_back(static_cast<double>(*fertig - *bild) / 1e6);
        start.push_back(static_cast<double>(*gedrueckt - *bild) / 1e6);
        const std::string text = tipp->substr(std::min(tipp->size(), tipp->find(' ') + 1));
        mitRat += text.rfind("behalten:", 0) == 0 || text.rfind("eintragen:", 0) == 0;
        texte.push_back(text);
    }
    std::printf("The coach on the first roll: the game started %d s after the start window's first paint,\n"
                "then one roll, then H; %d runs\n", o.nach, o.runden);
    std::printf("  %-44s %9s %9s %9s\n", "", "median", "min", "max");
    const Statistik t = statistik(tabelle);
    zeile("table computed after the first paint, ms", t, " %9.1f");
    zeile("\"Spiel Starten\" pressed after it, ms", statistik(start), " %9.1f");
    for (std::size_t i = 0; i < texte.size(); ++i) {
        std::printf("  run %2zu: \"%s\"\n", i + 1, texte[i].c_str());
    }
    char text[160];
    std::snprintf(text, sizeof text, "advice on the first roll in every run: %d of %d", mitRat, o.runden);
    ziel(mitRat == o.runden, text);
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    Optionen o;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        const std::string w = argv[i + 1];
        if (a == "--spiel") {
            o.spiel = w;
        } else if (a == "--referenz") {
            o.referenz = w;
        } else if (a == "--oeffnen") {
            o.oeffnen = w;
        } else if (a == "--erster-tipp") {
            o.ersterTipp = w;
        } else if (a == "--nach") {
            o.nach = std::max(0, std::atoi(w.c_str()));
        } else if (a == "--runden") {
            o.runden = std::max(1, std::atoi(w.c_str()));
        } else if (a == "--ruhe") {
            o.ruhe = std::max(1, std::atoi(w.c_str()));
        }
    }
    if (o.spiel.empty() || (o.referenz.empty() && o.ersterTipp.empty())) {
        std::fprintf(stderr, "usage: %s --spiel <program> --referenz <program> [--oeffnen <command> [--nach S]] "
                             "[--runden N] [--ruhe S]\n"
                             "       %s --spiel <program> --erster-tipp <command> [--nach S] [--runden N]\n",
                     argv[0], argv[0]);
        return 2;
    }
    setenv("WURFKRONE_MESSEN", "1", 1);
    if (!o.ersterTipp.empty()) {
        return ersterTippMessen(o);
    }

    std::vector<Lauf> spiel;
    std::vector<Lauf> referenz;
    std::vector<Lauf> spielfenster;
    for (int r = 1; r <= o.runden; ++r) {
        std::fprintf(stderr, "start-up run %d of %d\n", r, o.runden);
        for (auto [programm, laeufe] : {std::pair{&o.spiel, &spiel}, std::pair{&o.referenz, &referenz}}) {
            const auto lauf = einLauf(*programm, {}, 0, o.ruhe, laeufe == &spiel);
            if (!lauf) {
                return 1;
            }
            laeufe->push_back(*lauf);
        }
    }
    if (!o.oeffnen.empty()) {
        for (int r = 1; r <= o.runden; ++r) {
            std::fprintf(stderr, "game window run %d of %d\n", r, o.runden);
            const auto lauf = einLauf(o.spiel, o.oeffnen, o.nach, o.ruhe, true);
            if (!lauf) {
                return 1;
            }
            spielfenster.push_back(*lauf);
        }
    }

    std::printf("Start-up under X, %d runs each, game and reference interleaved\n", o.runden);
    std::printf("  %-44s %9s %9s %9s\n", "", "median", "min", "max");
    const Statistik startSpiel = ueber(spiel, [](const Lauf& l) { return l.startMs; });
    const Statistik startRef = ueber(referenz, [](const Lauf& l) { return l.startMs; });
    zeile("start window first painted, ms: game", startSpiel, " %9.1f");
    zeile("start window first painted, ms: reference", startRef, " %9.1f");
    zeile("CPU time until then, ms: game", ueber(spiel, [](const Lauf& l) { return l.cpuMs; }), " %9.1f");
    zeile("CPU time until then, ms: reference", ueber(referenz, [](const Lauf& l) { return l.cpuMs; }), " %9.1f");
    const Statistik rssSpiel = ueber(spiel, [](const Lauf& l) { return l.rssMb; });
    const Statistik rssRef = ueber(referenz, [](const Lauf& l) { return l.rssMb; });
    zeile("resident memory then, MB: game", rssSpiel, " %9.1f");
    zeile("resident memory then, MB: reference", rssRef, " %9.1f");
    const double faktor = startSpiel.median / startRef.median;
    const double mehrMb = rssSpiel.median - rssRef.median;
    std::printf("  start time game / reference (medians): %.3f; memory game - reference: %+.1f MB\n", faktor,
                mehrMb);

    std::printf("\nIdling %d s, one second after the window appeared (the game's: after its coach's table was\n"
                "computed): CPU ticks are utime + stime of all threads (1 tick = 1/%ld s); wake-ups are their\n"
                "voluntary + involuntary context switches\n",
                o.ruhe, sysconf(_SC_CLK_TCK));
    std::printf("  %-44s %9s %9s %9s\n", "", "median", "min", "max");
    const bool startStill = leerlaufZeilen("start window (game)", spiel);
    leerlaufZeilen("reference", referenz);
    bool spielStill = false;
    Statistik oeffnen;
    if (!spielfenster.empty()) {
        spielStill = leerlaufZeilen("game window (game)", spielfenster);
        oeffnen = ueber(spielfenster, [](const Lauf& l) { return l.spielfensterMs; });
        std::printf("\nGame window, %d runs, opened %d s after the start window's first paint: from the mouse\n"
                    "button going down on \"Spiel Starten\" to the game window painted with its dice (the first\n"
                    "game window of the process)\n",
                    o.runden, o.nach);
        std::printf("  %-44s %9s %9s %9s\n", "", "median", "min", "max");
        zeile("pressed to game window painted, ms", oeffnen, " %9.1f");
    }

    std::printf("\nTargets\n");
    char text[160];
    std::snprintf(text, sizeof text, "start window painted within %.2fx the reference: %.3fx", kStartFaktor, faktor);
    ziel(faktor <= kStartFaktor, text);
    std::snprintf(text, sizeof text, "resident memory within +%.0f MB of the reference: %+.1f MB", kSpeicherPlusMb,
                  mehrMb);
    ziel(mehrMb <= kSpeicherPlusMb, text);
    ziel(startStill, "start window idles: 0 CPU ticks and 0 wake-ups in every run");
    if (!spielfenster.empty()) {
        ziel(spielStill, "game window idles: 0 CPU ticks and 0 wake-ups in every run");
        std::snprintf(text, sizeof text, "game window painted within %.0f ms of pressing \"Spiel Starten\" "
                      "(median): %.1f ms", kSpielfensterMs, oeffnen.median);
        ziel(oeffnen.median <= kSpielfensterMs, text);
    }
    return 0;
}

// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// The computer players' figures (run by bench/run):
//
//   Gegner/Entscheidung/<Stärke>  one decision (Gegner::naechster on the
//                                 first roll of a turn, the turn's values
//                                 not yet known), with Google Benchmark;
//   a whole computer sheet at the pace "sofort" in a game window (offscreen,
//   shown): the GUI thread's CPU time from the sheet's first step to its
//   closing message, and the longest event it handled meanwhile (a slice,
//   in CPU time), over 20 sheets; and how long a sheet at "schnell" takes;
//   the mean total of a sheet of each strength with its standard error, from
//   --blaetter sheets each (default 100,000) played headless through
//   wk::Spiel's handlers on two threads, against the strength's target (±5
//   points) or, for the strongest, the table's value of a fresh sheet
//   (within 3 standard errors).
//
//   wk_gegner [--blaetter=N] [Google Benchmark options]
//   wk_gegner --eichen
//
// --eichen finds each weaker strength's temperature for its target by
// bisection (the same seeds at every step, 20,000 sheets a step) and prints it.
#include "game/meldung.h"
#include "platform/fensteroben.h"
#include "strategie/gegner.h"
#include "ui/artwork.h"
#include "ui/computerspieler.h"
#include "ui/form1.h"
#include "ui/tipptabelle.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <future>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace wk;

std::string name(const Staerke& s) { return std::string(s.name); }

struct Mittel {
    double wert = 0;
    double fehler = 0;  // standard error
};

// On two threads, each with a seed of its own.
Mittel mittel(const Tabelle& tabelle, const Staerke& staerke, int anzahl, std::uint64_t saat) {
    auto zweite = std::async(std::launch::async, [&] { return probeblaetter(tabelle, staerke, anzahl / 2, saat + 1); });
    std::vector<double> p = probeblaetter(tabelle, staerke, anzahl - anzahl / 2, saat);
    const std::vector<double> q = zweite.get();
    p.insert(p.end(), q.begin(), q.end());
    double summe = 0, quadrate = 0;
    for (double x : p) {
        summe += x;
        quadrate += x * x;
    }
    const double n = double(p.size()), m = summe / n;
    return {m, std::sqrt((quadrate / n - m * m) / (n - 1))};
}

void eichen(const Tabelle& tabelle) {
    for (std::size_t s = 0; s + 1 < Staerken.size(); ++s) {
        double unten = 0.2, oben = 60;  // temperatures: a mean above the target, one below
        for (int schritt = 0; schritt < 14; ++schritt) {
            Staerke probe = Staerken[s];
            probe.temperatur = std::sqrt(unten * oben);
            const Mittel m = mittel(tabelle, probe, 20000, 1000);
            std::printf("  %s: t %.3f -> %.2f +- %.2f\n", name(probe).c_str(), probe.temperatur, m.wert, m.fehler);
            (m.wert > probe.ziel ? unten : oben) = probe.temperatur;
        }
        std::printf("%s: temperature %.2f\n", name(Staerken[s]).c_str(), std::sqrt(unten * oben));
    }
}

class StilleMeldung : public Meldung {
public:
    void zeigen(const std::string&) override {}
};

// The game on the first roll of each turn of some sheets the strongest plays.
struct Lage {
    Spielfeld feld;
    Spielstand stand;
};

std::vector<Lage> ersteWuerfe(const Tabelle& tabelle) {
    std::vector<Lage> lagen;
    probeblaetter(tabelle, Staerken.back(), 40, 7, [&](const Spiel& spiel, const Schritt& s) {
        if (s.aktion == Aktion::Wuerfeln && spiel.stand().Wuerfe == 1 && !spiel.beendet()) {
            lagen.push_back({spiel.feld(), spiel.stand()});
        }
    });
    return lagen;
}

// Each state is of another turn than the one before, so every decision
// computes its turn's values.
void entscheidung(benchmark::State& state, const Tabelle* tabelle, const std::vector<Lage>* lagen, const Staerke* s) {
    Gegner gegner(*s, 1);
    gegner.tabelleSetzen(*tabelle);
    std::size_t i = 0;
    for (auto _ : state) {
        const Lage& l = (*lagen)[i++ % lagen->size()];
        benchmark::DoNotOptimize(gegner.naechster(l.feld, l.stand));
    }
}

double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Times every event the GUI thread handles (the outermost only) while `messen`.
class Messanwendung : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* ziel, QEvent* ereignis) override {
        if (!messen || m_tiefe > 0) {
            return QApplication::notify(ziel, ereignis);
        }
        ++m_tiefe;
        const double anfang = cpuMs();
        const int art = ereignis->type();
        const bool ergebnis = QApplication::notify(ziel, ereignis);
        if (cpuMs() - anfang > laengste) {
            laengste = cpuMs() - anfang;
            laengsteArt = art;
        }
        --m_tiefe;
        return ergebnis;
    }
    bool messen = false;
    double laengste = 0;  // CPU time, ms
    int laengsteArt = 0;  // its QEvent::Type

private:
    int m_tiefe = 0;
};

struct Blattzeit {
    double cpu = 0;
    double wand = 0;  // ms
    double laengste = 0;
    int art = 0;
};

// One sheet of a computer player at `tempo`, in a window already painted.
Blattzeit blatt(Messanwendung& app, const Artwork& artwork, Tipptabelle& tabelle, Tempo tempo, std::uint64_t saat) {
    Spielstand stand;
    stand.spielerAnlegen(0);
    stand.computerDazu({"Meister"}, 4);
    stand.spielStarten();
    Zufall zufall(saat);
    StilleMeldung meldung;
    QtFensterOben oben;
    QEventLoop schleife;
    Blattzeit zeit;
    double anfang = 0;
    QElapsedTimer uhr;
    Form1 fenster(stand, zufall, meldung, oben, artwork, [&] {
        zeit.cpu = cpuMs() - anfang;
        zeit.wand = double(uhr.nsecsElapsed()) / 1e6;
        app.messen = false;
        schleife.quit();
    });
    fenster.show();
    if (!QTest::qWaitForWindowExposed(&fenster)) {
        return zeit;
    }
    QTest::qWait(50);
    app.laengste = 0;
    app.messen = true;
    anfang = cpuMs();
    uhr.start();
    new Computerspieler(fenster, tabelle, tempo);
    schleife.exec();
    zeit.laengste = app.laengste;
    zeit.art = app.laengsteArt;
    return zeit;
}

void ziel(bool erreicht, const std::string& text) { std::printf("  %s  %s\n", erreicht ? "PASS" : "MISS", text.c_str()); }

class Sammler : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.aggregate_name == "median") {
                m_ms[run.run_name.function_name] = run.GetAdjustedRealTime() *
                                                  benchmark::GetTimeUnitMultiplier(benchmark::kMillisecond) /
                                                  benchmark::GetTimeUnitMultiplier(run.time_unit);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> m_ms;
};

} // namespace

int main(int argc, char* argv[]) {
    int anzahl = 100000;
    bool eichung = false;
    std::vector<char*> weiter{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--blaetter=", 11) == 0) {
            anzahl = std::atoi(argv[i] + 11);
        } else if (std::strcmp(argv[i], "--eichen") == 0) {
            eichung = true;
        } else {
            weiter.push_back(argv[i]);
        }
    }
    int weiterAnzahl = int(weiter.size());
    Messanwendung app(weiterAnzahl, weiter.data());
    const Tabelle tabelle;
    if (eichung) {
        eichen(tabelle);
        return 0;
    }

    const std::vector<Lage> lagen = ersteWuerfe(tabelle);
    for (const Staerke* s : {&Staerken.front(), &Staerken.back()}) {
        benchmark::RegisterBenchmark(("Gegner/Entscheidung/" + name(*s)).c_str(), entscheidung, &tabelle, &lagen, s)
            ->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
    }
    benchmark::Initialize(&weiterAnzahl, weiter.data());
    Sammler sammler;
    benchmark::RunSpecifiedBenchmarks(&sammler);
    benchmark::Shutdown();

    std::printf("\nComputer players (%zu decision states)\n", lagen.size());
    for (const auto& [name, ms] : sammler.m_ms) {
        ziel(ms <= 1, name + " <= 1 ms: " + std::to_string(ms) + " ms (median of 5)");
    }

    // A computer's sheet at "sofort" in the game window.
    const Artwork artwork(app.devicePixelRatio());
    Tipptabelle tipptabelle([&](const Verteiler&) { return std::make_unique<Tabelle>(tabelle); });
    QEventLoop warten;
    QObject::connect(&tipptabelle, &Tipptabelle::fertig, &warten, &QEventLoop::quit);
    tipptabelle.anfordern();
    warten.exec();
    std::vector<double> cpu;
    Blattzeit laengste;
    for (std::uint64_t saat = 1; saat <= 20; ++saat) {
        const Blattzeit z = blatt(app, artwork, tipptabelle, Tempo::Sofort, saat);
        cpu.push_back(z.cpu);
        if (z.laengste > laengste.laengste) {
            laengste = z;
        }
    }
    std::sort(cpu.begin(), cpu.end());
    char zeile[200];
    std::snprintf(zeile, sizeof zeile, "a sheet at \"sofort\": GUI thread %.1f ms (median of 20, most %.1f ms) <= 50 ms",
                  (cpu[9] + cpu[10]) / 2, cpu.back());
    ziel(cpu.back() <= 50, zeile);
    std::snprintf(zeile, sizeof zeile, "  ... its longest slice (one event handled, event type %d): %.2f ms CPU <= 5 ms",
                  laengste.art, laengste.laengste);
    ziel(laengste.laengste <= 5, zeile);
    std::vector<double> schnell;
    for (std::uint64_t saat = 1; saat <= 3; ++saat) {
        schnell.push_back(blatt(app, artwork, tipptabelle, Tempo::Schnell, saat).wand / 1000);
    }
    std::sort(schnell.begin(), schnell.end());
    std::printf("  a sheet at \"schnell\": %.1f s (median of 3, %.1f to %.1f s)\n", schnell[1], schnell[0], schnell[2]);

    std::printf("\nStrengths: %d sheets each, headless, two threads\n", anzahl);
    for (const Staerke& s : Staerken) {
        QElapsedTimer uhr;
        uhr.start();
        const Mittel m = mittel(tabelle, s, anzahl, 1);
        const double soll = s.ziel > 0 ? s.ziel : tabelle.wert(AlleOffen, 0);
        const bool erreicht = s.ziel > 0 ? std::abs(m.wert - soll) <= 5 : std::abs(m.wert - soll) <= 3 * m.fehler;
        std::snprintf(zeile, sizeof zeile, "%s (t %.2f): mean %.2f +- %.2f, target %.2f %s; %.1f s", name(s).c_str(),
                      s.temperatur, m.wert, m.fehler, soll, s.ziel > 0 ? "+-5" : "within 3 SE",
                      double(uhr.elapsed()) / 1000);
        ziel(erreicht, zeile);
    }
    return 0;
}

// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// The coach's figures, measured with Google Benchmark (run by bench/run):
//
//   Tipp/Tabelle/EinKern      the whole table on the calling thread
//   Tipp/Tabelle/Tipptabelle  the whole table as the program computes it:
//                             wk::Tipptabelle, a thread of normal priority
//                             on every core
//   Tipp/Rat                  one piece of advice (Berater::rat) on the first
//                             roll of a turn, the turn's values not yet known
//
// Wall time and the CPU time of the whole process (core-seconds) are reported
// for the tables. Afterwards: the value of a fresh sheet with six decimals,
// the memory the table keeps and the growth of the peak resident memory while
// the first table was computed, and PASS or MISS per target.
//
//   wk_tipp [Google Benchmark options]
#include "game/meldung.h"
#include "game/spiel.h"
#include "strategie/berater.h"
#include "ui/tipptabelle.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace wk;

class StilleMeldung : public Meldung {
public:
    void zeigen(const std::string&) override {}
};

long kilobyte(const char* schluessel) {
    std::ifstream status("/proc/self/status");
    for (std::string zeile; std::getline(status, zeile);) {
        if (zeile.rfind(schluessel, 0) == 0) {
            return std::atol(zeile.c_str() + std::strlen(schluessel));
        }
    }
    return 0;
}

std::unique_ptr<Tipptabelle> mitTipptabelle() {
    auto tipptabelle = std::make_unique<Tipptabelle>();
    QEventLoop warten;
    QObject::connect(tipptabelle.get(), &Tipptabelle::fertig, &warten, &QEventLoop::quit);
    tipptabelle->anfordern();
    warten.exec();
    return tipptabelle;
}

void tabelleEinKern(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(Tabelle(Hausregeln, nacheinander).wert(AlleOffen, 0));
    }
}

void tabelleTipptabelle(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(mitTipptabelle()->tabelle()->wert(AlleOffen, 0));
    }
}

// The game after the first roll of each turn of some sheets played as advised.
struct Lage {
    Spielfeld feld;
    Spielstand stand;
};

std::vector<Lage> ersteWuerfe(const Tabelle& tabelle) {
    std::vector<Lage> lagen;
    Spielstand stand;
    stand.Runden = 40;
    stand.spielerAnlegen(1);
    stand.spielStarten();
    Zufall zufall(7);
    StilleMeldung meldung;
    Spiel spiel(stand, zufall, meldung, {});
    spiel.Form_Load();
    Berater berater;
    berater.tabelleSetzen(tabelle);
    const Spielfeld& f = spiel.feld();
    while (!spiel.beendet()) {
        f.Command17.Visible ? spiel.Command17_Click() : spiel.Command3_Click();
        while (f.Timer1) spiel.Timer1_Timer();
        lagen.push_back({f, stand});
        for (Rat r = berater.rat(f, stand); r.zelle < 0; r = berater.rat(f, stand)) {
            for (int i = 0; i < 5; ++i) {
                if (r.ablegen[i]) spiel.w1_Click(i);
                if (r.zuruecknehmen[i]) spiel.Raus_Click(i);
            }
            spiel.Command17_Click();
            while (f.Timer1) spiel.Timer1_Timer();
        }
        spiel.Kategorie_Click(berater.rat(f, stand).zelle);
    }
    return lagen;
}

void ratMessen(benchmark::State& state, const Tabelle* tabelle, const std::vector<Lage>* lagen) {
    Berater berater;
    berater.tabelleSetzen(*tabelle);
    std::size_t i = 0;
    for (auto _ : state) {
        const Lage& l = (*lagen)[i++ % lagen->size()];
        benchmark::DoNotOptimize(berater.rat(l.feld, l.stand).erwartung);
    }
}

class Sammler : public benchmark::ConsoleReporter {
public:
    Sammler() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.aggregate_name == "median") {
                const double faktor = benchmark::GetTimeUnitMultiplier(benchmark::kMillisecond) /
                                      benchmark::GetTimeUnitMultiplier(run.time_unit);
                m_wand[run.run_name.function_name] = run.GetAdjustedRealTime() * faktor;
                m_cpu[run.run_name.function_name] = run.GetAdjustedCPUTime() * faktor;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> m_wand, m_cpu;
};

void ziel(bool erreicht, const char* text, double wert, const char* einheit) {
    std::printf("  %s  %s: %.3f %s\n", erreicht ? "PASS" : "MISS", text, wert, einheit);
}

// A median, or nothing when that benchmark did not run.
std::optional<double> median(const std::map<std::string, double>& werte, const char* name) {
    const auto w = werte.find(name);
    return w == werte.end() ? std::nullopt : std::optional(w->second);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);

    // The first table in this process, for its memory.
    const long spitzeVorher = kilobyte("VmHWM:");
    const auto tipptabelle = mitTipptabelle();
    const long spitzeNachher = kilobyte("VmHWM:");
    const Tabelle* tabelle = tipptabelle->tabelle();
    const std::vector<Lage> lagen = ersteWuerfe(*tabelle);

    benchmark::RegisterBenchmark("Tipp/Tabelle/EinKern", tabelleEinKern)
        ->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->UseRealTime()->MeasureProcessCPUTime()
        ->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark("Tipp/Tabelle/Tipptabelle", tabelleTipptabelle)
        ->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->UseRealTime()->MeasureProcessCPUTime()
        ->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark("Tipp/Rat", ratMessen, tabelle, &lagen)
        ->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
    benchmark::Initialize(&argc, argv);
    Sammler sammler;
    benchmark::RunSpecifiedBenchmarks(&sammler);
    benchmark::Shutdown();

    std::printf("\nThe coach (medians of 5 repetitions; %zu advice states)\n", lagen.size());
    std::printf("  value of a fresh sheet: %.6f\n", tabelle->wert(AlleOffen, 0));
    std::printf("  memory: the table keeps %.2f MB; peak resident memory grew by %.2f MB while computing it\n",
                double(tabelle->bytes()) / 1e6, double(spitzeNachher - spitzeVorher) * 1024 / 1e6);
    const auto wand = median(sammler.m_wand, "Tipp/Tabelle/Tipptabelle");
    if (wand) {
        std::printf("  whole table as the program computes it: %.0f ms wall, %.2f core-seconds\n", *wand,
                    *median(sammler.m_cpu, "Tipp/Tabelle/Tipptabelle") / 1000);
        ziel(*wand <= 1000, "whole table <= 1 s wall (aim 0.5 s)", *wand, "ms");
    }
    if (const auto einKern = median(sammler.m_wand, "Tipp/Tabelle/EinKern")) {
        std::printf("  whole table on one core: %.0f ms wall\n", *einKern);
    }
    ziel(double(tabelle->bytes()) <= 4e6, "table <= 4 MB", double(tabelle->bytes()) / 1e6, "MB");
    if (const auto rat = median(sammler.m_wand, "Tipp/Rat")) {
        ziel(*rat <= 1, "one piece of advice <= 1 ms", *rat, "ms");
    }
    return 0;
}

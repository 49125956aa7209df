// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's hot paths, measured with Google Benchmark (run by bench/run):
//
//   Kern/Takt                  one Spiel::Timer1_Timer while a roll tumbles
//   Kern/GanzesSpiel           a headless game of 6 players x 25 sheets
//   Fenster/TaktMitBild        one interval of the game window's animation timer
//                              "Timer1": its five ticks (Form1's slot takt), then
//                              the repaint they cause, on the offscreen platform
//   Artwork/Startfenster/<d>   a fresh Artwork for ratio d and what the start
//                              window takes from it: the icon in every size (as
//                              X11 asks for it) and the link and mail pointers
//   Artwork/Spielfenster/<d>   then every picture of the game window
//   Artwork/Alles/<d>          both together
//
//   wk_heissepfade [--skalierung=N] [Google Benchmark options]
//   wk_heissepfade --wuerfe=N [--tipp]
//
// --skalierung=N sets QT_SCALE_FACTOR before the application starts, so the
// game window is drawn at N device pixels per pixel; with N other than 1 only
// Fenster/TaktMitBild runs. After the table the program prints PASS or MISS
// for each target it has a figure for, judged on the median of the repetitions.
//
// --wuerfe=N instead plays N rolls in the game window with its own timer and
// reports how regularly Timer1 fired: the gaps between its intervals and how
// many came half an interval or more late (a dropped tick). It exits with 1
// if any did. bench/run runs it once as it is and once under nice on a core
// kept busy by another program. With --tipp the coach's table is computed
// over and over meanwhile, as once the start window has been painted.
#include "spieler.h"

#include "game/meldung.h"
#include "game/spielstand.h"
#include "game/zufall.h"
#include "platform/fensteroben.h"
#include "ui/artwork.h"
#include "ui/form1.h"
#include "ui/tipptabelle.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QIcon>
#include <QPushButton>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace wk;

constexpr int kWiederholungen = 5;

struct Ziel {
    const char* benchmark;  // the benchmark's name as reported
    double hoechstensMs;
    const char* text;
};

constexpr Ziel kZiele[] = {
    {"Fenster/TaktMitBild", 1.0, "a tick including its repaint <= 1 ms"},
    {"Kern/GanzesSpiel", 20.0, "headless 6 x 25 game <= 20 ms"},
    {"Artwork/Startfenster/1", 5.0, "artwork at ratio 1, what the start window needs, <= 5 ms"},
    {"Artwork/Startfenster/2", 5.0, "artwork at ratio 2, what the start window needs, <= 5 ms"},
};

class StilleMeldung : public Meldung {
public:
    void zeigen(const std::string&) override {}
};

class NichtOben : public FensterOben {
public:
    void fenster_oben(QWidget&, bool) override {}
};

// A game as the start window leaves it: players named, start pressed.
struct Partie {
    Partie(int spieler, int runden) {
        stand.Runden = runden;
        stand.spielerAnlegen(spieler);
        for (int p = 1; p <= spieler; ++p) {
            stand.Namen[static_cast<std::size_t>(p)] = "Spieler " + std::to_string(p);
        }
        stand.spielStarten();
    }

    Spielstand stand;
    Zufall zufall;
    StilleMeldung meldung;
    int auswertungen = 0;
};

// One iteration is one roll from its first tick to its last; the time is
// reported per tick.
void kernTakt(benchmark::State& state) {
    auto partie = std::make_unique<Partie>(6, 25);
    auto spiel = std::make_unique<Spiel>(partie->stand, partie->zufall, partie->meldung, [] {});
    spiel->Form_Load();
    auto spieler = std::make_unique<bench::Spieler>(*spiel);
    double takte = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (!spieler->wurfBeginnen()) {  // the game is over: a new one
            spieler.reset();
            spiel.reset();
            partie = std::make_unique<Partie>(6, 25);
            spiel = std::make_unique<Spiel>(partie->stand, partie->zufall, partie->meldung, [] {});
            spiel->Form_Load();
            spieler = std::make_unique<bench::Spieler>(*spiel);
            spieler->wurfBeginnen();
        }
        state.ResumeTiming();
        while (spiel->feld().Timer1) {
            spiel->Timer1_Timer();
            ++takte;
        }
    }
    state.counters["je_Takt"] = benchmark::Counter(takte, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void ganzesSpiel(benchmark::State& state) {
    for (auto _ : state) {
        Partie partie(6, 25);
        Spiel spiel(partie.stand, partie.zufall, partie.meldung, [&partie] { ++partie.auswertungen; });
        spiel.Form_Load();
        bench::Spieler(spiel).spielen();
        if (!spiel.beendet() || partie.auswertungen != 1) {
            state.SkipWithError("the game did not reach its end");
            break;
        }
        benchmark::DoNotOptimize(partie.stand.Gesamtpunkte.data());
    }
}

// Presses a visible, enabled button of the window, as a click would.
bool druecke(Form1& fenster, const QString& name) {
    auto* knopf = fenster.findChild<QPushButton*>(name);
    if (!knopf || !knopf->isVisible() || !knopf->isEnabled()) {
        return false;
    }
    knopf->click();
    return true;
}

// Starts the next roll in the window through its buttons, entering a category
// after the third roll; false once the game is over.
bool wurfImFensterBeginnen(Form1& fenster) {
    const Spiel& spiel = fenster.spiel();
    if (spiel.beendet()) {
        return false;
    }
    if (spiel.stand().Wuerfe >= 3 || (spiel.stand().Wuerfe > 0 && !spiel.feld().Command17.Visible)) {
        for (const Kategorie& k : Kategorien) {
            if (druecke(fenster, QString::fromUtf8(k.knopf.data(), static_cast<qsizetype>(k.knopf.size())))) {
                break;
            }
        }
    }
    return (druecke(fenster, QStringLiteral("Command17")) || druecke(fenster, QStringLiteral("Command3"))) &&
           fenster.spiel().feld().Timer1;
}

void taktMitBild(benchmark::State& state) {
    const Artwork artwork(qApp->devicePixelRatio());
    NichtOben nichtOben;
    auto partie = std::make_unique<Partie>(6, 25);
    auto neuesFenster = [&] {
        auto fenster = std::make_unique<Form1>(partie->stand, partie->zufall, partie->meldung, nichtOben, artwork,
                                               [&partie] { ++partie->auswertungen; });
        fenster->show();
        QCoreApplication::processEvents();
        return fenster;
    };
    auto fenster = neuesFenster();
    auto* timer1 = fenster->findChild<QTimer*>(QStringLiteral("Timer1"));
    if (!timer1 || fenster->metaObject()->indexOfSlot("takt()") < 0) {
        state.SkipWithError("Form1 has no timer Timer1 or no slot takt()");
        return;
    }
    // The timer itself is not left to fire: each iteration delivers one of its
    // intervals directly and then lets the window repaint what changed.
    timer1->setInterval(24 * 3600 * 1000);
    wurfImFensterBeginnen(*fenster);
    QCoreApplication::processEvents();
    for (auto _ : state) {
        if (!fenster->spiel().feld().Timer1) {
            state.PauseTiming();
            if (!wurfImFensterBeginnen(*fenster)) {
                partie = std::make_unique<Partie>(6, 25);
                fenster = neuesFenster();
                timer1 = fenster->findChild<QTimer*>(QStringLiteral("Timer1"));
                timer1->setInterval(24 * 3600 * 1000);
                wurfImFensterBeginnen(*fenster);
            }
            QCoreApplication::processEvents();
            state.ResumeTiming();
        }
        QMetaObject::invokeMethod(fenster.get(), "takt", Qt::DirectConnection);
        QCoreApplication::sendPostedEvents(fenster.get(), QEvent::UpdateRequest);
    }
    state.counters["dpr"] = fenster->devicePixelRatioF();
}

void artworkStartfenster(benchmark::State& state, qreal dpr) {
    for (auto _ : state) {
        const Artwork art(dpr);
        for (const QSize& groesse : art.icon().availableSizes()) {
            benchmark::DoNotOptimize(art.icon().pixmap(groesse, 1.0));
        }
        benchmark::DoNotOptimize(&art.linkCursor());
        benchmark::DoNotOptimize(&art.mailCursor());
    }
}

void spielfensterBilder(const Artwork& art) {
    benchmark::DoNotOptimize(&art.hintergrund());
    for (int i = 1; i <= 6; ++i) {
        benchmark::DoNotOptimize(&art.seite(i));
    }
    for (int k = 0; k <= 8; ++k) {
        benchmark::DoNotOptimize(&art.wurfbild(k));
    }
    benchmark::DoNotOptimize(&art.handCursor());
    for (int i = 0; i < 5; ++i) {
        benchmark::DoNotOptimize(&art.blockCursor(i));
    }
}

void artworkSpielfenster(benchmark::State& state, qreal dpr) {
    for (auto _ : state) {
        state.PauseTiming();
        auto art = std::make_unique<Artwork>(dpr);
        art->icon().pixmap(QSize(16, 16), 1.0);  // lets the start window's drawing finish first
        state.ResumeTiming();
        spielfensterBilder(*art);
        state.PauseTiming();
        art.reset();
        state.ResumeTiming();
    }
}

void artworkAlles(benchmark::State& state, qreal dpr) {
    for (auto _ : state) {
        const Artwork art(dpr);
        for (const QSize& groesse : art.icon().availableSizes()) {
            benchmark::DoNotOptimize(art.icon().pixmap(groesse, 1.0));
        }
        benchmark::DoNotOptimize(&art.linkCursor());
        benchmark::DoNotOptimize(&art.mailCursor());
        spielfensterBilder(art);
    }
}

int wuerfeMessen(int anzahl, bool tipp) {
    // The coach's tables, one after the other, for as long as the rolls last.
    std::unique_ptr<Tipptabelle> tabelle;
    int tabellen = 0;
    std::function<void()> naechsteTabelle = [&] {
        tabelle = std::make_unique<Tipptabelle>();
        QObject::connect(tabelle.get(), &Tipptabelle::fertig, [&] {
            ++tabellen;
            QTimer::singleShot(0, naechsteTabelle);
        });
        tabelle->anfordern();
    };
    if (tipp) {
        naechsteTabelle();
    }
    const Artwork artwork(qApp->devicePixelRatio());
    NichtOben nichtOben;
    Partie partie(6, 25);
    Form1 fenster(partie.stand, partie.zufall, partie.meldung, nichtOben, artwork, [] {});
    fenster.show();
    QCoreApplication::processEvents();
    auto* timer1 = fenster.findChild<QTimer*>(QStringLiteral("Timer1"));
    if (!timer1) {
        std::fprintf(stderr, "Form1 has no timer Timer1\n");
        return 2;
    }
    std::vector<double> abstaende;  // ms between consecutive intervals of one roll
    QElapsedTimer uhr;
    uhr.start();
    qint64 letzter = -1;
    QObject::connect(timer1, &QTimer::timeout, [&] {
        const qint64 jetzt = uhr.nsecsElapsed();
        if (letzter >= 0) {
            abstaende.push_back(static_cast<double>(jetzt - letzter) / 1e6);
        }
        letzter = jetzt;
    });
    int wuerfe = 0;
    for (; wuerfe < anzahl; ++wuerfe) {
        letzter = -1;
        if (!wurfImFensterBeginnen(fenster)) {
            break;
        }
        while (fenster.spiel().feld().Timer1) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    }
    if (abstaende.empty()) {
        std::fprintf(stderr, "no roll was played\n");
        return 2;
    }
    std::sort(abstaende.begin(), abstaende.end());
    const double soll = Form1::TimerIntervallMs;
    const auto spaet = std::count_if(abstaende.begin(), abstaende.end(), [soll](double a) { return a >= 1.5 * soll; });
    std::printf("  %d rolls, %zu intervals of %.0f ms: median %.1f ms, min %.1f ms, max %.1f ms; "
                "late by half an interval or more (dropped ticks): %td  %s\n",
                wuerfe, abstaende.size(), soll, abstaende[abstaende.size() / 2], abstaende.front(), abstaende.back(),
                spaet, spaet == 0 ? "PASS" : "MISS");
    if (tipp) {
        std::printf("  meanwhile %d whole tables of the coach were computed\n", tabellen);
    }
    return spaet == 0 ? 0 : 1;
}

// Passes every run on to the console and keeps the medians.
class Sammler : public benchmark::ConsoleReporter {
public:
    Sammler() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.aggregate_name == "median") {
                m_medianMs[run.run_name.function_name] =
                    run.GetAdjustedRealTime() * benchmark::GetTimeUnitMultiplier(benchmark::kMillisecond) /
                    benchmark::GetTimeUnitMultiplier(run.time_unit);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    const std::map<std::string, double>& medianMs() const { return m_medianMs; }

private:
    std::map<std::string, double> m_medianMs;
};

} // namespace

int main(int argc, char* argv[]) {
    int skalierung = 1;
    int wuerfe = 0;
    bool tipp = false;
    std::vector<char*> argumente;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--skalierung=", 13) == 0) {
            skalierung = std::max(1, std::atoi(argv[i] + 13));
        } else if (std::strncmp(argv[i], "--wuerfe=", 9) == 0) {
            wuerfe = std::max(1, std::atoi(argv[i] + 9));
        } else if (std::strcmp(argv[i], "--tipp") == 0) {
            tipp = true;
        } else {
            argumente.push_back(argv[i]);
        }
    }
    qputenv("QT_SCALE_FACTOR", QByteArray::number(skalierung));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    if (wuerfe > 0) {
        return wuerfeMessen(wuerfe, tipp);
    }

    const auto eintragen = [](benchmark::internal::Benchmark* b) {
        return b->Repetitions(kWiederholungen)->ReportAggregatesOnly(true)->DisplayAggregatesOnly(true);
    };
    if (skalierung == 1) {
        eintragen(benchmark::RegisterBenchmark("Kern/Takt", kernTakt))->Unit(benchmark::kNanosecond);
        eintragen(benchmark::RegisterBenchmark("Kern/GanzesSpiel", ganzesSpiel))->Unit(benchmark::kMillisecond);
    }
    eintragen(benchmark::RegisterBenchmark("Fenster/TaktMitBild", taktMitBild))->Unit(benchmark::kMicrosecond);
    if (skalierung == 1) {
        for (const int dpr : {1, 2}) {
            const std::string d = std::to_string(dpr);
            eintragen(benchmark::RegisterBenchmark(("Artwork/Startfenster/" + d).c_str(), artworkStartfenster, dpr))
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
            eintragen(benchmark::RegisterBenchmark(("Artwork/Spielfenster/" + d).c_str(), artworkSpielfenster, dpr))
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
            eintragen(benchmark::RegisterBenchmark(("Artwork/Alles/" + d).c_str(), artworkAlles, dpr))
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
        }
    }

    int gbArgc = static_cast<int>(argumente.size());
    benchmark::Initialize(&gbArgc, argumente.data());
    Sammler sammler;
    benchmark::RunSpecifiedBenchmarks(&sammler);
    benchmark::Shutdown();

    std::printf("\nTargets (median of %d repetitions, QT_SCALE_FACTOR=%d)\n", kWiederholungen, skalierung);
    for (const Ziel& ziel : kZiele) {
        const auto gefunden = sammler.medianMs().find(ziel.benchmark);
        if (gefunden == sammler.medianMs().end()) {
            continue;
        }
        std::printf("  %s  %s: %.3f ms%s\n", gefunden->second <= ziel.hoechstensMs ? "PASS" : "MISS", ziel.text,
                    gefunden->second, std::strcmp(ziel.benchmark, "Fenster/TaktMitBild") == 0
                                           ? (skalierung == 1 ? " (scale 1)" : " (scale 2)")
                                           : "");
    }
    return 0;
}

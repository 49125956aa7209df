// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/computerspieler.h"

#include "game/wertung.h"
#include "ui/form1.h"
#include "ui/masse.h"
#include "ui/tipp.h"
#include "ui/tipptabelle.h"

#include <QElapsedTimer>
#include <QFrame>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace wk {
namespace {

// Durations in fortieths of the window's animation interval: the interval
// of the animation timer, the pause before a step, the time a category is
// marked before it is entered.
struct Dauern {
    int takt;
    int schritt;
    int marke;
};
constexpr std::array<Dauern, 3> TempoDauern{{{40, 80, 160}, {2, 4, 12}, {0, 0, 0}}};
constexpr int Lesezeit = 600;            // for the coach's advice: 3 s at 200 ms
constexpr qint64 ScheibeNs = 2'000'000;  // "sofort": GUI time per slice

// Below the coach's button, on free felt above the tray.
constexpr Twips TempoKnopfOrt{3480, 930, 840, 330};
constexpr int MarkeRand = 4;  // pixels around the marked category button

constexpr std::uint64_t GegnerSaat = 0x4B52304E45475247ULL;


QString tempoName(Tempo t) {
    const std::string_view name = TempoNamen[static_cast<std::size_t>(t)];
    return QString::fromUtf8(name.data(), qsizetype(name.size()));
}

} // namespace

Computerspieler::Computerspieler(Form1& fenster, Tipptabelle& tabelle, Tempo tempo)
    : QObject(&fenster), m_fenster(fenster), m_tabelle(tabelle), m_gewaehlt(tempo), m_tempo(tempo) {
    setObjectName(QStringLiteral("Computerspieler"));
    m_takt = new QTimer(this);
    m_takt->setObjectName(QStringLiteral("Computertakt"));
    m_takt->setSingleShot(true);
    connect(m_takt, &QTimer::timeout, this, &Computerspieler::schritt);

    m_knopf = new QPushButton(QStringLiteral("schneller"), &fenster);
    m_knopf->setObjectName(QStringLiteral("TempoKnopf"));
    m_knopf->setAccessibleName(QStringLiteral("Computergegner schneller"));
    m_knopf->setGeometry(rechteck(TempoKnopfOrt));
    m_knopf->setFont(schrift(11, true));
    m_knopf->setFocusPolicy(Qt::NoFocus);
    m_knopf->hide();
    connect(m_knopf, &QPushButton::clicked, this, &Computerspieler::schneller);

    m_marke = new QFrame(&fenster);
    m_marke->setObjectName(QStringLiteral("ComputerWahl"));
    m_marke->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_marke->setStyleSheet(QStringLiteral("QFrame { border: 3px solid rgb(255, 214, 64); border-radius: 6px; "
                                          "background: transparent; }"));
    m_marke->hide();

    connect(&fenster, &Form1::nachDemZug, this, &Computerspieler::weiter);
    connect(&fenster, &Form1::wurfBeendet, this, &Computerspieler::weiter);
    connect(&tabelle, &Tipptabelle::fertig, this, [this] {
        for (auto& [spieler, g] : m_gegner) {
            g.tabelleSetzen(*m_tabelle.tabelle());
        }
        weiter();
    });
    fenster.installEventFilter(this);
    fenster.tastenhilfeErgaenzen(QStringLiteral("T lässt einen Computergegner schneller spielen."));
    m_tabelle.anfordern();
    QMetaObject::invokeMethod(this, &Computerspieler::weiter, Qt::QueuedConnection);
}

bool Computerspieler::computerAmZug() const {
    const Spiel& spiel = m_fenster.spiel();
    return !spiel.beendet() && spiel.stand().istComputer(spiel.stand().AktuellerSpieler);
}

Gegner& Computerspieler::gegner() {
    const Spielstand& stand = m_fenster.spiel().stand();
    const int p = stand.AktuellerSpieler;
    auto [platz, neu] = m_gegner.try_emplace(
        p, Staerken[static_cast<std::size_t>(std::clamp(stand.Computer[std::size_t(p)], 1, int(Staerken.size())) - 1)],
        GegnerSaat + std::uint64_t(p));
    if (neu && m_tabelle.tabelle()) {
        platz->second.tabelleSetzen(*m_tabelle.tabelle());
    }
    return platz->second;
}

// What comes next, after anything that moved the game on.
void Computerspieler::weiter() {
    const Spiel& spiel = m_fenster.spiel();
    if (!computerAmZug()) {
        blattBeenden();
        return;
    }
    const int p = spiel.stand().AktuellerSpieler;
    if (!m_blatt || !(*m_blatt == Blatt{p, spiel.stand().RundenGespielt[std::size_t(p)]})) {
        blattBeginnen();
    }
    if (m_fenster.meldungOffen()) {
        return;  // nachDemZug follows the person's OK
    }
    if (m_tempo == Tempo::Sofort) {
        planen(0);
    } else if (!spiel.feld().Timer1) {  // otherwise wurfBeendet follows
        planen(TempoDauern[std::size_t(m_tempo)].schritt);
    }
}

void Computerspieler::blattBeginnen() {
    blattBeenden();
    const Spielstand& stand = m_fenster.spiel().stand();
    const int p = stand.AktuellerSpieler;
    const auto* timer = m_fenster.findChild<QTimer*>(QStringLiteral("Timer1"));
    m_blatt = Blatt{p, stand.RundenGespielt[std::size_t(p)], timer ? timer->interval() : Form1::TimerIntervallMs};
    m_tempo = m_gewaehlt;
    m_fenster.setEingabeGesperrt(true);
    tempoAnwenden();
}

void Computerspieler::blattBeenden() {
    m_takt->stop();
    if (!m_blatt) {
        return;
    }
    if (auto* timer = m_fenster.findChild<QTimer*>(QStringLiteral("Timer1"))) {
        timer->setInterval(m_blatt->grundintervall);
    }
    m_blatt.reset();
    m_tempo = m_gewaehlt;
    m_knopf->hide();
    markieren(-1);
    m_fenster.setEingabeGesperrt(false);
}

void Computerspieler::tempoAnwenden() {
    if (auto* timer = m_fenster.findChild<QTimer*>(QStringLiteral("Timer1"))) {
        timer->setInterval(m_blatt->grundintervall * TempoDauern[std::size_t(m_tempo)].takt / 40);
    }
    const QString hilfe = QStringLiteral("Tempo: %1. Schneller mit der Taste T.").arg(tempoName(m_tempo));
    m_knopf->setToolTip(hilfe);
    m_knopf->setAccessibleDescription(hilfe);
    m_knopf->setVisible(m_tempo != Tempo::Sofort);
    if (m_tempo == Tempo::Sofort) {
        markieren(-1);
    }
}

void Computerspieler::schneller() {
    if (!m_blatt || m_tempo == Tempo::Sofort) {
        return;
    }
    m_tempo = Tempo(int(m_tempo) + 1);
    tempoAnwenden();
    m_takt->stop();
    weiter();
}

void Computerspieler::planen(int teile) { m_takt->start(m_blatt ? m_blatt->grundintervall * teile / 40 : 0); }

void Computerspieler::markieren(int zelle) {
    m_markiert = zelle;
    const QWidget* knopf = zelle >= 0 ? m_fenster.findChild<QWidget*>(QString::fromLatin1(
                                            Kategorien[std::size_t(zelle)].knopf.data(),
                                            qsizetype(Kategorien[std::size_t(zelle)].knopf.size())))
                                      : nullptr;
    if (!knopf) {
        m_marke->hide();
        return;
    }
    m_marke->setGeometry(knopf->geometry().adjusted(-MarkeRand, -MarkeRand, MarkeRand, MarkeRand));
    m_marke->show();
    m_marke->raise();
}

void Computerspieler::schritt() {
    if (!computerAmZug() || m_fenster.meldungOffen()) {
        return;
    }
    if (m_tempo == Tempo::Sofort) {
        sofortSchritte();
        return;
    }
    if (m_fenster.spiel().feld().Timer1) {
        return;  // wurfBeendet follows
    }
    // The next step hides the coach's advice: the person gets time to read it.
    const Tipp* tipp = m_fenster.findChild<Tipp*>();
    if (tipp && tipp->sichtbar() && !m_tippGelesen) {
        m_tippGelesen = true;
        planen(Lesezeit);
        return;
    }
    m_tippGelesen = false;
    einSchritt();
}

// One step of the computer player, or nothing when it has none now (it
// waits for the table). An entry at a visible pace is marked first.
bool Computerspieler::einSchritt() {
    const Spiel& spiel = m_fenster.spiel();
    const std::optional<Schritt> s = gegner().naechster(spiel.feld(), spiel.stand());
    if (!s) {
        return false;
    }
    if (s->aktion == Aktion::Eintragen && m_tempo != Tempo::Sofort && m_markiert != s->index) {
        markieren(s->index);
        planen(TempoDauern[std::size_t(m_tempo)].marke);
        return true;
    }
    m_fenster.handeln(*s);
    if (m_markiert >= 0) {
        markieren(-1);  // shown until the entry is made, its message included
    }
    return true;
}

// Steps and rolls one after the other until the slice's time is used; the
// rest follows in the next slice, so the window keeps answering.
void Computerspieler::sofortSchritte() {
    QElapsedTimer uhr;
    uhr.start();
    while (m_tempo == Tempo::Sofort && computerAmZug() && !m_fenster.meldungOffen()) {
        if (m_fenster.spiel().feld().Timer1) {
            m_fenster.wurfAbschliessen();
        } else if (!einSchritt()) {
            return;
        }
        if (m_fenster.spiel().beendet()) {
            return;  // the window may be closing
        }
        if (uhr.nsecsElapsed() >= ScheibeNs) {
            planen(0);
            return;
        }
    }
}

bool Computerspieler::eventFilter(QObject* objekt, QEvent* ereignis) {
    if (objekt == &m_fenster && ereignis->type() == QEvent::KeyPress && m_blatt) {
        const auto* taste = static_cast<QKeyEvent*>(ereignis);
        if (taste->key() == Qt::Key_T &&
            !(taste->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
            schneller();
            return true;
        }
    }
    return QObject::eventFilter(objekt, ereignis);
}

} // namespace wk

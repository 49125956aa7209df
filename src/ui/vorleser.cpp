// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/vorleser.h"

#include "game/wertung.h"
#include "game/zahltext.h"
#include "platform/klartext.h"
#include "ui/ansage.h"
#include "ui/computerspieler.h"
#include "ui/form1.h"

#include <QKeyEvent>
#include <QStringList>

namespace wk {
namespace {

QString qs(std::string_view text) { return ausUtf8(text); }

int zahl(const std::string& text) { return static_cast<int>(zahlAusText(text)); }

QString anzahl(int n, const char* eins, const char* mehr) {
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n == 1 ? eins : mehr));
}

// A die box's value, or "leer" where no die lies.
QString augen(const Wuerfelbox& box) {
    return box.Visible && !box.Tag.empty() ? qs(box.Tag) : QStringLiteral("leer");
}

// The table places 1 to 5, the tray A to E up to its last die (left out while
// it is empty), then the rolls left; `wuerfe` rolls made, 1..3.
QString wurf(const Spielfeld& feld, int wuerfe) {
    QStringList tisch, ablage;
    for (const Wuerfelbox& box : feld.w1) {
        tisch << augen(box);
    }
    for (const Wuerfelbox& box : feld.Raus) {
        ablage << augen(box);
    }
    while (!ablage.isEmpty() && ablage.back() == QLatin1String("leer")) {
        ablage.removeLast();
    }
    QString text = QStringLiteral("Gewürfelt: %1.").arg(tisch.join(QStringLiteral(", ")));
    if (!ablage.isEmpty()) {
        text += QStringLiteral(" Ablage: %1.").arg(ablage.join(QStringLiteral(", ")));
    }
    const int rest = 3 - wuerfe;
    return text + (rest > 0 ? QStringLiteral(" Noch %1.").arg(anzahl(rest, "Wurf", "Würfe"))
                            : QStringLiteral(" Keine Würfe mehr."));
}

bool einWuerfelHatAugen(const Spielfeld& feld) {
    for (const auto* boxen : {&feld.w1, &feld.Raus}) {
        for (const Wuerfelbox& box : *boxen) {
            if (box.Visible && !box.Tag.empty()) {
                return true;
            }
        }
    }
    return false;
}

bool istTaste(const QEvent* ereignis, int taste) {
    const auto* k = static_cast<const QKeyEvent*>(ereignis);
    return k->key() == taste && !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

} // namespace

Vorleser::Vorleser(Form1& fenster) : QObject(&fenster), m_fenster(fenster) {
    connect(&fenster, &Form1::vorDemZug, this, &Vorleser::vorDemZug);
    connect(&fenster, &Form1::nachDemZug, this, &Vorleser::nachDemZug);
    connect(&fenster, &Form1::wurfBeendet, this, &Vorleser::wurfBeendet);
    // The last entry of a sheet opens a message box before the move is over.
    connect(&fenster, &Form1::meldungOeffnet, this, &Vorleser::eintragAnsagen);
    fenster.installEventFilter(this);
}

bool Vorleser::eventFilter(QObject* objekt, QEvent* ereignis) {
    if (objekt == &m_fenster) {
        const QEvent::Type art = ereignis->type();
        if (art == QEvent::Show && !m_geoeffnet) {
            m_geoeffnet = true;
            m_fenster.ansagen(m_fenster.hilfe());
        } else if (art == QEvent::KeyPress && istTaste(ereignis, Qt::Key_F1)) {
            m_fenster.ansagen(m_fenster.hilfe());
            return true;
        } else if (art == QEvent::KeyPress && istTaste(ereignis, Qt::Key_L)) {
            if (Ansage::aktiv()) {
                m_fenster.ansagen(lage());
            }
            return true;
        }
    }
    return QObject::eventFilter(objekt, ereignis);
}

Vorleser::Wer Vorleser::wer() const {
    const Spielstand& stand = m_fenster.spiel().stand();
    if (!stand.istComputer(stand.AktuellerSpieler)) {
        return Wer::Mensch;
    }
    const auto* computer = m_fenster.findChild<Computerspieler*>();
    return computer && computer->tempo() == Tempo::Sofort ? Wer::ComputerSofort : Wer::Computer;
}

void Vorleser::vorDemZug(const Schritt& zug) {
    const Spielfeld& feld = m_fenster.spiel().feld();
    m_eintrag.reset();
    m_wuerfel.clear();
    if (!Ansage::aktiv()) {
        return;
    }
    m_wer = wer();
    const Spielstand& stand = m_fenster.spiel().stand();
    m_name = qs(stand.Namen[static_cast<std::size_t>(stand.AktuellerSpieler)]);
    if (m_wer != Wer::Mensch && zug.aktion != Aktion::Eintragen) {
        return;
    }
    const auto i = static_cast<std::size_t>(zug.index);
    switch (zug.aktion) {
    case Aktion::Eintragen:
        m_eintrag = zug.index;
        m_bonusVorher = zahl(feld.Label1[1]) > 0;
        break;
    case Aktion::Ablegen:
        m_wuerfel = qs(feld.w1[i].Tag);
        break;
    case Aktion::Zuruecknehmen:
        m_wuerfel = qs(feld.Raus[i].Tag);
        break;
    case Aktion::Wuerfeln:
        break;
    }
}

void Vorleser::nachDemZug(const Schritt& zug) {
    const Spielfeld& feld = m_fenster.spiel().feld();
    const auto i = static_cast<std::size_t>(zug.index);
    if (zug.aktion == Aktion::Eintragen) {
        eintragAnsagen();
    } else if (zug.aktion == Aktion::Ablegen && !m_wuerfel.isEmpty() && !feld.w1[i].Visible) {
        m_fenster.ansagen(m_wuerfel + QStringLiteral(" in die Ablage."));
    } else if (zug.aktion == Aktion::Zuruecknehmen && !m_wuerfel.isEmpty() && !feld.Raus[i].Visible) {
        m_fenster.ansagen(m_wuerfel + QStringLiteral(" zurück auf den Tisch."));
    }
    m_wuerfel.clear();
}

void Vorleser::eintragAnsagen() {
    if (!m_eintrag || !Ansage::aktiv()) {
        return;
    }
    const Spielfeld& feld = m_fenster.spiel().feld();
    const int zelle = *std::exchange(m_eintrag, std::nullopt);
    if (m_wer == Wer::ComputerSofort) {
        if (m_fenster.spiel().stand().Eingetragen >= 13) {
            m_fenster.ansagen(QStringLiteral("Blatt von %1: %2.").arg(m_name, anzahl(zahl(feld.Zahlen[13]), "Punkt", "Punkte")));
        }
        return;
    }
    QString text = QStringLiteral("%1: %2 eingetragen. Gesamt: %3.")
                       .arg(qs(Kategorien[static_cast<std::size_t>(zelle)].beschriftung),
                            anzahl(zahl(feld.Zahlen[static_cast<std::size_t>(zelle)]), "Punkt", "Punkte"),
                            qs(feld.Zahlen[13]));
    if (!m_bonusVorher && zahl(feld.Label1[1]) > 0) {
        text += QStringLiteral(" Bonus erreicht.");
    }
    m_fenster.ansagen(text);
}

// A roll that ends after the turn's entry was made is not told: its dice are
// cleared by the next roll.
void Vorleser::wurfBeendet() {
    const Spielfeld& feld = m_fenster.spiel().feld();
    if (Ansage::aktiv() && !feld.Command3.Visible && wer() == Wer::Mensch) {
        m_fenster.ansagen(wurf(feld, m_fenster.spiel().stand().Wuerfe));
    }
}

QString Vorleser::lage() const {
    const Spielfeld& feld = m_fenster.spiel().feld();
    const int offen = 13 - m_fenster.spiel().stand().Eingetragen;
    QString text = feld.Timer1                  ? QStringLiteral("Die Würfel rollen.")
                   : einWuerfelHatAugen(feld) ? wurf(feld, m_fenster.spiel().stand().Wuerfe)
                                                : QStringLiteral("Noch nicht gewürfelt.");
    return text + QStringLiteral(" Gesamt: %1. Noch %2 offen.")
                      .arg(qs(feld.Zahlen[13]), anzahl(offen, "Kategorie", "Kategorien"));
}

} // namespace wk

// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/gegnerwahl.h"

#include "game/spielstand.h"
#include "strategie/gegner.h"
#include "ui/masse.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QLabel>

namespace wk {
namespace {

// Right of "&Exit" (which ends at 2955), below the last place of the list
// (which ends at 6660) and left of the links (from 7020): three columns of a
// label over its combo box, and a line for the note below them.
constexpr Twips GegnerwahlOrt{3090, 6690, 3840, 810};
constexpr std::array<int, 3> SpalteLeft{0, 1380, 2580};
constexpr std::array<int, 3> SpalteBreite{1260, 1080, 1260};
constexpr int LabelTop = 0, LabelHoehe = 225;
constexpr int BoxTop = 225, BoxHoehe = 330;
constexpr Twips HinweisOrt{0, 585, 3840, 225};

constexpr std::array<const char*, 3> TempoBeschreibung{
    "Jeder Schritt ist zu verfolgen, etwa alle 0,4 Sekunden einer.",
    "Ein Blatt in wenigen Sekunden.",
    "Das Blatt ist sofort gefüllt.",
};

QString utf8Text(std::string_view t) { return QString::fromUtf8(t.data(), qsizetype(t.size())); }

QComboBox* spalte(QWidget* eltern, int i, const QString& beschriftung, const QString& name) {
    auto* box = new QComboBox(eltern);
    box->setObjectName(name);
    box->setGeometry(rechteck({SpalteLeft[i], BoxTop, SpalteBreite[i], BoxHoehe}));
    box->setFont(schrift(11));
    auto* label = new QLabel(beschriftung, eltern);
    label->setObjectName(name + QStringLiteral("Label"));
    label->setGeometry(rechteck({SpalteLeft[i], LabelTop, SpalteBreite[i], LabelHoehe}));
    label->setFont(schrift(11));
    label->setBuddy(box);
    return box;
}

} // namespace

Gegnerwahl::Gegnerwahl(QWidget& startfenster, const Gegnerauswahl& auswahl)
    : QWidget(&startfenster), m_startfenster(startfenster), m_auswahl(auswahl) {
    setObjectName(QStringLiteral("Gegnerwahl"));
    setGeometry(rechteck(GegnerwahlOrt));
    startfenster.installEventFilter(this);

    // The people are chosen with the window's player options "1. Spieler" ..
    // "6. Spieler"; the computer players join after them.
    for (int i = 0; i < MaxSpieler; ++i) {
        auto* option = startfenster.findChild<QAbstractButton*>(QStringLiteral("Option2_%1").arg(i));
        if (option) {
            connect(option, &QAbstractButton::toggled, this, [this, i](bool an) {
                if (an) {
                    m_menschen = i + 1;
                    hinweisZeigen();
                }
            });
        }
    }
}

bool Gegnerwahl::eventFilter(QObject* objekt, QEvent* ereignis) {
    if (objekt == &m_startfenster && ereignis->type() == QEvent::Paint && !m_geplant) {
        m_geplant = true;
        QMetaObject::invokeMethod(this, &Gegnerwahl::aufbauen, Qt::QueuedConnection);
    }
    return QWidget::eventFilter(objekt, ereignis);
}

void Gegnerwahl::aufbauen() {
    m_anzahl = spalte(this, 0, QStringLiteral("&Computergegner"), QStringLiteral("Computergegner"));
    m_anzahl->addItem(QStringLiteral("keiner"));
    for (int n = 1; n <= MaxComputer; ++n) {
        m_anzahl->addItem(QString::number(n));
    }
    m_staerke = spalte(this, 1, QStringLiteral("Stär&ke"), QStringLiteral("Staerke"));
    for (const Staerke& s : Staerken) {
        m_staerke->addItem(utf8Text(s.name));
        m_staerke->setItemData(m_staerke->count() - 1, utf8Text(s.beschreibung), Qt::ToolTipRole);
    }
    m_tempo = spalte(this, 2, QStringLiteral("&Tempo"), QStringLiteral("Tempo"));
    for (std::size_t i = 0; i < TempoNamen.size(); ++i) {
        m_tempo->addItem(utf8Text(TempoNamen[i]));
        m_tempo->setItemData(int(i), QString::fromUtf8(TempoBeschreibung[i]), Qt::ToolTipRole);
    }

    m_hinweis = new QLabel(this);
    m_hinweis->setObjectName(QStringLiteral("Gegnerhinweis"));
    m_hinweis->setGeometry(rechteck(HinweisOrt));
    m_hinweis->setFont(schrift(11));
    QPalette rot = m_hinweis->palette();
    rot.setColor(QPalette::WindowText, QColor(200, 0, 0));
    m_hinweis->setPalette(rot);

    for (QComboBox* box : {m_anzahl, m_staerke, m_tempo}) {
        connect(box, &QComboBox::activated, this, [this] {
            m_auswahl = {m_anzahl->currentIndex(), m_staerke->currentIndex() + 1, Tempo(m_tempo->currentIndex())};
            zeigen();
            emit geaendert(m_auswahl);
        });
    }
    // After "&Exit", which they lie beside.
    QWidget* vorher = m_startfenster.findChild<QWidget*>(QStringLiteral("Command3"));
    for (QWidget* box : {m_anzahl, m_staerke, m_tempo}) {
        if (vorher) {
            setTabOrder(vorher, box);
        }
        vorher = box;
    }
    zeigen();
    for (QWidget* w : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        w->setVisible(w != m_hinweis || !m_hinweis->text().isEmpty());
    }
    emit gebaut();
}

void Gegnerwahl::setAuswahl(const Gegnerauswahl& auswahl) {
    m_auswahl = auswahl;
    zeigen();
}

// The boxes show the choice, and each tells what its choice means: in its
// tooltip and to a screen reader.
void Gegnerwahl::zeigen() {
    if (!m_anzahl) {
        return;
    }
    m_anzahl->setCurrentIndex(m_auswahl.anzahl);
    m_staerke->setCurrentIndex(m_auswahl.staerke - 1);
    m_tempo->setCurrentIndex(int(m_auswahl.tempo));
    const bool mitComputer = m_auswahl.anzahl > 0;
    m_staerke->setEnabled(mitComputer);
    m_tempo->setEnabled(mitComputer);
    for (QComboBox* box : {m_staerke, m_tempo}) {
        const QString beschreibung = box->currentData(Qt::ToolTipRole).toString();
        box->setToolTip(beschreibung);
        box->setAccessibleDescription(beschreibung);
    }
    hinweisZeigen();
}

void Gegnerwahl::hinweisZeigen() {
    if (!m_anzahl) {
        return;
    }
    const int platz = std::max(0, MaxSpieler - m_menschen);
    QString hinweis;
    if (m_menschen > 0 && m_auswahl.anzahl > platz) {
        hinweis = platz == 0   ? QStringLiteral("Kein Computergegner passt dazu: höchstens 6 Spieler.")
                  : platz == 1 ? QStringLiteral("Nur 1 Computergegner passt dazu: höchstens 6 Spieler.")
                               : QStringLiteral("Nur %1 Computergegner passen dazu: höchstens 6 Spieler.").arg(platz);
    }
    m_hinweis->setText(hinweis);
    m_hinweis->setVisible(!hinweis.isEmpty());
    const QString beschreibung =
        hinweis.isEmpty() ? QStringLiteral("Sie spielen nach den Menschen mit; höchstens 6 Spieler.") : hinweis;
    m_anzahl->setToolTip(beschreibung);
    m_anzahl->setAccessibleDescription(beschreibung);
}

std::vector<std::string> computerNamen(const Gegnerauswahl& auswahl) {
    std::vector<std::string> namen;
    const std::string name(Staerken[static_cast<std::size_t>(auswahl.staerke - 1)].name);
    for (int n = 1; n <= auswahl.anzahl; ++n) {
        namen.push_back(auswahl.anzahl == 1 ? name : name + " " + std::to_string(n));
    }
    return namen;
}

} // namespace wk

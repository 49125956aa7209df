// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// The game window's controls, made from the tables of their places.
#include "ui/form1.h"

#include "game/wertung.h"
#include "platform/fensteroben.h"
#include "platform/klartext.h"
#include "ui/artwork.h"
#include "ui/form1elemente.h"
#include "ui/form1lage.h"
#include "ui/masse.h"
#include "ui/wuerfelfeld.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace wk {
namespace {

const std::array<const char*, 4> Label1Namen{"oben gesamt", "Bonus", "oben gesamt (inkl. Bonus)", "unten gesamt"};

QString zahlenName(int index) {
    if (index < 13) {
        return ausUtf8(Kategorien[static_cast<std::size_t>(index)].beschriftung);
    }
    static const std::array<QString, 4> rest{QStringLiteral("Gesamte Punktezahl"), QStringLiteral("Würfe"),
                                             QStringLiteral("Runde"), QStringLiteral("Offene Kategorien")};
    return rest[static_cast<std::size_t>(index - 13)];
}

} // namespace

void Form1::aufbauen() {
    using namespace spielfenster;
    const QFont zellenFont = schrift(11, true);
    for (int i = 0; i < 17; ++i) {
        const Zellenart art = zellenart(i);
        m_zahlen[i] = neuesLabel(this, QStringLiteral("Zahlen_%1").arg(i), QStringLiteral("0"),
                                 rechteck(ZahlenOrt[i]), zellenFont, art.farbe, art.ausrichtung, art.rahmen);
        m_zahlen[i]->setAccessibleName(zahlenName(i));
    }
    for (int i = 0; i < 4; ++i) {
        m_label1[i] = neuesLabel(this, QStringLiteral("Label1_%1").arg(i), QStringLiteral("0"),
                                 rechteck(Label1Ort[i]), zellenFont, Weiss, Qt::AlignRight | Qt::AlignVCenter,
                                 Rahmen::Ohne);
        m_label1[i]->setAccessibleName(QString::fromUtf8(Label1Namen[i]));
    }
    m_label3 = neuesLabel(this, QStringLiteral("Label3"), QStringLiteral("Label3"), rechteck(Label3Ort),
                          schrift(24, false, true), Rot, Qt::AlignCenter, Rahmen::Ohne);
    m_label3->setAccessibleName(QStringLiteral("Status"));
    for (int i = 0; i < 6; ++i) {
        m_label2[i] = neuesLabel(this, QStringLiteral("Label2_%1").arg(i), QStringLiteral("Vornamen"),
                                 rechteck({7560, Label2Top[i], 1815, 240}), schrift(11), Cyan,
                                 Qt::AlignRight | Qt::AlignVCenter, Rahmen::Ohne);
        m_label2[i]->setAccessibleName(QStringLiteral("Spieler %1").arg(i + 1));
        m_label2[i]->hide();
        m_punkt[i] = neuesLabel(this, QStringLiteral("Punkt_%1").arg(i), QStringLiteral("0"),
                                rechteck({9540, PunktTop[i], i == 0 ? 735 : 915, 195}), schrift(11), Hellgruen,
                                Qt::AlignLeft | Qt::AlignVCenter, Rahmen::Ohne);
        m_punkt[i]->setAccessibleName(QStringLiteral("Punkte Spieler %1").arg(i + 1));
        m_punkt[i]->hide();
    }

    const QFont knopfFont = schrift(11);
    for (const Kategorie& k : Kategorien) {
        auto* knopf = new QPushButton(ausUtf8(k.beschriftung), this);
        knopf->setObjectName(ausUtf8(k.knopf));
        knopf->setGeometry(rechteck(KategorieOrt[static_cast<std::size_t>(k.zelle)]));
        knopf->setFont(knopfFont);
        knopf->setFocusPolicy(Qt::TabFocus);
        knopf->setEnabled(false);
        const int zelle = k.zelle;
        connect(knopf, &QPushButton::clicked, this, [this, zelle] { handeln({Aktion::Eintragen, zelle}); });
        if (zelle > 0) {
            setTabOrder(m_kategorien[static_cast<std::size_t>(zelle) - 1], knopf);
        }
        m_kategorien[static_cast<std::size_t>(zelle)] = knopf;
    }

    // Command3 lies behind Command17: Command17 is raised after both exist.
    m_command3 = new QPushButton(QStringLiteral("Würfeln"), this);
    m_command17 = new QPushButton(QStringLiteral("Würfeln"), this);
    for (QPushButton* knopf : {m_command3, m_command17}) {
        knopf->setGeometry(rechteck(WuerfelnOrt));
        knopf->setFont(schrift(13, true));
        knopf->setFocusPolicy(Qt::NoFocus);
        knopf->setCursor(Qt::PointingHandCursor);
    }
    m_command3->setObjectName(QStringLiteral("Command3"));
    m_command17->setObjectName(QStringLiteral("Command17"));
    m_command17->raise();
    m_command3->hide();
    for (QPushButton* knopf : {m_command3, m_command17}) {
        connect(knopf, &QPushButton::clicked, this, [this] { handeln({Aktion::Wuerfeln}); });
    }

    m_command2 = new QPushButton(QStringLiteral("Command2"), this);
    m_command2->setObjectName(QStringLiteral("Command2"));
    m_command2->setGeometry(rechteck(Command2Ort));
    m_command2->hide();
    connect(m_command2, &QPushButton::clicked, this, [this] {
        m_spiel.Command2_Click();
        darstellen();
    });

    m_check1 = new Haekchen(QStringLiteral("Fenster immer Oben"), Hellgrau, this);
    m_check1->setObjectName(QStringLiteral("Check1"));
    m_check1->setGeometry(rechteck(Check1Ort));
    m_check1->setFont(schrift(10));
    m_check1->setFocusPolicy(Qt::NoFocus);
    connect(m_check1, &QCheckBox::clicked, this, [this](bool an) { m_fensterOben.fenster_oben(*this, an); });

    static constexpr std::array<char, 5> Buchstaben{'A', 'B', 'C', 'D', 'E'};
    for (int i = 0; i < 5; ++i) {
        auto* ablage = new Wuerfelfeld(this);
        ablage->setObjectName(QStringLiteral("Raus_%1").arg(i));
        ablage->setAccessibleName(QStringLiteral("Ablage %1").arg(QChar(Buchstaben[i])));
        ablage->setHintergrund(QColor(Ablagegrau));
        ablage->setCursor(m_artwork.blockCursor(i));
        ablage->resize(pixel(AblageGroesse), pixel(AblageGroesse));
        ablage->hide();
        connect(ablage, &Wuerfelfeld::clicked, this, [this, i] { handeln({Aktion::Zuruecknehmen, i}); });
        m_raus[i] = ablage;

        auto* tisch = new Wuerfelfeld(this);
        tisch->setObjectName(QStringLiteral("w1_%1").arg(i));
        tisch->setAccessibleName(QStringLiteral("Würfel %1").arg(i + 1));
        tisch->setCursor(m_artwork.handCursor());
        tisch->resize(pixel(TischGroesse), pixel(TischGroesse));
        connect(tisch, &Wuerfelfeld::clicked, this, [this, i] { handeln({Aktion::Ablegen, i}); });
        m_w1[i] = tisch;
    }
}

} // namespace wk

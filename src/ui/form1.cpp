// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/form1.h"

#include "game/wertung.h"
#include "platform/fensteroben.h"
#include "platform/klartext.h"
#include "ui/artwork.h"
#include "ui/fenster.h"
#include "ui/form1elemente.h"
#include "ui/masse.h"
#include "ui/tipp.h"
#include "ui/wuerfelfeld.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>

namespace wk {
namespace {

constexpr QSize Innengroesse{698, 455};
// Largest outer size the window may take, in twips: 10620 x 7365.
constexpr int GroessteAussenbreite = 10620;
constexpr int GroessteAussenhoehe = 7365;

// Cells 0..16 of the sheet.
constexpr std::array<Twips, 17> ZahlenOrt{{
    {2640, 225, 615, 255},  {2640, 540, 615, 255},  {2640, 945, 615, 255},  {2640, 1260, 615, 255},
    {2640, 1665, 615, 255}, {2640, 1980, 615, 255}, {2640, 3375, 615, 255}, {2640, 3735, 615, 255},
    {2640, 4095, 615, 255}, {2640, 4455, 615, 255}, {2640, 4770, 615, 255}, {2640, 5130, 615, 255},
    {2640, 5490, 615, 255}, {2640, 6240, 615, 255}, {9420, 5850, 615, 255}, {6900, 6435, 3375, 255},
    {3360, 6240, 1155, 255},
}};
constexpr std::array<Twips, 4> Label1Ort{{
    {2640, 2340, 615, 285}, {2640, 2655, 615, 285}, {2640, 3015, 615, 285}, {2640, 5850, 615, 285},
}};
// Category buttons, indexed by the cell they write.
constexpr std::array<Twips, 13> KategorieOrt{{
    {1560, 225, 915, 255},  {1560, 540, 915, 255},  {1560, 945, 915, 255},  {1560, 1260, 915, 255},
    {1560, 1680, 915, 255}, {1560, 1980, 915, 255}, {1260, 3380, 1215, 255}, {1260, 3735, 1215, 255},
    {1260, 4080, 1215, 255}, {1260, 4455, 1215, 255}, {1260, 4815, 1215, 255}, {1260, 5130, 1215, 255},
    {1260, 5520, 1215, 255},
}};
constexpr std::array<int, 6> Label2Top{135, 315, 540, 720, 990, 1170};
constexpr std::array<int, 6> PunktTop{135, 315, 585, 765, 990, 1170};
constexpr Twips Label3Ort{3480, 2745, 6675, 465};
constexpr Twips WuerfelnOrt{7080, 5640, 2115, 555};
constexpr Twips Check1Ort{4860, 180, 1995, 195};
constexpr Twips Command2Ort{-1800, 7425, 2415, 1215};

constexpr QRgb Weiss = farbe(0x00FFFFFF);
constexpr QRgb Gruen = farbe(0x0000FF00);
constexpr QRgb Hellgrau = farbe(0x00E0E0E0);
constexpr QRgb Rot = farbe(0x000000FF);
constexpr QRgb Cyan = farbe(0x00FFFF00);
constexpr QRgb Hellgruen = farbe(0x0080FF80);
constexpr QRgb Ablagegrau = farbe(0x00404040);

struct Zellenart {
    QRgb farbe;
    Qt::Alignment ausrichtung;
    Rahmen rahmen;
};

Zellenart zellenart(int index) {
    if (index == 13) {
        return {Gruen, Qt::AlignRight | Qt::AlignVCenter, Rahmen::Duenn};
    }
    if (index == 14) {
        return {Hellgrau, Qt::AlignCenter, Rahmen::Duenn};
    }
    if (index == 15) {
        return {Hellgrau, Qt::AlignRight | Qt::AlignVCenter, Rahmen::Ohne};
    }
    if (index == 16) {
        return {Hellgrau, Qt::AlignRight | Qt::AlignVCenter, Rahmen::Duenn};
    }
    return {Weiss, Qt::AlignRight | Qt::AlignVCenter, Rahmen::Duenn};
}

QString qs(std::string_view text) { return ausUtf8(text); }

void setzeText(QLabel* label, const std::string& text) {
    const QString neu = qs(text);
    if (label->text() != neu) {
        label->setText(neu);
        label->setAccessibleDescription(neu);
    }
}

const std::array<const char*, 4> Label1Namen{"oben gesamt", "Bonus", "oben gesamt (inkl. Bonus)", "unten gesamt"};

QString zahlenName(int index) {
    if (index < 13) {
        return qs(Kategorien[static_cast<std::size_t>(index)].beschriftung);
    }
    static const std::array<QString, 4> rest{QStringLiteral("Gesamte Punktezahl"), QStringLiteral("Würfe"),
                                             QStringLiteral("Runde"), QStringLiteral("Offene Kategorien")};
    return rest[static_cast<std::size_t>(index - 13)];
}

} // namespace

void Form1::FensterMeldung::zeigen(const std::string& text) {
    m_fenster.darstellen();
    m_fenster.m_meldungOffen = true;
    m_meldung.zeigen(text);
    m_fenster.m_meldungOffen = false;
}

Form1::Form1(Spielstand& stand, Zufall& zufall, Meldung& meldung, FensterOben& fensterOben,
             const Artwork& artwork, std::function<void()> auswertung, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_artwork(artwork),
      m_fensterOben(fensterOben),
      m_meldung(*this, meldung),
      m_spiel(stand, zufall, m_meldung, std::move(auswertung)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Wurfkrone "));
    setWindowIcon(m_artwork.icon());
    setFixedSize(Innengroesse);
    setAutoFillBackground(true);
    QPalette schwarz = palette();
    schwarz.setColor(QPalette::Window, Qt::black);
    setPalette(schwarz);
    setStyleSheet(knopfStil());
    setToolTip(tastenHilfe());
    setFocusPolicy(Qt::StrongFocus);

    aufbauen();
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(TimerIntervallMs);
    connect(m_timer, &QTimer::timeout, this, &Form1::takt);

    m_spiel.Form_Load();
    darstellen();
    zentrieren(*this);
}

Form1::~Form1() = default;

void Form1::aufbauen() {
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
        auto* knopf = new QPushButton(qs(k.beschriftung), this);
        knopf->setObjectName(qs(k.knopf));
        knopf->setGeometry(rechteck(KategorieOrt[static_cast<std::size_t>(k.zelle)]));
        knopf->setFont(knopfFont);
        knopf->setFocusPolicy(Qt::TabFocus);
        knopf->setEnabled(false);
        const int zelle = k.zelle;
        connect(knopf, &QPushButton::clicked, this, [this, zelle] {
            ausfuehren([this, zelle] {
                if (m_tipp) {
                    m_tipp->vorDemEintragen(zelle);
                }
                m_spiel.Kategorie_Click(zelle);
            });
        });
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
    connect(m_command3, &QPushButton::clicked, this, [this] { ausfuehren([this] { m_spiel.Command3_Click(); }); });
    connect(m_command17, &QPushButton::clicked, this, [this] {
        ausfuehren([this] {
            if (m_tipp) {
                m_tipp->vorDemWuerfeln();
            }
            m_spiel.Command17_Click();
        });
    });

    m_command2 = new QPushButton(QStringLiteral("Command2"), this);
    m_command2->setObjectName(QStringLiteral("Command2"));
    m_command2->setGeometry(rechteck(Command2Ort));
    m_command2->hide();
    connect(m_command2, &QPushButton::clicked, this, [this] { ausfuehren([this] { m_spiel.Command2_Click(); }); });

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
        connect(ablage, &Wuerfelfeld::clicked, this, [this, i] { ausfuehren([this, i] { m_spiel.Raus_Click(i); }); });
        m_raus[i] = ablage;

        auto* tisch = new Wuerfelfeld(this);
        tisch->setObjectName(QStringLiteral("w1_%1").arg(i));
        tisch->setAccessibleName(QStringLiteral("Würfel %1").arg(i + 1));
        tisch->setCursor(m_artwork.handCursor());
        tisch->resize(pixel(TischGroesse), pixel(TischGroesse));
        connect(tisch, &Wuerfelfeld::clicked, this, [this, i] { ausfuehren([this, i] { m_spiel.w1_Click(i); }); });
        m_w1[i] = tisch;
    }
}

void Form1::ausfuehren(const std::function<void()>& handlung) {
    if (m_tipp) {
        m_tipp->verbergen();  // the advice was for the dice before this action
    }
    handlung();
    darstellen();
}

void Form1::tippAnbieten(Tipptabelle& tabelle) {
    if (!m_tipp) {
        m_tipp = new Tipp(*this, tabelle);
        setToolTip(tastenHilfe() + QStringLiteral(" H zeigt einen Tipp."));
    }
}

void Form1::takt() {
    for (int i = 0; i < TakteJeIntervall && m_spiel.feld().Timer1 && !m_spiel.beendet(); ++i) {
        m_spiel.Timer1_Timer();
    }
    darstellen();
}

void Form1::darstellen() {
    const Spielfeld& feld = m_spiel.feld();
    for (int i = 0; i < 17; ++i) {
        setzeText(m_zahlen[i], feld.Zahlen[i]);
    }
    for (int i = 0; i < 4; ++i) {
        setzeText(m_label1[i], feld.Label1[i]);
    }
    zeigeText(*m_label3, qs(feld.Label3));
    for (int i = 0; i < 6; ++i) {
        zeigeName(*m_label2[i], qs(feld.Label2[i].Caption));
        m_label2[i]->setVisible(feld.Label2[i].Visible);
        setzeText(m_punkt[i], feld.Punkt[i].Caption);
        m_punkt[i]->setVisible(feld.Punkt[i].Visible);
    }
    kategorienZeigen();
    m_command3->setVisible(feld.Command3.Visible);
    m_command17->setVisible(feld.Command17.Visible);

    const auto bild = [this](const Bild& b) -> QPixmap {
        switch (b.art) {
        case BildArt::Seite:
            return m_artwork.seite(b.index + 1);
        case BildArt::Wurf:
            return m_artwork.wurfbild(b.index);
        case BildArt::Keines:
            break;
        }
        return QPixmap();
    };
    for (int i = 0; i < 5; ++i) {
        for (auto [feldBox, box] : {std::pair{&feld.w1[i], m_w1[i]}, std::pair{&feld.Raus[i], m_raus[i]}}) {
            box->move(pixel(feldBox->Left), pixel(feldBox->Top));
            box->setBild(bild(feldBox->Picture));
            box->setEnabled(feldBox->Enabled);
            box->setVisible(feldBox->Visible);
            const QString wert = qs(feldBox->Tag);
            if (box->accessibleDescription() != wert) {
                box->setAccessibleDescription(wert);
            }
        }
    }

    if (feld.Timer1 && !m_timer->isActive()) {
        m_timer->start();
    } else if (!feld.Timer1 && m_timer->isActive()) {
        m_timer->stop();
    }
}

void Form1::kategorienZeigen() {
    const Spielfeld& feld = m_spiel.feld();
    for (int i = 0; i < 13; ++i) {
        QPushButton* knopf = m_kategorien[static_cast<std::size_t>(i)];
        const Knopf& zustand = feld.Kategorien[static_cast<std::size_t>(i)];
        knopf->setVisible(zustand.Visible);
        knopf->setEnabled(zustand.Enabled);
        // While it can be entered, the button tells what it would score.
        QString vorschau;
        if (zustand.Visible && zustand.Enabled) {
            const int punkte = m_spiel.wuerdeBringen(i);
            vorschau = QStringLiteral("Würde %1 %2 bringen").arg(punkte).arg(punkte == 1 ? QStringLiteral("Punkt")
                                                                                        : QStringLiteral("Punkte"));
        }
        if (knopf->toolTip() != vorschau) {
            knopf->setToolTip(vorschau);
            knopf->setAccessibleDescription(vorschau);
        }
    }
}

QString Form1::tastenHilfe() {
    return QStringLiteral(
        "Tasten: Eingabe oder R würfelt, 1 bis 5 legt einen Würfel in die Ablage, "
        "A bis E nimmt ihn zurück, Tab wählt eine Kategorie, die Leertaste trägt ein.");
}

void Form1::keyPressEvent(QKeyEvent* event) {
    QAbstractButton* ziel = nullptr;
    const int taste = event->key();
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (taste >= Qt::Key_1 && taste <= Qt::Key_5) {
        ziel = m_w1[static_cast<std::size_t>(taste - Qt::Key_1)];
    } else if (taste >= Qt::Key_A && taste <= Qt::Key_E) {
        ziel = m_raus[static_cast<std::size_t>(taste - Qt::Key_A)];
    } else if (taste == Qt::Key_Return || taste == Qt::Key_Enter || taste == Qt::Key_R) {
        ziel = m_command17->isVisible() ? m_command17 : m_command3;
    } else if (taste == Qt::Key_H && m_tipp) {
        event->accept();
        m_tipp->zeigen();
        return;
    } else {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    // The key stands for a click: a hidden or disabled control ignores it.
    if (ziel->isVisible() && ziel->isEnabled()) {
        ziel->click();
    }
}

void Form1::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_artwork.hintergrund());
}

void Form1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (isMinimized()) {
        return;
    }
    // The outer size never grows past its largest value.
    const QSize aussen = frameGeometry().size();
    const QSize rahmen = aussen - size();
    const int breite = qMin(aussen.width(), pixel(GroessteAussenbreite));
    const int hoehe = qMin(aussen.height(), pixel(GroessteAussenhoehe));
    if (breite != aussen.width() || hoehe != aussen.height()) {
        resize(breite - rahmen.width(), hoehe - rahmen.height());
    }
}

} // namespace wk

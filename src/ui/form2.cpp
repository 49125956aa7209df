// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/form2.h"

#include "game/dienste.h"
#include "game/spielstand.h"
#include "highscore/highscore.h"
#include "platform/klartext.h"
#include "ui/ansage.h"
#include "ui/artwork.h"
#include "ui/autor.h"
#include "ui/fenster.h"
#include "ui/frmabout.h"
#include "ui/klicklabel.h"
#include "ui/listenansage.h"
#include "ui/masse.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QPainter>
#include <QEvent>
#include <QFrame>
#include <QPushButton>
#include <QRadioButton>

namespace wk {
namespace {

constexpr QSize Innengroesse{641, 500};

constexpr int PlatzTop(int k) { return k < 10 ? 1155 + 270 * k : 3990 + 270 * (k - 10); }
constexpr std::array<int, 4> ListenknopfLeft{420, 1680, 2940, 4260};
constexpr std::array<Twips, 6> Option2Ort{{
    {6060, 405, 1620, 465}, {6060, 900, 1620, 465}, {6060, 1395, 1620, 465},
    {7800, 405, 1620, 465}, {7800, 900, 1620, 465}, {7800, 1395, 1620, 465},
}};
constexpr std::array<int, 4> Option1Top{0, 630, 1260, 1845};
constexpr Twips Picture1Ort{6900, 2100, 1635, 2400};
constexpr Twips Label4Ort{180, 660, 5715, 420};
constexpr Twips Label5Ort{60, 60, 2055, 255};
constexpr Twips Image3Ort{0, 0, 135, 105};
constexpr Twips Command1Ort{6300, 4590, 2955, 1050};
constexpr Twips Command3Ort{840, 6840, 2115, 510};
constexpr std::array<Twips, 2> Label2Ort{{{7020, 5760, 1995, 330}, {7020, 6240, 1995, 330}}};
constexpr Twips Label1Ort{7020, 6720, 2295, 330};
constexpr int LinieTop = 3855;
constexpr int LinieVon = 120;
constexpr int LinieBis = 5640;

constexpr QRgb Hintergrund = farbe(0x00F3F3F3);
constexpr QRgb Rot = farbe(0x000000FF);
constexpr QRgb Blau = farbe(0x00FF0000);
constexpr QRgb Schwarz = farbe(0x00000000);
constexpr QRgb Grau = farbe(0x00808080);
constexpr QRgb Hellgelb = farbe(0x0080FFFF);
constexpr QRgb Gelb = farbe(0x0000FFFF);

constexpr std::array<int, 4> Laengen{1, 5, 10, 25};
constexpr std::array<const char*, 4> LaengenText{"1. Runde", "5. Runden", "10. Runden", "25. Runden"};

QRgb platzFarbe(int k) {
    if (k <= 2) {
        return Rot;
    }
    return k == 9 ? Blau : Schwarz;
}


// Text colour through the palette: far cheaper at start-up than a style sheet
// of its own on every label.
void textfarbe(QWidget& w, QRgb farbe) {
    QPalette p = w.palette();
    p.setColor(QPalette::WindowText, QColor(farbe));
    w.setPalette(p);
}

// An option button in the colours of its group, drawn by hand: a ring,
// filled when selected, and the caption; underlined while it has the focus.
class Wahlknopf : public QRadioButton {
public:
    Wahlknopf(const QString& text, QRgb schrift, QRgb grund, QWidget* eltern)
        : QRadioButton(text, eltern), m_schrift(schrift), m_grund(grund) {}

protected:
    // The whole coloured field takes the click, not just ring and caption.
    bool hitButton(const QPoint& punkt) const override { return rect().contains(punkt); }

    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(rect(), QColor(m_grund));
        const QColor farbe(m_schrift);
        const QRectF ring(7.5, height() / 2.0 - 5.0, 10.0, 10.0);
        p.setPen(QPen(farbe, 2));
        p.setBrush(isChecked() ? farbe : QColor(m_grund));
        p.drawEllipse(ring);
        QFont f = font();
        f.setUnderline(hasFocus());
        p.setFont(f);
        p.setPen(farbe);
        p.drawText(rect().adjusted(24, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, text());
    }

private:
    QRgb m_schrift;
    QRgb m_grund;
};

// The big red start button, drawn by hand: a rounded red face that lightens
// under the mouse and darkens while pressed, white caption, a gold focus ring.
class Startknopf : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF flaeche = QRectF(rect()).adjusted(1, 1, -1, -1);
        QLinearGradient verlauf(flaeche.topLeft(), flaeche.bottomLeft());
        const bool gedrueckt = isDown();
        verlauf.setColorAt(0, gedrueckt ? QColor(160, 0, 0) : underMouse() ? QColor(255, 106, 90) : QColor(255, 74, 58));
        verlauf.setColorAt(1, gedrueckt ? QColor(140, 0, 0) : QColor(196, 0, 0));
        p.setPen(QPen(hasFocus() ? QColor(255, 213, 74) : QColor(122, 0, 0), hasFocus() ? 2 : 1));
        p.setBrush(verlauf);
        p.drawRoundedRect(flaeche, 6, 6);
        p.setPen(Qt::white);
        p.setFont(font());
        p.drawText(rect(), Qt::AlignCenter | Qt::TextShowMnemonic, text());
    }
};

QLabel* listenLabel(QWidget* eltern, const QString& name, const Twips& ort, QRgb farbe, bool fett,
                    Qt::Alignment ausrichtung) {
    auto* label = new QLabel(eltern);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(rechteck(ort));
    label->setFont(schrift(11, fett));
    label->setAlignment(ausrichtung);
    textfarbe(*label, farbe);
    return label;
}

KlickLabel* linkLabel(QWidget* eltern, const QString& name, const QString& text, const Twips& ort,
                      const QString& tipp) {
    auto* label = new KlickLabel(eltern);
    label->setObjectName(name);
    label->setText(text);
    label->setAccessibleName(tipp);
    label->setAccessibleDescription(text);
    label->setGeometry(rechteck(ort));
    QFont f = schrift(11);
    f.setUnderline(true);
    label->setFont(f);
    textfarbe(*label, Blau);
    label->setFocusPolicy(Qt::TabFocus);
    label->setToolTip(tipp);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

// A click area that draws nothing.
class Klickflaeche : public QAbstractButton {
public:
    using QAbstractButton::QAbstractButton;

protected:
    void paintEvent(QPaintEvent*) override {}
};

} // namespace

Form2::Form2(Spielstand& stand, Highscore& highscore, Eingabe& eingabe, LinkOeffner& links,
             const Artwork& artwork, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_stand(stand),
      m_highscore(highscore),
      m_eingabe(eingabe),
      m_links(links),
      m_artwork(artwork) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Highscore"));
    setFixedSize(Innengroesse);
    setAutoFillBackground(true);
    QPalette grau = palette();
    grau.setColor(QPalette::Window, QColor(Hintergrund));
    setPalette(grau);

    aufbauen();
    Form_Load();
    zentrieren(*this);
}

bool Form2::event(QEvent* ereignis) {
    const bool ergebnis = QWidget::event(ereignis);
    if (ereignis->type() == QEvent::Paint && !m_geschmueckt) {
        m_geschmueckt = true;
        QMetaObject::invokeMethod(this, &Form2::schmuecken, Qt::QueuedConnection);
    }
    return ergebnis;
}

void Form2::schmuecken() {
    setWindowIcon(m_artwork.icon());
    for (const char* name : {"Label2_0", "Label2_1"}) {
        findChild<QWidget*>(QLatin1String(name))->setCursor(m_artwork.linkCursor());
    }
    findChild<QWidget*>(QStringLiteral("Label1"))->setCursor(m_artwork.mailCursor());
    emit gemalt();
}

void Form2::aufbauen() {
    m_label5 = new KlickLabel(this);
    m_label5->setObjectName(QStringLiteral("Label5"));
    m_label5->setGeometry(rechteck(Label5Ort));
    m_label5->setFont(schrift(11));
    textfarbe(*m_label5, Rot);
    m_label5->setCursor(Qt::PointingHandCursor);
    m_label5->setToolTip(QStringLiteral("Info Wurfkrone"));
    connect(static_cast<KlickLabel*>(m_label5), &KlickLabel::clicked, this, &Form2::aboutZeigen);

    auto* image3 = new Klickflaeche(this);
    image3->setObjectName(QStringLiteral("Image3"));
    image3->setAccessibleName(QStringLiteral("Highscore löschen"));
    image3->setFocusPolicy(Qt::NoFocus);
    image3->setGeometry(rechteck(Image3Ort));
    connect(image3, &QAbstractButton::clicked, this, [this] { m_highscore.highscore_loeschen(); });

    for (int i = 0; i < 4; ++i) {
        auto* knopf = new QPushButton(QString::number(Laengen[i]), this);
        knopf->setObjectName(QStringLiteral("Command2_%1").arg(i));
        knopf->setGeometry(rechteck({ListenknopfLeft[i], 360, 1095, 240}));
        knopf->setFont(schrift(11));
        knopf->setAccessibleName(QStringLiteral("Highscore %1").arg(Laengen[i]));

        const int laenge = Laengen[i];
        connect(knopf, &QPushButton::clicked, this, [this, laenge] {
            highscore_anzeigen(laenge, false);
            if (Ansage::aktiv()) {  // the screen reader tells the list shown
                m_ansage = m_ansage ? m_ansage : new Ansage(*this);
                m_ansage->ansagen(listenAnsage(*this));
            }
        });
    }

    m_label4 = listenLabel(this, QStringLiteral("Label4"), Label4Ort, Blau, true, Qt::AlignCenter);
    m_label4->setFont(schrift(18, true));
    m_label4->setAccessibleName(QStringLiteral("Highscore-Liste"));

    for (int k = 0; k < 20; ++k) {
        const int top = PlatzTop(k);
        m_label3[k] = listenLabel(this, QStringLiteral("Label3_%1").arg(k), {600, top, 795, 240}, platzFarbe(k),
                                  false, Qt::AlignLeft | Qt::AlignVCenter);
        m_vorname[k] = listenLabel(this, QStringLiteral("Vorname_%1").arg(k), {1500, top, 2415, 240},
                                   platzFarbe(k), true, Qt::AlignRight | Qt::AlignVCenter);
        m_vorname[k]->setAccessibleName(QStringLiteral("Name Platz %1").arg(k + 1));
        m_punkt[k] = listenLabel(this, QStringLiteral("Punkt_%1").arg(k), {4080, k == 0 ? 1140 : top, 1335, 240},
                                 platzFarbe(k), true, Qt::AlignLeft | Qt::AlignVCenter);
        m_punkt[k]->setAccessibleName(QStringLiteral("Punkte Platz %1").arg(k + 1));
    }

    auto* linie = new QFrame(this);
    linie->setObjectName(QStringLiteral("Line1"));
    linie->setGeometry(pixel(LinieVon), pixel(LinieTop), pixel(LinieBis) - pixel(LinieVon), 1);
    linie->setAutoFillBackground(true);
    QPalette linienfarbe = linie->palette();
    linienfarbe.setColor(QPalette::Window, QColor(Grau));
    linie->setPalette(linienfarbe);

    m_spieler = new QButtonGroup(this);
    for (int i = 0; i < 6; ++i) {
        auto* option = new Wahlknopf(QStringLiteral("%1. Spieler").arg(i + 1), Hellgelb, Blau, this);
        option->setObjectName(QStringLiteral("Option2_%1").arg(i));
        option->setGeometry(rechteck(Option2Ort[i]));
        option->setFont(schrift(12, true));
        m_spieler->addButton(option, i);
        m_option2[i] = option;
    }
    connect(m_spieler, &QButtonGroup::idToggled, this, [this](int id, bool an) {
        if (an) {
            spielerWaehlen(id);
        }
    });

    auto* picture1 = new QWidget(this);
    picture1->setObjectName(QStringLiteral("Picture1"));
    picture1->setGeometry(rechteck(Picture1Ort));
    picture1->setAutoFillBackground(true);
    QPalette schwarz = picture1->palette();
    schwarz.setColor(QPalette::Window, Qt::black);
    picture1->setPalette(schwarz);
    auto* laengen = new QButtonGroup(picture1);
    for (int i = 0; i < 4; ++i) {
        auto* option = new Wahlknopf(QString::fromUtf8(LaengenText[i]), Gelb, Schwarz, picture1);
        option->setObjectName(QStringLiteral("Option1_%1").arg(i));
        option->setGeometry(rechteck({0, Option1Top[i], 1605, 465}));
        option->setFont(schrift(12, true));
        laengen->addButton(option, i);
        m_option1[i] = option;
    }
    m_option1[0]->setChecked(true);
    connect(laengen, &QButtonGroup::idToggled, this, [this](int id, bool an) {
        if (an) {
            m_stand.Runden = Laengen[static_cast<std::size_t>(id)];
        }
    });

    m_command1 = new Startknopf(QStringLiteral("&Spiel Starten"), this);
    m_command1->setObjectName(QStringLiteral("Command1"));
    m_command1->setGeometry(rechteck(Command1Ort));
    m_command1->setFont(schrift(18, true));
    m_command1->hide();
    connect(m_command1, &QPushButton::clicked, this, &Form2::Command1_Click);

    auto* command3 = new QPushButton(QStringLiteral("&Exit"), this);
    command3->setObjectName(QStringLiteral("Command3"));
    command3->setGeometry(rechteck(Command3Ort));
    command3->setFont(schrift(11));
    connect(command3, &QPushButton::clicked, this, &Form2::programmBeenden);

    const QString homepage = QStringLiteral("Homepage von Orwen");
    auto* web0 = linkLabel(this, QStringLiteral("Label2_0"), QString::fromUtf8(autor::Homepage), Label2Ort[0],
                           homepage);
    connect(web0, &KlickLabel::clicked, this, [this] { dokument_oeffnen(m_links, autor::HomepageAdresse); });
    auto* web1 = linkLabel(this, QStringLiteral("Label2_1"), QString::fromUtf8(autor::Weiterleitung), Label2Ort[1],
                           homepage);
    connect(web1, &KlickLabel::clicked, this, [this] { dokument_oeffnen(m_links, autor::WeiterleitungAdresse); });
    auto* mail = linkLabel(this, QStringLiteral("Label1"), QString::fromUtf8(autor::Email), Label1Ort,
                           QStringLiteral("Email an Orwen"));
    connect(mail, &KlickLabel::clicked, this, [this] { mail_senden(autor::Email, autor::MailBetreff, autor::MailText); });

    // Image3 lies in front of the version text it overlaps.
    image3->raise();

    // The keyboard walks the window from the list buttons at the top left to
    // the players, the game length, the start button, the links and Exit.
    QList<QWidget*> folge;
    for (int i = 0; i < 4; ++i) {
        folge << findChild<QWidget*>(QStringLiteral("Command2_%1").arg(i));
    }
    for (QRadioButton* option : m_option2) {
        folge << option;
    }
    for (QRadioButton* option : m_option1) {
        folge << option;
    }
    folge << m_command1 << web0 << web1 << mail << command3;
    for (qsizetype i = 1; i < folge.size(); ++i) {
        setTabOrder(folge[i - 1], folge[i]);
    }
}

void Form2::Form_Load() {
    m_label5->setText(QStringLiteral("Version 1.0  Beta"));
    m_label5->setAccessibleDescription(m_label5->text());
    m_stand.Runden = 1;
    highscore_anzeigen(1, true);
    for (int k = 0; k < 20; ++k) {
        m_label3[k]->setText(QStringLiteral("Platz %1").arg(k + 1));
    }
    zeigeText(*m_label4, QStringLiteral("Highscore bei 1 Rundenspiel."));
}

void Form2::listeAktualisieren() { highscore_anzeigen(m_laenge, m_beimLaden); }

void Form2::highscore_anzeigen(int laenge, bool beimLaden) {
    m_laenge = laenge;
    m_beimLaden = beimLaden;
    const HighscoreAnzeige anzeige = m_highscore.highscore_anzeigen(laenge, beimLaden);
    zeigeText(*m_label4, ausUtf8(anzeige.titel));
    for (int k = 0; k < 20; ++k) {
        zeigeName(*m_vorname[k], ausUtf8(anzeige.namen[k]));
        zeigeText(*m_punkt[k], ausUtf8(anzeige.punkte[k]));
    }
}

void Form2::spielerWaehlen(int index) {
    m_stand.spielerAnlegen(index + 1);
    for (int p = 1; p <= m_stand.AnzahlSpieler; ++p) {
        const std::string nummer = std::to_string(p);
        m_stand.Namen[static_cast<std::size_t>(p)] =
            m_eingabe.fragen("Geben Sie Ihren Namen ein Spieler " + nummer, "Spieler Name " + nummer);
    }
    m_command1->show();
}

void Form2::Command1_Click() {
    m_stand.spielStarten();
    emit spielStarten();
}

void Form2::aboutZeigen() {
    if (!m_about) {
        m_about = new FrmAbout(m_links, this);
    }
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

void Form2::mail_senden(const std::string& adresse, const std::string& betreff, const std::string& text) {
    m_links.oeffnen("mailto:" + adresse + "?Subject=" + betreff + "&Body=" + text);
}

} // namespace wk

// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/tipp.h"

#include "game/wertung.h"
#include "ui/ansage.h"
#include "ui/bilanzanzeige.h"
#include "ui/form1.h"
#include "ui/masse.h"
#include "ui/tipptabelle.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>

#include <algorithm>
#include <vector>

namespace wk {
namespace {

// On the felt left of the "Fenster immer Oben" box and below it, above the
// tray: no control of the window lies there.
constexpr Twips KnopfOrt{3480, 510, 840, 330};
constexpr Twips AnzeigeOrt{4440, 450, 3060, 810};
// A sheet's balance: its four lines in a smaller type, from the coach's
// button (which H stands in for meanwhile) to the players' names; a fifth
// line, for decisions not judged, reaches a little further down.
constexpr Twips BilanzOrt{3480, 450, 4050, 810};
constexpr int BilanzZeile = 180;

constexpr QRgb Ablegen = qRgb(255, 214, 64);    // a table die to put aside, a button to press
constexpr QRgb Zuruecknehmen = qRgb(96, 200, 255);  // a tray die to take back
constexpr int Rand = 3;                          // ring width and gap, pixels

} // namespace

// A transparent layer over the whole window that draws rings around the
// controls the advice names. Clicks pass through it.
class Tippmarken : public QWidget {
public:
    explicit Tippmarken(QWidget* fenster) : QWidget(fenster) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(fenster->rect());
    }

    struct Marke {
        QRect ort;
        QRgb farbe;
    };
    void setzen(std::vector<Marke> marken) {
        m_marken = std::move(marken);
        setVisible(!m_marken.empty());
        raise();
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        for (const Marke& m : m_marken) {
            p.setPen(QPen(QColor(m.farbe), Rand));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(QRectF(m.ort).adjusted(-Rand, -Rand, Rand, Rand), 6, 6);
        }
    }

private:
    std::vector<Marke> m_marken;
};

Tipp::Tipp(Form1& fenster, Tipptabelle& tabelle) : QObject(&fenster), m_fenster(fenster) {
    m_knopf = new QPushButton(QStringLiteral("Tipp"), &fenster);
    m_knopf->setObjectName(QStringLiteral("TippKnopf"));
    m_knopf->setAccessibleName(QStringLiteral("Tipp zeigen"));
    m_knopf->setToolTip(QStringLiteral("Zeigt den besten Zug (Taste H)"));
    m_knopf->setGeometry(rechteck(KnopfOrt));
    m_knopf->setFont(schrift(11, true));
    m_knopf->setFocusPolicy(Qt::NoFocus);
    connect(m_knopf, &QPushButton::clicked, this, &Tipp::zeigen);

    m_anzeige = new QLabel(&fenster);
    m_anzeige->setObjectName(QStringLiteral("Tipp"));
    m_anzeige->setAccessibleName(QStringLiteral("Tipp"));
    m_anzeige->setTextFormat(Qt::PlainText);
    m_anzeige->setWordWrap(true);
    m_anzeige->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_anzeige->setGeometry(rechteck(AnzeigeOrt));
    m_anzeige->setFont(schrift(12, true));
    // Over the coach's button the balance needs a ground nothing shows through.
    m_anzeige->setStyleSheet(QStringLiteral("QLabel { color: #fff3c4; background: rgba(0, 0, 0, 150); "
                                            "border: 1px solid rgba(255, 214, 64, 170); border-radius: 5px; "
                                            "padding: 1px 5px; } QLabel[bilanz=\"true\"] { background: rgb(8, 28, 14); }"));
    m_anzeige->hide();

    m_marken = new Tippmarken(&fenster);
    m_marken->hide();

    if (tabelle.tabelle()) {
        m_berater.tabelleSetzen(*tabelle.tabelle());
    }
    connect(&tabelle, &Tipptabelle::fertig, this, [this, &tabelle] {
        m_berater.tabelleSetzen(*tabelle.tabelle());
        if (sichtbar()) {
            zeigen();
        }
    });
    m_bilanzen = new Bilanzanzeige(fenster);

    connect(&fenster, &Form1::vorDemZug, this, &Tipp::vorDemZug);
    connect(&fenster, &Form1::meldungOeffnet, this, &Tipp::meldungOeffnet);
    connect(&fenster, &Form1::meldungGeschlossen, this, [this] {
        if (m_fenster.spiel().beendet()) {
            m_bilanzen->verbergen();
        }
    });
    fenster.installEventFilter(this);
}

bool Tipp::eventFilter(QObject* objekt, QEvent* ereignis) {
    if (objekt == &m_fenster && ereignis->type() == QEvent::KeyPress) {
        const auto* taste = static_cast<QKeyEvent*>(ereignis);
        if (taste->key() == Qt::Key_H && !(taste->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
            zeigen();
            return true;
        }
    }
    return QObject::eventFilter(objekt, ereignis);
}

// The advice was for the dice before this action; the decision is judged
// against the best one of this moment.
void Tipp::vorDemZug(const Schritt& zug) {
    verbergen();
    m_bilanzOffen = false;
    const Spiel& spiel = m_fenster.spiel();
    if (zug.aktion == Aktion::Wuerfeln) {
        m_berater.vorDemWuerfeln(spiel.feld(), spiel.stand());
    } else if (zug.aktion == Aktion::Eintragen) {
        m_berater.vorDemEintragen(spiel.feld(), spiel.stand(), zug.index);
    }
}

void Tipp::meldungOeffnet() {
    const Bilanzbuch& buch = m_berater.buch();
    if (buch.fertige() != m_bilanzenGezeigt && buch.zuletztFertig()) {
        m_bilanzenGezeigt = buch.fertige();
        m_bilanzOffen = true;
        bilanzZeigen();
    }
    if (m_fenster.spiel().beendet()) {
        m_bilanzen->spielZeigen(buch);
    }
}

void Tipp::bilanzZeigen() {
    const Blattbilanz& bilanz = *m_berater.buch().zuletztFertig();
    m_marken->setzen({});
    panelZeigen(QString::fromStdString(bilanz.text()), true);
    m_bilanzen->blattZeigen(bilanz);
}

void Tipp::panelZeigen(const QString& text, bool bilanz) {
    Twips ort = AnzeigeOrt;
    if (bilanz) {
        ort = BilanzOrt;
        ort.height += std::max(0, int(text.count(QLatin1Char('\n'))) - 3) * BilanzZeile;
    }
    m_anzeige->setGeometry(rechteck(ort));
    m_anzeige->setFont(bilanz ? schrift(10) : schrift(12, true));
    if (m_anzeige->property("bilanz").toBool() != bilanz) {
        m_anzeige->setProperty("bilanz", bilanz);
        m_anzeige->style()->unpolish(m_anzeige);
        m_anzeige->style()->polish(m_anzeige);
    }
    m_anzeige->setText(text);
    m_anzeige->setAccessibleDescription(text);
    m_anzeige->show();
    m_anzeige->raise();
    m_fenster.ansagen(Ansage::alsSaetze(text));
}

bool Tipp::sichtbar() const { return !m_anzeige->isHidden(); }

void Tipp::zeigen() {
    if (m_bilanzOffen) {
        bilanzZeigen();
        return;
    }
    const Spiel& spiel = m_fenster.spiel();
    m_rat = m_berater.rat(spiel.feld(), spiel.stand(), m_fenster.meldungOffen());
    panelZeigen(QString::fromStdString(m_rat.text), false);

    std::vector<Tippmarken::Marke> marken;
    const auto ort = [this](const QString& name) {
        const QWidget* w = m_fenster.findChild<QWidget*>(name);
        return w ? w->geometry() : QRect();
    };
    if (m_rat.lage == Ratlage::Rat && m_rat.zelle >= 0) {
        const std::string_view knopf = Kategorien[m_rat.zelle].knopf;
        marken.push_back({ort(QString::fromLatin1(knopf.data(), qsizetype(knopf.size()))), Ablegen});
    } else if (m_rat.lage == Ratlage::Rat) {
        for (int i = 0; i < 5; ++i) {
            if (m_rat.ablegen[i]) {
                marken.push_back({ort(QStringLiteral("w1_%1").arg(i)), Ablegen});
            }
            if (m_rat.zuruecknehmen[i]) {
                marken.push_back({ort(QStringLiteral("Raus_%1").arg(i)), Zuruecknehmen});
            }
        }
        marken.push_back({ort(QStringLiteral("Command17")), Ablegen});
    }
    m_marken->setzen(std::move(marken));
}

void Tipp::verbergen() {
    m_anzeige->hide();
    m_marken->setzen({});
    m_bilanzen->verbergen();
}


} // namespace wk

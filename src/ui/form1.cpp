// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/form1.h"

#include "game/wertung.h"
#include "platform/fensteroben.h"
#include "platform/klartext.h"
#include "ui/ansage.h"
#include "ui/artwork.h"
#include "ui/fenster.h"
#include "ui/form1elemente.h"
#include "ui/form1lage.h"
#include "ui/masse.h"
#include "ui/tipp.h"
#include "ui/vorleser.h"
#include "ui/wuerfelfeld.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QToolTip>

namespace wk {
namespace {

using namespace spielfenster;

QString qs(std::string_view text) { return ausUtf8(text); }

void setzeText(QLabel* label, const std::string& text) {
    const QString neu = qs(text);
    if (label->text() != neu) {
        label->setText(neu);
        label->setAccessibleDescription(neu);
    }
}

} // namespace

void Form1::FensterMeldung::zeigen(const std::string& text) {
    m_fenster.darstellen();
    m_fenster.m_meldungOffen = true;
    emit m_fenster.meldungOeffnet(qs(text));
    m_meldung.zeigen(text);
    m_fenster.m_meldungOffen = false;
    emit m_fenster.meldungGeschlossen();
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
    m_hilfe = tastenHilfe();
    // The window takes the keys but never the focus, and its key help is no
    // tooltip property (that would be its accessible description): a screen
    // reader would present both again after every entry and Tab round.
    setFocusPolicy(Qt::NoFocus);

    aufbauen();
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(TimerIntervallMs);
    connect(m_timer, &QTimer::timeout, this, &Form1::takt);

    m_spiel.Form_Load();
    darstellen();
    zentrieren(*this);

    m_ansage = new Ansage(*this);
    new Vorleser(*this);
}

Form1::~Form1() = default;

bool Form1::moeglich(const Schritt& zug) const {
    const Spielfeld& feld = m_spiel.feld();
    if (m_meldungOffen || m_spiel.beendet()) {
        return false;
    }
    const auto frei = [](const auto& steuerelement) { return steuerelement.Visible && steuerelement.Enabled; };
    const bool box = zug.index >= 0 && zug.index < 5;
    switch (zug.aktion) {
    case Aktion::Wuerfeln:
        return frei(feld.Command17) || frei(feld.Command3);
    case Aktion::Ablegen:
        return box && frei(feld.w1[static_cast<std::size_t>(zug.index)]);
    case Aktion::Zuruecknehmen:
        return box && frei(feld.Raus[static_cast<std::size_t>(zug.index)]);
    case Aktion::Eintragen:
        return zug.index >= 0 && zug.index < 13 && frei(feld.Kategorien[static_cast<std::size_t>(zug.index)]);
    }
    return false;
}

void Form1::handeln(const Schritt& zug) {
    if (!moeglich(zug)) {
        return;
    }
    emit vorDemZug(zug);
    m_spiel.klicken(zug);
    // The last sheet's entry may have ended the game and closed this window.
    if (!m_spiel.beendet()) {
        darstellen();
        emit nachDemZug(zug);
    }
}

void Form1::setEingabeGesperrt(bool gesperrt) {
    if (m_eingabeGesperrt != gesperrt) {
        m_eingabeGesperrt = gesperrt;
        darstellen();
    }
}

void Form1::tippAnbieten(Tipptabelle& tabelle) {
    if (!m_tipp) {
        m_tipp = new Tipp(*this, tabelle);
        m_hilfe = tastenHilfe() + QStringLiteral(" H zeigt einen Tipp.");
    }
}

void Form1::ansagen(const QString& text) { m_ansage->ansagen(text); }

void Form1::tastenhilfeErgaenzen(const QString& text) { m_hilfe += u' ' + text; }

void Form1::takt() { ticken(TakteJeIntervall); }

void Form1::wurfAbschliessen() {
    if (m_spiel.feld().Timer1) {
        ticken(Spiel::TakteJeWurf);
    }
}

void Form1::ticken(int takte) {
    for (int i = 0; i < takte && m_spiel.feld().Timer1 && !m_spiel.beendet(); ++i) {
        m_spiel.Timer1_Timer();
    }
    if (m_spiel.beendet()) {
        return;
    }
    darstellen();
    if (!m_spiel.feld().Timer1) {
        emit wurfBeendet();
    }
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
    m_command3->setEnabled(!m_eingabeGesperrt);
    m_command17->setEnabled(!m_eingabeGesperrt);

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
            box->setEnabled(feldBox->Enabled && !m_eingabeGesperrt);
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
    // A focused button about to go gives the focus up at once, rather than
    // down the row of buttons that are about to go too.
    for (std::size_t i = 0; i < 13; ++i) {
        if (!feld.Kategorien[i].Visible || !feld.Kategorien[i].Enabled || m_eingabeGesperrt) {
            m_kategorien[i]->clearFocus();
        }
    }
    for (int i = 0; i < 13; ++i) {
        QPushButton* knopf = m_kategorien[static_cast<std::size_t>(i)];
        const Knopf& zustand = feld.Kategorien[static_cast<std::size_t>(i)];
        knopf->setVisible(zustand.Visible);
        knopf->setEnabled(zustand.Enabled && !m_eingabeGesperrt);
        // While it can be entered, the button tells what it would score.
        QString vorschau;
        if (zustand.Visible && zustand.Enabled) {
            const int punkte = m_spiel.wuerdeBringen(i);
            vorschau = QStringLiteral("Würde %1 %2 bringen").arg(punkte).arg(punkte == 1 ? QStringLiteral("Punkt")
                                                                                        : QStringLiteral("Punkte"));
        }
        // Also the button's accessible description, read when it takes the
        // focus: a tooltip changes without flooding the screen reader.
        if (knopf->toolTip() != vorschau) {
            knopf->setToolTip(vorschau);
        }
    }
}

QString Form1::tastenHilfe() {
    return QStringLiteral(
        "Tasten: Eingabe oder R würfelt, 1 bis 5 legt einen Würfel in die Ablage, "
        "A bis E nimmt ihn zurück, Tab wählt eine Kategorie, die Leertaste trägt ein, "
        "L sagt Würfel und Punkte, F1 sagt die Tasten.");
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

bool Form1::event(QEvent* ereignis) {
    if (ereignis->type() == QEvent::ToolTip) {
        QToolTip::showText(static_cast<QHelpEvent*>(ereignis)->globalPos(), m_hilfe, this);
        return true;
    }
    return QWidget::event(ereignis);
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

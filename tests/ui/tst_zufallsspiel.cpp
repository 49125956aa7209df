// Random play over the real windows: at every step any visible, enabled
// control of the open windows is clicked, some animation intervals pass, and
// the rules' invariants are checked. A failing seed is rerun alone with
// WK_SEED=<seed>.

#include "fakes/fakedienste.h"
#include "fakes/fakeeinstellungen.h"
#include "fakes/fakefensteroben.h"
#include "fakes/fakemeldung.h"
#include "game/wertung.h"
#include "game/zahltext.h"
#include "ui/anwendung.h"
#include "ui/artwork.h"

#include <QAbstractButton>
#include <QLabel>
#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>
#include <map>
#include <memory>

namespace {

constexpr int SchritteJeSeed = 2500;

// Names a player might type, the awkward ones included.
const std::vector<std::optional<std::string>> Namen{
    std::string("Anna"), std::string(""), std::string("   "), std::string(10000, 'x'),
    std::string("<b>x</b>"), std::string("<img src=x>"), std::string("&Anna"), std::string("Tab\there"),
    std::string("Zeile\nzwei"), std::string("\u0645\u0631\u062D\u0628\u0627"), std::string("\U0001F3B2\U0001F451"),
    std::string("Rene\u0301"), std::string("  Bert  "), std::nullopt,
};

struct Eintrag {
    std::string name;
    double punkte;
};

// The lists the store should hold: every result ever entered, best first,
// an earlier one before a later one with equal points, twenty places.
class Erwartung {
public:
    Erwartung() { loeschen("0"); }
    void loeschen(const std::string& name) {
        for (auto& [laenge, liste] : m_listen) {
            liste.assign(20, Eintrag{name, 0.0});
        }
    }
    void eintragen(int laenge, const std::string& name, double punkte) {
        auto& liste = m_listen[laenge];
        liste.push_back({QString::fromStdString(name).trimmed().toStdString(), punkte});
        std::stable_sort(liste.begin(), liste.end(), [](const Eintrag& a, const Eintrag& b) { return a.punkte > b.punkte; });
        liste.resize(20);
    }
    const std::vector<Eintrag>& liste(int laenge) { return m_listen[laenge]; }

private:
    std::map<int, std::vector<Eintrag>> m_listen{{1, {}}, {5, {}}, {10, {}}, {25, {}}};
};

class Zufallsspieler {
public:
    explicit Zufallsspieler(quint32 seed)
        : m_zufall(seed), m_anwendung({m_meldung, m_eingabe, m_links, m_fensterOben, m_speicher}, *artwork) {
        m_anwendung.starten();
        // Each finished sheet's total, taken while its closing message is open.
        m_meldung.waehrendOffen = [this] {
            wk::Form1* f = m_anwendung.form1();
            const std::string& text = m_meldung.texte.back();
            if (!f || (!text.ends_with(" ist mit Würfeln dran.") && !text.ends_with(" absolviert.."))) {
                return;
            }
            const wk::Spielstand& stand = m_anwendung.stand();
            int spieler = stand.AktuellerSpieler;
            if (text.ends_with(" dran.")) {
                spieler = spieler == 1 ? stand.AnzahlSpieler : spieler - 1;
            }
            m_blattsummen[spieler] += wk::zahlAusText(f->spiel().feld().Zahlen[13]);
        };
    }

    void spielen(int schritte) {
        for (int schritt = 0; schritt < schritte; ++schritt) {
            m_schritt = schritt;
            namenVorbereiten();
            QAbstractButton* ziel = waehlen();
            if (!ziel) {
                QFAIL(qPrintable(meldung("no control to click")));
            }
            const bool spielLief = m_anwendung.form1() != nullptr;
            if (!spielLief) {
                m_blattsummen.clear();
            }
            const wk::Spielstand vorher = m_anwendung.stand();
            if (ziel->objectName() == QLatin1String("Image3")) {
                m_erwartet.loeschen("..");
            }
            ziel->click();
            intervalle();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            if (spielLief && !m_anwendung.form1()) {
                spielEnde(vorher);
                if (QTest::currentTestFailed()) {
                    return;
                }
            }
            pruefen();
            if (QTest::currentTestFailed()) {
                return;
            }
        }
    }

    int zuege() const { return m_zuege; }
    int spiele() const { return m_spiele; }

    static inline std::unique_ptr<wk::Artwork> artwork;

private:
    QString meldung(const QString& text) const {
        return QStringLiteral("seed step %1: %2").arg(m_schritt).arg(text);
    }

    void namenVorbereiten() {
        while (m_eingabe.antworten.size() < 6) {
            m_eingabe.antworten.push_back(Namen[m_zufall.bounded(static_cast<quint32>(Namen.size()))]);
        }
    }

    // Any visible, enabled control of the open windows; the roll buttons and
    // the categories are picked more often so that games do end.
    QAbstractButton* waehlen() {
        QList<QAbstractButton*> kandidaten;
        QList<QAbstractButton*> vorrang;
        for (QWidget* fenster : QApplication::topLevelWidgets()) {
            if (!fenster->isVisible()) {
                continue;
            }
            for (QAbstractButton* b : fenster->findChildren<QAbstractButton*>()) {
                const QString name = b->objectName();
                if (!b->isVisibleTo(fenster) || !b->isEnabled() || name.isEmpty() ||
                    (fenster->objectName() == QLatin1String("Form2") && name == QLatin1String("Command3"))) {
                    continue;  // "&Exit" would end the program
                }
                if (name == QLatin1String("Image3") && m_zufall.bounded(20) != 0) {
                    continue;  // clearing the lists now and then is enough
                }
                kandidaten << b;
                const bool wuerfeln = name == QLatin1String("Command17") ||
                                      (name == QLatin1String("Command3") && fenster->objectName() == QLatin1String("Form1"));
                if (wuerfeln || (name.startsWith(QLatin1String("Command")) && fenster->objectName() == QLatin1String("Form1")) ||
                    name == QLatin1String("Command1") || name.startsWith(QLatin1String("Option2"))) {
                    vorrang << b;
                }
            }
        }
        const QList<QAbstractButton*>& aus = !vorrang.isEmpty() && m_zufall.bounded(3) != 0 ? vorrang : kandidaten;
        return aus.isEmpty() ? nullptr : aus[m_zufall.bounded(static_cast<int>(aus.size()))];
    }

    // A random number of animation intervals, of five ticks each.
    void intervalle() {
        wk::Form1* f = m_anwendung.form1();
        if (!f) {
            return;
        }
        const int anzahl = static_cast<int>(m_zufall.bounded(9));
        for (int i = 0; i < anzahl && m_anwendung.form1() == f && f->spiel().feld().Timer1; ++i) {
            QMetaObject::invokeMethod(f, "takt");
        }
    }

    void spielEnde(const wk::Spielstand& stand) {
        ++m_spiele;
        for (int p = 1; p <= stand.AnzahlSpieler; ++p) {
            QCOMPARE(m_anwendung.stand().RundenGespielt[p], stand.Runden);
            QVERIFY2(m_anwendung.stand().Gesamtpunkte[p] == m_blattsummen[p],
                     qPrintable(meldung(QStringLiteral("points of player %1 are not the sum of his sheets").arg(p))));
            m_erwartet.eintragen(stand.Runden, stand.Namen[p], m_anwendung.stand().Gesamtpunkte[p]);
        }
        const auto& liste = m_erwartet.liste(stand.Runden);
        const std::string abschnitt = "Highscore" + std::to_string(stand.Runden);
        for (int platz = 1; platz <= 20; ++platz) {
            const std::string punkte = m_speicher.lesen(abschnitt, std::to_string(platz), "0");
            const std::string name = m_speicher.lesen(abschnitt, "Name" + std::to_string(platz), "0");
            QVERIFY2(punkte == wk::zahlAlsText(liste[platz - 1].punkte) && name == liste[platz - 1].name,
                     qPrintable(meldung(QStringLiteral("place %1 of %2").arg(platz).arg(QString::fromStdString(abschnitt)))));
        }
        m_blatt.clear();
    }

    void pruefen() {
        wk::Form1* f = m_anwendung.form1();
        if (!f) {
            return;
        }
        const wk::Spielfeld& feld = f->spiel().feld();
        const wk::Spielstand& stand = m_anwendung.stand();

        int wuerfel = 0;
        for (int i = 0; i < 5; ++i) {
            wuerfel += feld.w1[i].Visible + feld.Raus[i].Visible;
            QVERIFY2(feld.Raus[i].Visible == !feld.Raus[i].Tag.empty(), qPrintable(meldung("tray visible iff Tag")));
            QVERIFY2(feld.w1[i].Visible || feld.w1[i].Tag.empty(), qPrintable(meldung("hidden table box holds a value")));
            QCOMPARE(f->findChild<QWidget*>(QStringLiteral("w1_%1").arg(i))->isVisibleTo(f), feld.w1[i].Visible);
        }
        QVERIFY2(wuerfel == 5, qPrintable(meldung(QStringLiteral("%1 dice").arg(wuerfel))));

        int verdeckt = 0;
        for (const wk::Knopf& k : feld.Kategorien) {
            verdeckt += !k.Visible;
        }
        QVERIFY2(stand.Eingetragen == verdeckt, qPrintable(meldung("Eingetragen counts the used categories")));
        QVERIFY2(stand.Wuerfe >= 0 && stand.Wuerfe <= 3, qPrintable(meldung("Wuerfe in 0..3")));
        QVERIFY2(!(feld.Command3.Visible && feld.Command17.Visible), qPrintable(meldung("two roll buttons")));

        double oben = 0;
        double unten = 0;
        for (int i = 0; i < 13; ++i) {
            (i < 6 ? oben : unten) += wk::zahlAusText(feld.Zahlen[i]);
        }
        const double bonus = oben >= 63 ? 100 : 0;
        const std::array<double, 5> summen{oben, bonus, oben + bonus, unten, oben + bonus + unten};
        const std::array<std::string, 5> zellen{feld.Label1[0], feld.Label1[1], feld.Label1[2], feld.Label1[3], feld.Zahlen[13]};
        for (std::size_t i = 0; i < summen.size(); ++i) {
            QVERIFY2(zellen[i] == wk::zahlAlsText(summen[i]), qPrintable(meldung(QStringLiteral("sum %1").arg(i))));
        }

        for (int p = 1; p <= stand.AnzahlSpieler; ++p) {
            const int erwartet = stand.RundenGespielt[stand.AnzahlSpieler] + (p < stand.AktuellerSpieler ? 1 : 0);
            QVERIFY2(stand.RundenGespielt[p] == erwartet, qPrintable(meldung("players take sheets in order")));
        }

        // A score once written stays until the sheet is done.
        const std::pair<int, int> blatt{stand.AktuellerSpieler, stand.RundenGespielt[stand.AktuellerSpieler]};
        if (blatt != m_blattVon) {
            m_blatt.clear();
            m_blattVon = blatt;
        }
        for (int i = 0; i < 13; ++i) {
            if (feld.Kategorien[i].Visible) {
                continue;
            }
            const auto [it, neu] = m_blatt.emplace(i, feld.Zahlen[i]);
            if (neu) {
                ++m_zuege;
            }
            QVERIFY2(it->second == feld.Zahlen[i], qPrintable(meldung(QStringLiteral("cell %1 changed").arg(i))));
        }
    }

    QRandomGenerator m_zufall;
    FakeMeldung m_meldung;
    FakeEingabe m_eingabe;
    FakeLinks m_links;
    FakeFensterOben m_fensterOben;
    FakeEinstellungen m_speicher;
    wk::Anwendung m_anwendung;
    Erwartung m_erwartet;
    std::map<int, std::string> m_blatt;
    std::map<int, double> m_blattsummen;
    std::pair<int, int> m_blattVon{0, 0};
    int m_schritt = 0;
    int m_zuege = 0;
    int m_spiele = 0;
};

} // namespace

class TstZufallsspiel : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Zufallsspieler::artwork = std::make_unique<wk::Artwork>(1.0); }
    void cleanupTestCase() { Zufallsspieler::artwork.reset(); }

    void invariantenHaltenBeiZufaelligemSpiel_data() {
        QTest::addColumn<quint32>("seed");
        const QByteArray einer = qgetenv("WK_SEED");
        if (!einer.isEmpty()) {
            QTest::addRow("seed %s", einer.constData()) << einer.toUInt();
            return;
        }
        for (quint32 seed = 1; seed <= 12; ++seed) {
            QTest::addRow("seed %u", seed) << seed;
        }
    }
    void invariantenHaltenBeiZufaelligemSpiel() {
        QFETCH(quint32, seed);
        Zufallsspieler spieler(seed);
        spieler.spielen(SchritteJeSeed);
        qInfo("seed %u: %d steps, %d turns, %d finished games", seed, SchritteJeSeed, spieler.zuege(), spieler.spiele());
        QVERIFY(spieler.zuege() > 100);
    }
};

QTEST_MAIN(TstZufallsspiel)
#include "tst_zufallsspiel.moc"

// The highscore lists over the real settings file when that file is damaged,
// odd or out of reach: the start window still gets a list, a result is saved
// whenever it can be without losing what was there, and no points value that
// is not a whole number ever reaches the file.

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include <pwd.h>
#include <unistd.h>

#include "fakes/fakemeldung.h"
#include "highscore/highscore.h"
#include "platform/qteinstellungen.h"

using namespace std::chrono_literals;

namespace {

QString q(const std::string& text) { return QString::fromStdString(text); }

QByteArray inhalt(const QString& pfad) {
    QFile datei(pfad);
    return datei.open(QIODevice::ReadOnly) ? datei.readAll() : QByteArray();
}

bool schreibeDatei(const QString& pfad, const QByteArray& bytes) {
    QFile datei(pfad);
    return datei.open(QIODevice::WriteOnly) && datei.write(bytes) == bytes.size();
}

// Twenty places as "Name:Punkte": the given ones first, then empty places.
QStringList plaetze(QStringList anfang) {
    while (anfang.size() < wk::ListenLaenge) {
        anfang << QStringLiteral("0:0");
    }
    return anfang;
}

// The list of one-Runde games as the start window shows it.
QStringList angezeigt(wk::Highscore& highscore) {
    const wk::HighscoreAnzeige anzeige = highscore.highscore_anzeigen(1, false);
    QStringList liste;
    for (int i = 0; i < wk::ListenLaenge; ++i) {
        liste << q(anzeige.namen[i]) + QLatin1Char(':') + q(anzeige.punkte[i]);
    }
    return liste;
}

// The list as another program finds it: from a copy under a new name, which
// QSettings has to parse from disk.
QStringList vonPlatte(const QString& pfad) {
    static int kopien = 0;
    const QString kopie = pfad + QStringLiteral(".kopie%1").arg(++kopien);
    QFile::copy(pfad, kopie);
    wk::QtEinstellungen speicher(kopie);
    FakeMeldung meldung;
    wk::Highscore highscore(speicher, meldung);
    return angezeigt(highscore);
}

// The lines of section [Highscore1] whose key is a place and whose value is
// not a plain whole number.
QStringList punkteOhneGanzeZahl(const QByteArray& datei) {
    static const QRegularExpression platz(QStringLiteral("^\\d+="));
    static const QRegularExpression ganzeZahl(QStringLiteral("^\\d+=-?\\d+$"));
    QStringList falsch;
    bool imAbschnitt = false;
    for (const QString& zeile : QString::fromUtf8(datei).split(QLatin1Char('\n'))) {
        if (zeile.startsWith(QLatin1Char('['))) {
            imAbschnitt = zeile == QStringLiteral("[Highscore1]");
        } else if (imAbschnitt && platz.match(zeile).hasMatch() && !ganzeZahl.match(zeile).hasMatch()) {
            falsch << zeile;
        }
    }
    return falsch;
}

// A game of one Runde whose only player "Neu" made 100 points.
wk::Spielstand neuesErgebnis() {
    wk::Spielstand stand;
    stand.Runden = 1;
    stand.spielerAnlegen(1);
    stand.Namen[1] = "Neu";
    stand.Gesamtpunkte[1] = 100;
    return stand;
}

// Collects the warnings while it lives instead of printing them.
class Warnungen {
public:
    Warnungen() : m_vorher(qInstallMessageHandler(&merken)) { texte().clear(); }
    ~Warnungen() { qInstallMessageHandler(m_vorher); }
    Warnungen(const Warnungen&) = delete;
    Warnungen& operator=(const Warnungen&) = delete;

    static QStringList& texte() {
        static QStringList alle;
        return alle;
    }

private:
    static void merken(QtMsgType, const QMessageLogContext&, const QString& text) { texte() << text; }

    QtMessageHandler m_vorher = nullptr;
};

// File permissions do not stop root. While this lives, a program run by root
// acts as the user "nobody", whom they do stop; for anyone else it does
// nothing.
class OhneRootrechte {
public:
    OhneRootrechte() {
        if (geteuid() == 0) {
            const passwd* niemand = getpwnam("nobody");
            m_gewechselt = niemand != nullptr && seteuid(niemand->pw_uid) == 0;
        }
    }
    ~OhneRootrechte() {
        if (m_gewechselt && seteuid(0) != 0) {
            qFatal("cannot return to root");
        }
    }
    OhneRootrechte(const OhneRootrechte&) = delete;
    OhneRootrechte& operator=(const OhneRootrechte&) = delete;

    bool wirksam() const { return geteuid() != 0; }

private:
    bool m_gewechselt = false;
};

enum Hindernis { DateiUnlesbar, OrdnerSchreibgeschuetzt, DateiIstOrdner };

constexpr QFile::Permissions NurLesen = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
constexpr QFile::Permissions Ordnerrechte = NurLesen | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;

} // namespace

class TstSpeicherfehler : public QObject {
    Q_OBJECT

    QString pfad() const { return m_ordner->filePath(QStringLiteral("Wurfkrone.conf")); }

    std::unique_ptr<QTemporaryDir> m_ordner;

private slots:
    void init() { m_ordner = std::make_unique<QTemporaryDir>(); }
    void cleanup() {
        QFile::setPermissions(m_ordner->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_ordner.reset();
    }

    void lesbareDatei_zeigtWasLesbarIstUndNimmtErgebnisAuf_data() {
        QTest::addColumn<bool>("dateiDa");
        QTest::addColumn<QByteArray>("datei");
        QTest::addColumn<QStringList>("vorher");
        QTest::addColumn<QStringList>("nachher");
        const auto alt = [](const char* punkte) {
            return QByteArray("[Highscore1]\n1=\"") + punkte + "\"\nName1=Alt\n";
        };
        const QStringList neuVorn{"Neu:100", "Alt:0"};

        QTest::newRow("Datei fehlt") << false << QByteArray() << QStringList{} << QStringList{"Neu:100"};
        QTest::newRow("leere Datei") << true << QByteArray() << QStringList{} << QStringList{"Neu:100"};
        QByteArray muell;
        quint32 zustand = 2024;
        for (int i = 0; i < 8192; ++i) {
            zustand = zustand * 1664525u + 1013904223u;
            muell.append(static_cast<char>(zustand >> 24));
        }
        QTest::newRow("Binärmüll") << true << muell << QStringList{} << QStringList{"Neu:100"};
        QTest::newRow("fremde Liste mit Nullzeichen")
            << true << QByteArray("[Fenster]\nTitel=a, b\\0c\n") << QStringList{} << QStringList{"Neu:100"};
        QTest::newRow("fremde Zahl, die keine ist")
            << true << QByteArray("[Fenster]\nZoom=@Variant(\\0\\0\\0\\x6\\x7f\\xf8\\0\\0\\0\\0\\0\\0)\n")
            << QStringList{} << QStringList{"Neu:100"};

        const QByteArray megabyte(1 << 20, 'x');
        const QString langerName = QString::fromLatin1(megabyte);
        QTest::newRow("Name von 1 MB")
            << true << "[Highscore1]\n1=300\nName1=" + megabyte + "\n"
            << QStringList{langerName + ":300"} << QStringList{langerName + ":300", "Neu:100"};
        QTest::newRow("Punkte aus 1 MB Ziffern lesen sich als 0")
            << true << alt(QByteArray(1 << 20, '9')) << QStringList{"Alt:0"} << neuVorn;

        QTest::newRow("Punkte \"..\"") << true << alt("..") << QStringList{"Alt:0"} << neuVorn;
        QTest::newRow("Punkte \"abc\"") << true << alt("abc") << QStringList{"Alt:0"} << neuVorn;
        QTest::newRow("Punkte \" 12abc\"")
            << true << alt(" 12abc") << QStringList{"Alt:12"} << QStringList{"Neu:100", "Alt:12"};
        QTest::newRow("Punkte \"-5\"")
            << true << alt("-5") << QStringList{"Alt:-5"} << QStringList{"Neu:100", "Alt:-5"};
        QTest::newRow("Punkte \"1e400\"")
            << true << alt("1e400") << QStringList{"Alt:1"} << QStringList{"Neu:100", "Alt:1"};
        QTest::newRow("Punkte \"NaN\"") << true << alt("NaN") << QStringList{"Alt:0"} << neuVorn;
        QTest::newRow("Punkte \"inf\"") << true << alt("inf") << QStringList{"Alt:0"} << neuVorn;
        QTest::newRow("Punkte \"245.7\" als ganze Zahl")
            << true << alt("245.7") << QStringList{"Alt:246"} << QStringList{"Alt:246", "Neu:100"};
        QTest::newRow("Punkte \"99999999999999999999\"")
            << true << alt("99999999999999999999") << QStringList{"Alt:100000000000000000000"}
            << QStringList{"Alt:100000000000000000000", "Neu:100"};

        QTest::newRow("Name mit Zeilenumbruch")
            << true << QByteArray("[Highscore1]\n1=300\nName1=Anna\\nBernd\n")
            << QStringList{"Anna\nBernd:300"} << QStringList{"Anna\nBernd:300", "Neu:100"};
        QTest::newRow("Namensschlüssel durch Zeilenumbruch geteilt")
            << true << QByteArray("[Highscore1]\n1=300\nNa\nme1=Anna\n2=50\nName2=Bernd\n")
            << QStringList{"0:300", "Bernd:50"} << QStringList{"0:300", "Neu:100", "Bernd:50"};
    }

    void lesbareDatei_zeigtWasLesbarIstUndNimmtErgebnisAuf() {
        QFETCH(bool, dateiDa);
        QFETCH(QByteArray, datei);
        QFETCH(QStringList, vorher);
        QFETCH(QStringList, nachher);
        QVERIFY(!dateiDa || schreibeDatei(pfad(), datei));
        const Warnungen warnungen;
        wk::QtEinstellungen speicher(pfad());
        FakeMeldung meldung;
        wk::Highscore highscore(speicher, meldung);

        QCOMPARE(angezeigt(highscore), plaetze(vorher));
        highscore.Auswertung(neuesErgebnis());

        QCOMPARE(vonPlatte(pfad()), plaetze(nachher));
        QCOMPARE(punkteOhneGanzeZahl(inhalt(pfad())), QStringList{});
    }

    void unerreichbareDatei_zeigtWasLesbarIstUndBleibtUnberuehrt_data() {
        QTest::addColumn<int>("hindernis");
        QTest::addColumn<QStringList>("vorher");
        QTest::newRow("Datei unlesbar") << int{DateiUnlesbar} << QStringList{};
        QTest::newRow("Ordner schreibgeschützt") << int{OrdnerSchreibgeschuetzt} << QStringList{"Alt:300"};
        QTest::newRow("Ordner statt Datei") << int{DateiIstOrdner} << QStringList{};
    }

    void unerreichbareDatei_zeigtWasLesbarIstUndBleibtUnberuehrt() {
        QFETCH(int, hindernis);
        QFETCH(QStringList, vorher);
        const QByteArray alt("[Highscore1]\n1=300\nName1=Alt\n");
        const QString imOrdner = pfad() + QStringLiteral("/darin");
        if (hindernis == DateiIstOrdner) {
            QVERIFY(QDir().mkpath(pfad()) && schreibeDatei(imOrdner, alt));
        } else {
            QVERIFY(schreibeDatei(pfad(), alt));
        }
        if (hindernis == DateiUnlesbar) {
            QVERIFY(QFile::setPermissions(pfad(), {}));
            QVERIFY(QFile::setPermissions(m_ordner->path(), Ordnerrechte | QFile::WriteOwner |
                                                                QFile::WriteGroup | QFile::WriteOther));
        } else if (hindernis == OrdnerSchreibgeschuetzt) {
            QVERIFY(QFile::setPermissions(m_ordner->path(), Ordnerrechte));
        }
        const QStringList dateienVorher = QDir(m_ordner->path()).entryList(QDir::AllEntries | QDir::Hidden);
        const Warnungen warnungen;
        {
            const OhneRootrechte ohneRoot;
            if (!ohneRoot.wirksam()) {
                QSKIP("root ignores file permissions and cannot act as the user nobody here");
            }
            wk::QtEinstellungen speicher(pfad(), 100ms);
            FakeMeldung meldung;
            wk::Highscore highscore(speicher, meldung);

            QCOMPARE(angezeigt(highscore), plaetze(vorher));
            highscore.Auswertung(neuesErgebnis());
        }

        QVERIFY(QFile::setPermissions(m_ordner->path(), Ordnerrechte | QFile::WriteOwner));
        QVERIFY(hindernis == DateiIstOrdner || QFile::setPermissions(pfad(), NurLesen));
        QCOMPARE(QDir(m_ordner->path()).entryList(QDir::AllEntries | QDir::Hidden), dateienVorher);
        QCOMPARE(inhalt(hindernis == DateiIstOrdner ? imOrdner : pfad()), alt);
        QVERIFY2(Warnungen::texte().join(QLatin1Char('\n')).contains(QStringLiteral("nicht gespeichert")),
                 qPrintable(Warnungen::texte().join(QLatin1Char('\n'))));
    }
};

QTEST_GUILESS_MAIN(TstSpeicherfehler)
#include "tst_speicherfehler.moc"

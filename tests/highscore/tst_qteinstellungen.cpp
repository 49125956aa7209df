#include <QDir>
#include <QLockFile>
#include <QRegularExpression>
#include <QtTest>

#include <csignal>
#include <thread>

#include <sys/resource.h>

#include "speicherhilfen.h"

using namespace std::chrono_literals;

namespace {

void warnungErwartet(const char* muster) {
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QString::fromUtf8(muster)));
}

// While it lives, files can grow to `grenze` bytes only, as on a full disk;
// writing past that fails instead of raising SIGXFSZ.
struct Dateigrenze {
    explicit Dateigrenze(rlim_t grenze) : m_signalVorher(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &m_vorher);
        rlimit neu = m_vorher;
        neu.rlim_cur = grenze;
        setrlimit(RLIMIT_FSIZE, &neu);
    }
    ~Dateigrenze() {
        setrlimit(RLIMIT_FSIZE, &m_vorher);
        std::signal(SIGXFSZ, m_signalVorher);
    }
    void (*m_signalVorher)(int) = SIG_DFL;
    rlimit m_vorher{};
};

} // namespace

class TstQtEinstellungen : public QObject, MitOrdner {
    Q_OBJECT

private slots:
    void init() { ordnerAnlegen(); }
    void cleanup() { ordnerEntfernen(); }

    void text_kommtUnveraendertZurueck_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("Komma") << "A, B";
        QTest::newRow("nur ein Komma") << ",";
        QTest::newRow("Anführungszeichen") << "Sie sagte \"Hallo\"";
        QTest::newRow("Gleichheitszeichen und Semikolon") << "x=y;z";
        QTest::newRow("Umlaute und Würfel") << "Jürgen Öztürk-Weiß \U0001F3B2";
        QTest::newRow("Leerzeichen vorn") << "  Anna";
        QTest::newRow("Leerzeichen hinten") << "Anna  ";
        QTest::newRow("leer") << "";
        QTest::newRow("wie ein Variant") << "@Variant(0)";
        QTest::newRow("Rückstrich") << "C:\\Spiele\\";
        QTest::newRow("Tabulator und Zeilenumbruch") << "Tab\tund\nZeile";
        QTest::newRow("wie ein Abschnittskopf") << "[Highscore1]";
        QTest::newRow("wie ein Kommentar") << "; nur Text";
    }

    void text_kommtUnveraendertZurueck() {
        QFETCH(QString, text);

        wk::QtEinstellungen(pfad()).schreiben("Highscore1", "Name1", text.toStdString());

        QCOMPARE(vonPlatte(pfad(), "Highscore1", "Name1"), text);
        QCOMPARE(q(wk::QtEinstellungen(pfad()).lesen("Highscore1", "Name1", Fehlt)), text);
    }

    void lesen_liefertTextOderVorgabeUndLegtNichtsAn_data() {
        QTest::addColumn<bool>("dateiDa");
        QTest::addColumn<QByteArray>("datei");
        QTest::addColumn<QString>("text");
        QTest::newRow("keine Datei") << false << QByteArray() << q(Fehlt);
        QTest::newRow("leere Datei") << true << QByteArray() << q(Fehlt);
        QTest::newRow("anderer Abschnitt") << true << QByteArray("[Highscore5]\nName1=Anna\n") << q(Fehlt);
        QTest::newRow("anderer Schlüssel") << true << QByteArray("[Highscore1]\nName2=Anna\n") << q(Fehlt);
        const QByteArray kopf("[Highscore1]\n");
        QTest::newRow("Liste ohne Anführungszeichen") << true << kopf + "Name1=A, B\n" << "A, B";
        QTest::newRow("Bytefolge") << true << kopf + "Name1=@ByteArray(Xaver)\n" << "Xaver";
        QTest::newRow("Leerraum um den Wert") << true << kopf + "Name1 =  245  \n" << "245";
        QTest::newRow("Punkt statt Text") << true << kopf + "Name1=@Point(1 2)\n" << q(Fehlt);
    }

    void lesen_liefertTextOderVorgabeUndLegtNichtsAn() {
        QFETCH(bool, dateiDa);
        QFETCH(QByteArray, datei);
        QFETCH(QString, text);
        QVERIFY(!dateiDa || schreibeDatei(pfad(), datei));

        QCOMPARE(q(wk::QtEinstellungen(pfad()).lesen("Highscore1", "Name1", Fehlt)), text);
        QCOMPARE(QFile::exists(pfad()), dateiDa);
    }

    void beschaedigteDatei_wirdVorDemErsetzenKopiert_data() {
        QTest::addColumn<int>("vorherGelesen");  // 0 not, 1 a value, 2 a list in a transaction
        QTest::newRow("written at once") << 0;
        QTest::newRow("a value read first") << 1;
        QTest::newRow("a list shown first") << 2;
    }
    void beschaedigteDatei_wirdVorDemErsetzenKopiert() {
        QFETCH(int, vorherGelesen);
        const QByteArray beschaedigt("[Highscore1\n1=5\n");
        QVERIFY(schreibeDatei(pfad(), beschaedigt));
        warnungErwartet("ist beschädigt");
        warnungErwartet("Kopie.*defekt");

        wk::QtEinstellungen speicher(pfad());
        if (vorherGelesen == 1) {
            speicher.lesen("Highscore1", "1", "0");
        } else if (vorherGelesen == 2) {
            speicher.gesperrt([&] { speicher.lesen("Highscore1", "Name1", "0"); });
        }
        speicher.schreiben("Highscore1", "1", "77");

        const QStringList kopien = QDir(m_ordner->path()).entryList({QStringLiteral("*.defekt-*")});
        QCOMPARE(kopien.size(), 1);
        QCOMPARE(inhalt(m_ordner->filePath(kopien.front())), beschaedigt);
    }

    void volleFestplatte_laesstAlteDateiUnveraendert() {
        wk::QtEinstellungen speicher(pfad());
        speicher.schreiben("Highscore1", "Name1", "Anna");
        const QByteArray vorher = inhalt(pfad());
        warnungErwartet("nicht gespeichert");
        {
            const Dateigrenze grenze(1024);
            speicher.schreiben("Highscore1", "Name2", std::string(4096, 'x'));
        }

        QCOMPARE(inhalt(pfad()), vorher);
        QCOMPARE(QDir(m_ordner->path()).entryList(QDir::Files), QStringList{"Wurfkrone.conf"});
    }

    void ordnerNichtAnlegbar_warntUndLiestVorgabe() {
        const QString keinOrdner = m_ordner->filePath(QStringLiteral("keinOrdner"));
        QVERIFY(schreibeDatei(keinOrdner, "eine Datei"));
        warnungErwartet("Ordner");
        warnungErwartet("Sperre");
        warnungErwartet("nicht gespeichert");
        wk::QtEinstellungen speicher(keinOrdner + QStringLiteral("/Wurfkrone.conf"));

        speicher.schreiben("Highscore1", "Name1", "Anna");

        QCOMPARE(q(speicher.lesen("Highscore1", "Name1", "0")), QStringLiteral("0"));
        QCOMPARE(inhalt(keinOrdner), QByteArray("eine Datei"));
    }

    void transaktion_siehtEigeneSchreibvorgaengeUndDarfGeschachteltSein() {
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        wk::QtEinstellungen speicher(pfad(), 100ms);
        std::string gelesen;

        speicher.gesperrt([&] {
            speicher.schreiben("Highscore1", "1", "245");
            gelesen = speicher.lesen("Highscore1", "1", Fehlt);
            speicher.gesperrt([&] { speicher.schreiben("Highscore1", "Name1", "Anna"); });
        });

        QCOMPARE(q(gelesen), QStringLiteral("245"));
        QCOMPARE(vonPlatte(pfad(), "Highscore1", "Name1"), QStringLiteral("Anna"));
        QVERIFY(!QFile::exists(speicher.sperrPfad()));
    }

    void gleichzeitigeTransaktionen_verlierenNichts() {
        constexpr int ErhoehungenJe = 15;
        const auto zaehlen = [this] {
            wk::QtEinstellungen speicher(pfad());
            for (int i = 0; i < ErhoehungenJe; ++i) {
                speicher.gesperrt([&] {
                    const int stand = std::stoi(speicher.lesen("Zaehler", "stand", "0"));
                    std::this_thread::sleep_for(2ms);
                    speicher.schreiben("Zaehler", "stand", std::to_string(stand + 1));
                });
            }
        };

        std::thread erster(zaehlen);
        std::thread zweiter(zaehlen);
        erster.join();
        zweiter.join();

        QCOMPARE(vonPlatte(pfad(), "Zaehler", "stand"), QString::number(2 * ErhoehungenJe));
    }

    void fremdeSperre_nachWartezeitTrotzdemGespeichert() {
        wk::QtEinstellungen speicher(pfad(), 50ms);
        QLockFile fremd(speicher.sperrPfad());
        QVERIFY(fremd.tryLock(0));
        warnungErwartet("Sperre");

        speicher.schreiben("Highscore1", "Name1", "Anna");

        QCOMPARE(vonPlatte(pfad(), "Highscore1", "Name1"), QStringLiteral("Anna"));
    }

    void standardPfad_liegtImKonfigurationsordner() {
        const bool gesetzt = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        const QByteArray vorher = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", m_ordner->path().toUtf8());

        const QString standard = wk::QtEinstellungen::standardPfad();

        gesetzt ? qputenv("XDG_CONFIG_HOME", vorher) : qunsetenv("XDG_CONFIG_HOME");
        QCOMPARE(standard, m_ordner->path() + QStringLiteral("/Wurfkrone/Wurfkrone.conf"));
    }
};

QTEST_GUILESS_MAIN(TstQtEinstellungen)
#include "tst_qteinstellungen.moc"

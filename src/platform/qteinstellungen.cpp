#include "platform/qteinstellungen.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>
#include <utility>

#include <QCoreApplication>
#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMap>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QVariant>
#include <QtDebug>

namespace wk {

namespace {

const QString Anwendungsdatei = QStringLiteral("/Wurfkrone/Wurfkrone.conf");
const QString SperrZusatz = QStringLiteral(".sperre");
const QString EntwurfsZusatz = QStringLiteral(".neu-");
const QString PrueflingsZusatz = QStringLiteral(".pruefen");
const QString SicherungsZusatz = QStringLiteral(".defekt-");
const QString Zeitstempel = QStringLiteral("yyyyMMdd-HHmmss-zzz");

QString pfadSchluessel(const std::string& abschnitt, const std::string& schluessel) {
    return QString::fromStdString(abschnitt) + QLatin1Char('/') + QString::fromStdString(schluessel);
}

// A value as text; nullopt when it is missing or holds no text. QSettings
// gives a list for an unquoted "A, B" typed into the file by hand (a list of
// values when an element starts with "@", as "a, @String(b\0c)", which is how
// it writes a list with a null character back), and a byte array or another
// type for values starting with "@" ("@Point(1 2)").
std::optional<std::string> alsText(const QVariant& wert) {
    switch (wert.typeId()) {
    case QMetaType::QString:
        return wert.toString().toStdString();
    case QMetaType::QStringList:
        return wert.toStringList().join(QStringLiteral(", ")).toStdString();
    case QMetaType::QVariantList: {
        QStringList texte;
        const QVariantList elemente = wert.toList();
        for (const QVariant& element : elemente) {
            const std::optional<std::string> text = alsText(element);
            if (!text) {
                return std::nullopt;
            }
            texte << QString::fromStdString(*text);
        }
        return texte.join(QStringLiteral(", ")).toStdString();
    }
    case QMetaType::QByteArray:
        return wert.toByteArray().toStdString();
    default:
        return std::nullopt;
    }
}

const char* beschreibung(QLockFile::LockError fehler) {
    switch (fehler) {
    case QLockFile::NoError:
        return "kein Fehler";
    case QLockFile::LockFailedError:
        return "von einem anderen Programm belegt";
    case QLockFile::PermissionError:
        return "keine Berechtigung";
    case QLockFile::UnknownError:
        break;
    }
    return "unbekannter Fehler";
}

// A name no file of this program has had, so that QSettings reads it from
// disk and never from what it remembers of an earlier file of that name.
QString neuerEntwurfsPfad(const QString& dateipfad) {
    static std::atomic<unsigned> zaehler{0};
    return dateipfad + EntwurfsZusatz + QString::number(QCoreApplication::applicationPid()) +
           QLatin1Char('-') + QString::number(++zaehler);
}

std::filesystem::path nativerPfad(const QString& pfad) {
#ifdef Q_OS_WIN
    return std::filesystem::path(pfad.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(pfad).toStdString());
#endif
}

// Replaces `nach` in one step, unlike QFile::rename.
bool umbenennen(const QString& von, const QString& nach) {
    std::error_code fehler;
    std::filesystem::rename(nativerPfad(von), nativerPfad(nach), fehler);
    return !fehler;
}

// QSettings, here and in other programs, tells a changed file by its size
// and its modification time to the millisecond. Two saves within one
// millisecond would look alike unless each file is made strictly later.
void spaeterAls(const QString& pfad, const QDateTime& vorgaenger) {
    if (QFileInfo(pfad).lastModified() > vorgaenger) {
        return;
    }
    QFile datei(pfad);
    if (datei.open(QIODevice::ReadWrite)) {
        datei.setFileTime(vorgaenger.addMSecs(1), QFileDevice::FileModificationTime);
    }
}

// Whether a value read back from a file is the one that was written. QSettings
// writes numbers and lists of texts as plain text, so they may come back as a
// text or as a list of values; and a number that is not a number is unequal to
// itself, so what is still unequal after that is compared by its bytes.
bool gleich(const QVariant& gemeint, const QVariant& gelesen) {
    if (gemeint == gelesen) {
        return true;
    }
    QVariant wieGelesen = gemeint;
    if (!wieGelesen.convert(gelesen.metaType())) {
        return false;
    }
    const auto alsBytes = [](const QVariant& wert) {
        QByteArray bytes;
        QDataStream strom(&bytes, QIODevice::WriteOnly);
        strom << wert;
        return bytes;
    };
    return wieGelesen == gelesen || alsBytes(wieGelesen) == alsBytes(gelesen);
}

bool enthaeltGenau(const QString& pfad, const QMap<QString, QVariant>& gemeint) {
    const QSettings datei(pfad, QSettings::IniFormat);
    const QStringList schluessel = datei.allKeys();
    if (datei.status() != QSettings::NoError || schluessel.size() != gemeint.size()) {
        return false;
    }
    return std::all_of(schluessel.begin(), schluessel.end(), [&](const QString& name) {
        const auto eintrag = gemeint.find(name);
        return eintrag != gemeint.end() && gleich(*eintrag, datei.value(name));
    });
}

} // namespace

// Reads go to the file as it was when the transaction began, until the first
// write copies its entries into a draft; from then on the draft is both read
// and written.
struct QtEinstellungen::Transaktion {
    explicit Transaktion(const QString& dateipfad) : bestand(dateipfad, QSettings::IniFormat) {}

    QVariant wert(const QString& schluessel) const {
        return entwurf ? entwurf->value(schluessel) : bestand.value(schluessel);
    }

    void setzen(const QString& schluessel, const QString& wert, const QString& dateipfad) {
        if (!entwurf) {
            entwurfsPfad = neuerEntwurfsPfad(dateipfad);
            QFile::remove(entwurfsPfad);
            entwurf = std::make_unique<QSettings>(entwurfsPfad, QSettings::IniFormat);
            const QStringList alle = bestand.allKeys();
            for (const QString& name : alle) {
                const QVariant alt = bestand.value(name);
                if (alt.isValid()) {
                    entwurf->setValue(name, alt);
                }
            }
        }
        entwurf->setValue(schluessel, wert);
    }

    QSettings bestand;
    std::unique_ptr<QSettings> entwurf;
    QString entwurfsPfad;
};

QtEinstellungen::QtEinstellungen(QString dateipfad, std::chrono::milliseconds wartezeit)
    : m_dateipfad(std::move(dateipfad)), m_wartezeit(wartezeit) {}

QString QtEinstellungen::standardPfad() {
    QString ordner = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (ordner.isEmpty()) {
        ordner = QDir::homePath() + QStringLiteral("/.config");
    }
    return ordner + Anwendungsdatei;
}

QString QtEinstellungen::sperrPfad() const { return m_dateipfad + SperrZusatz; }

std::string QtEinstellungen::lesen(const std::string& abschnitt, const std::string& schluessel,
                                   const std::string& vorgabe) const {
    const QString name = pfadSchluessel(abschnitt, schluessel);
    if (m_transaktion != nullptr) {
        return alsText(m_transaktion->wert(name)).value_or(vorgabe);
    }
    const QSettings datei(m_dateipfad, QSettings::IniFormat);
    const QVariant wert = datei.value(name);
    lesestandMerken(datei.status());
    if (datei.status() != QSettings::NoError) {
        leseFehlerMelden(datei.status() == QSettings::FormatError);
    }
    return alsText(wert).value_or(vorgabe);
}

void QtEinstellungen::schreiben(const std::string& abschnitt, const std::string& schluessel,
                                const std::string& wert) {
    if (m_transaktion == nullptr) {
        gesperrt([&] { schreiben(abschnitt, schluessel, wert); });
        return;
    }
    m_transaktion->setzen(pfadSchluessel(abschnitt, schluessel), QString::fromStdString(wert),
                          m_dateipfad);
}

void QtEinstellungen::gesperrt(const std::function<void()>& arbeit) {
    if (m_transaktion != nullptr) {
        arbeit();
        return;
    }

    ordnerAnlegen();
    QLockFile sperre(sperrPfad());
    sperre.setStaleLockTime(static_cast<int>(SperreVeraltetNach.count()));
    if (!sperre.tryLock(static_cast<int>(m_wartezeit.count()))) {
        qWarning().noquote() << "Einstellungen: Sperre" << sperrPfad() << "nicht erhalten ("
                             << beschreibung(sperre.error())
                             << "); es geht ohne Sperre weiter";
    }

    Transaktion transaktion(m_dateipfad);
    transaktion.bestand.allKeys();
    const QSettings::Status gelesen = transaktion.bestand.status();
    lesestandMerken(gelesen);
    if (gelesen != QSettings::NoError) {
        leseFehlerMelden(gelesen == QSettings::FormatError);
    }
    {
        // Ends the transaction however the work ends.
        struct Beenden {
            Transaktion*& laufend;
            ~Beenden() { laufend = nullptr; }
        } const beenden{m_transaktion};
        m_transaktion = &transaktion;
        arbeit();
    }
    if (!transaktion.entwurf) {
        return;
    }

    bool gespeichert = false;
    if (gelesen != QSettings::AccessError) {
        if (gelesen == QSettings::FormatError || alsBeschaedigtBekannt()) {
            beschaedigteDateiSichern();
        }
        gespeichert = ersetzenDurchEntwurf(transaktion);
        if (gespeichert) {
            m_beschaedigteFassung.clear();
        }
    }
    transaktion.entwurf.reset();
    QFile::remove(transaktion.entwurfsPfad);
    QFile::remove(transaktion.entwurfsPfad + PrueflingsZusatz);
    if (!gespeichert) {
        qWarning().noquote() << "Einstellungen: Datei" << m_dateipfad
                             << "konnte nicht gespeichert werden; sie bleibt, wie sie war";
    }
}

bool QtEinstellungen::ersetzenDurchEntwurf(Transaktion& transaktion) const {
    QSettings& entwurf = *transaktion.entwurf;
    entwurf.sync();
    if (entwurf.status() != QSettings::NoError) {
        return false;
    }
    QMap<QString, QVariant> gemeint;
    const QStringList alle = entwurf.allKeys();
    for (const QString& name : alle) {
        gemeint.insert(name, entwurf.value(name));
    }

    // Read back under a new name, the draft is parsed from disk, so a file
    // cut short by a full disk is caught here.
    const QString pruefling = transaktion.entwurfsPfad + PrueflingsZusatz;
    if (!umbenennen(transaktion.entwurfsPfad, pruefling) || !enthaeltGenau(pruefling, gemeint)) {
        return false;
    }
    const QFileInfo alt(m_dateipfad);
    if (alt.exists()) {
        QFile::setPermissions(pruefling, alt.permissions());
        spaeterAls(pruefling, alt.lastModified());
    }
    return umbenennen(pruefling, m_dateipfad);
}

void QtEinstellungen::ordnerAnlegen() const {
    const QString ordner = QFileInfo(m_dateipfad).absolutePath();
    if (!QDir().mkpath(ordner)) {
        qWarning().noquote() << "Einstellungen: Ordner" << ordner << "kann nicht angelegt werden";
    }
}

void QtEinstellungen::beschaedigteDateiSichern() const {
    const QString kopie =
        m_dateipfad + SicherungsZusatz + QDateTime::currentDateTime().toString(Zeitstempel);
    if (QFile::copy(m_dateipfad, kopie)) {
        qWarning().noquote() << "Einstellungen: Kopie der beschädigten Datei unter" << kopie;
    } else {
        qWarning().noquote() << "Einstellungen: Kopie der beschädigten Datei nach" << kopie
                             << "misslungen";
    }
}

namespace {

QString fassung(const QString& pfad) {
    const QFileInfo info(pfad);
    return info.lastModified().toString(Qt::ISODateWithMs) + QLatin1Char('/') + QString::number(info.size());
}

} // namespace

void QtEinstellungen::lesestandMerken(int status) const {
    if (status == QSettings::FormatError) {
        m_beschaedigteFassung = fassung(m_dateipfad);
    }
}

bool QtEinstellungen::alsBeschaedigtBekannt() const {
    return !m_beschaedigteFassung.isEmpty() && m_beschaedigteFassung == fassung(m_dateipfad);
}

void QtEinstellungen::leseFehlerMelden(bool beschaedigt) const {
    if (m_leseFehlerGemeldet) {
        return;
    }
    m_leseFehlerGemeldet = true;
    qWarning().noquote() << "Einstellungen: Datei" << m_dateipfad
                         << (beschaedigt ? "ist beschädigt; gelesen wird, was lesbar ist"
                                         : "kann nicht gelesen werden");
}

} // namespace wk

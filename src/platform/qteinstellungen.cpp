// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qteinstellungen.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <utility>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QtDebug>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include "highscore/highscore.h"
#include "platform/sperre.h"

namespace wk {

namespace {

using Uhr = std::chrono::steady_clock;

const QString Anwendungsdatei = QStringLiteral("/Wurfkrone/Wurfkrone.conf");
const QString SperrZusatz = QStringLiteral(".sperre");
const QString EntwurfsZusatz = QStringLiteral(".neu-");
const QString Erledigt = QStringLiteral("Nachtrag/erledigt");  // the ids entered, while a journal still holds them
constexpr std::chrono::milliseconds SperrPauseHoechstens{32};  // between two tries, doubling from 1 ms

void melden(const QString& text) { qWarning().noquote() << "Einstellungen:" << text; }

// The file that `pfad` leads to through symbolic links, or "" for a loop.
QString zielVon(const QString& pfad) {
    QFileInfo info(pfad);
    for (int tiefe = 0; info.isSymLink(); ++tiefe) {
        if (tiefe == 40) return {};
        info.setFile(info.symLinkTarget());
    }
    return info.filePath();
}

bool laeuft(qint64 pid) { return ::kill(pid_t(pid), 0) == 0 || errno != ESRCH; }

// Device, inode, size and times of the file `pfad` leads to; empty when there is none.
std::vector<qint64> dateistand(const QString& pfad) {
    struct stat s{};
    if (::stat(QFile::encodeName(pfad).constData(), &s) != 0) return {};
    return {qint64(s.st_dev), qint64(s.st_ino), qint64(s.st_size), s.st_mtim.tv_sec, s.st_mtim.tv_nsec, s.st_ctim.tv_sec, s.st_ctim.tv_nsec};
}

std::set<std::string> idsAus(const std::string& text) {
    std::set<std::string> ids;
    for (const QString& id : QString::fromStdString(text).split(u' ', Qt::SkipEmptyParts)) ids.insert(id.toStdString());
    return ids;
}

} // namespace

// The store under the lock, on the store's thread: reads the file as it is,
// with the writes made so far.
class QtEinstellungen::Transaktion final : public Eintraege {
public:
    explicit Transaktion(const QtEinstellungen& speicher) : m_speicher(speicher) {}

    std::vector<std::string> lesen(const std::vector<std::string>& schluessel, const std::string& vorgabe) const override {
        return m_speicher.nachlesen(m_werte, schluessel, vorgabe);
    }

    void schreiben(const std::string& abschnitt, const std::string& schluessel, const std::string& wert) override {
        schreiben(abschnitt, schluessel, std::optional(wert));
    }
    // nullopt removes the key.
    void schreiben(const std::string& abschnitt, const std::string& schluessel, const std::optional<std::string>& wert) {
        ini::Eintrag neu{QString::fromStdString(abschnitt), QString::fromStdString(schluessel), wert};
        m_werte[neu.abschnitt + u'/' + neu.schluessel] = wert;
        std::erase_if(m_eintraege, [&](const ini::Eintrag& e) { return e.abschnitt == neu.abschnitt && e.schluessel == neu.schluessel; });
        m_eintraege.push_back(std::move(neu));
    }

    const std::vector<ini::Eintrag>& eintraege() const { return m_eintraege; }
    // Every entry read or written, as it is now: what the store knows of the file.
    const Werte& werte() const { return m_werte; }

    // The entries of werte() that hold a value, to be written into a file anew.
    std::vector<ini::Eintrag> alle() const {
        std::vector<ini::Eintrag> alle;
        for (const auto& [name, wert] : m_werte) {
            if (wert) alle.push_back({name.section(u'/', 0, 0), name.section(u'/', 1), wert});
        }
        return alle;
    }

private:
    const QtEinstellungen& m_speicher;
    mutable Werte m_werte;
    std::vector<ini::Eintrag> m_eintraege;
};

struct QtEinstellungen::Ausgang {
    enum class Art { Gespeichert, Fehlgeschlagen, Abgebrochen } art = Art::Gespeichert;
    std::vector<Auftrag> eingetragen{};  // by this save or before
    bool idsBehalten = false;            // the store keeps ids of work entered
};

QtEinstellungen::QtEinstellungen(QString dateipfad, std::chrono::milliseconds geduld, Sichern sichern)
    : m_dateipfad(std::move(dateipfad)),
      m_geduld(geduld),
      m_sichern(sichern),
      m_journal(m_dateipfad, sichern),
      m_bote(std::make_unique<QObject>()) {}

QtEinstellungen::~QtEinstellungen() {
    {
        const std::lock_guard lage(m_sperre);
        m_ende = true;
    }
    m_wecker.notify_all();
    if (m_thread.joinable()) m_thread.join();
}

QString QtEinstellungen::standardPfad() {
    QString ordner = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (ordner.isEmpty()) {
        ordner = QDir::homePath() + QStringLiteral("/.config");
    }
    return ordner + Anwendungsdatei;
}

QString QtEinstellungen::sperrPfad() const { return m_dateipfad + SperrZusatz; }

ini::Gelesen QtEinstellungen::dateiLesen(const std::vector<QString>& schluessel) const {
    ini::Gelesen gelesen;
    gelesen.werte.resize(schluessel.size());
    const QFileInfo info(m_dateipfad);
    QFile datei(m_dateipfad);
    if (schluessel.empty() || !info.exists()) return gelesen;
    if (!info.isFile() || !datei.open(QIODevice::ReadOnly)) {
        einmalMelden(QStringLiteral("Datei %1 kann nicht gelesen werden").arg(m_dateipfad));
        return gelesen;
    }
    gelesen = ini::lesen(datei, schluessel);
    if (!gelesen.vollstaendig) einmalMelden(QStringLiteral("Datei %1 kann nicht ganz gelesen werden").arg(m_dateipfad));
    if (gelesen.beschaedigt) {
        einmalMelden(QStringLiteral("Datei %1 ist beschädigt; gelesen wird, was lesbar ist, und der Rest bleibt, wie er ist")
                         .arg(m_dateipfad));
    }
    if (gelesen.zuGross) {
        einmalMelden(QStringLiteral("Datei %1 ist größer als %2 MB; gelesen wird ihr Anfang, und beim nächsten Speichern wird sie beiseitegelegt")
                         .arg(m_dateipfad).arg(ini::Obergrenze >> 20));
    }
    return gelesen;
}

std::vector<std::string> QtEinstellungen::nachlesen(Werte& werte, const std::vector<std::string>& schluessel, const std::string& vorgabe) const {
    std::vector<QString> namen, neu;
    for (const std::string& s : schluessel) namen.push_back(QString::fromStdString(s));
    std::copy_if(namen.begin(), namen.end(), std::back_inserter(neu), [&](const QString& n) { return !werte.contains(n); });
    const ini::Gelesen gelesen = dateiLesen(neu);
    for (std::size_t i = 0; i < neu.size(); ++i) werte[neu[i]] = gelesen.werte[i];
    std::vector<std::string> texte;
    for (const QString& name : namen) texte.push_back(werte[name].value_or(vorgabe));
    return texte;
}

std::vector<std::string> QtEinstellungen::lesen(const std::vector<std::string>& schluessel, const std::string& vorgabe) const {
    // Read again when the file changed, by a save of any program or otherwise.
    const std::vector<qint64> stand = dateistand(m_dateipfad);
    const std::lock_guard lage(m_abbildSperre);
    if (m_abbild.stand != stand) m_abbild = {stand, {}};
    return nachlesen(m_abbild.werte, schluessel, vorgabe);
}

std::string QtEinstellungen::vormerken(Auftrag auftrag) {
    auftrag.id = QString::number(QRandomGenerator::system()->generate64(), 36).toStdString();
    auftrag.zeit = QDateTime::currentMSecsSinceEpoch();
    {
        const std::lock_guard lage(m_sperre);
        m_offen.push_back({auftrag});
        m_ruhig = false;
        if (!m_thread.joinable()) m_thread = std::thread([this] { arbeiten(); });
    }
    m_wecker.notify_all();
    return auftrag.id;
}

void QtEinstellungen::nachtragen() {
    // Journals, drafts or a lock that programs before left: the work is to enter, the rest to remove.
    const QFileInfo datei(m_dateipfad);
    const QStringList reste{datei.fileName() + QStringLiteral(".offen-*"), datei.fileName() + EntwurfsZusatz + '*',
                            datei.fileName() + SperrZusatz};
    if (datei.absoluteDir().entryList(reste, QDir::Files | QDir::Hidden | QDir::System).isEmpty()) return;
    {
        const std::lock_guard lage(m_sperre);
        m_nachtragen = true;
        m_ruhig = false;
        if (!m_thread.joinable()) m_thread = std::thread([this] { arbeiten(); });
    }
    m_wecker.notify_all();
}

void QtEinstellungen::anmelden(Beobachter& beobachter) { m_beobachter.push_back(&beobachter); }

void QtEinstellungen::abmelden(Beobachter& beobachter) { std::erase(m_beobachter, &beobachter); }

bool QtEinstellungen::warten(std::chrono::milliseconds frist) {
    std::unique_lock lage(m_sperre);
    return m_fertig.wait_for(lage, frist, [this] { return m_ruhig; });
}

void QtEinstellungen::arbeiten() {
    std::unique_lock lage(m_sperre);
    Uhr::time_point wieder = Uhr::now();  // a save that failed is tried again from then on
    while (true) {
        if (m_journalAlt || m_ende || Uhr::now() < wieder) {  // after a failure, new work waits on disk too
            lage.unlock();
            journalSchreiben();
            lage.lock();
        }
        if (m_ende) return;
        if (m_offen.empty() && !m_nachtragen) {
            m_ruhig = true;
            m_fertig.notify_all();
            m_wecker.wait(lage);
            continue;
        }
        if (Uhr::now() < wieder) {
            m_wecker.wait_until(lage, wieder);
            continue;
        }
        std::vector<Auftrag> eigene;
        for (const Offen& offen : m_offen) eigene.push_back(offen.auftrag);
        lage.unlock();
        const Ausgang ausgang = eintragenVersuchen(eigene);
        if (ausgang.art == Ausgang::Art::Fehlgeschlagen) {
            journalSchreiben();
            verzoegertMelden();
        }
        lage.lock();
        if (ausgang.art == Ausgang::Art::Fehlgeschlagen) {
            wieder = Uhr::now() + m_geduld;
        } else if (ausgang.art == Ausgang::Art::Gespeichert) {
            // Ids kept in the store are dropped by the next save once their journals are gone.
            m_nachtragen = ausgang.idsBehalten;
            std::erase_if(m_offen, [&](const Offen& o) {
                return std::any_of(eigene.begin(), eigene.end(), [&](const Auftrag& a) { return a.id == o.auftrag.id; });
            });
            m_journalAlt = m_journal.vorhanden();
            if (!ausgang.eingetragen.empty()) {
                berichten([eingetragen = ausgang.eingetragen](Beobachter& b) { b.eingetragen(eingetragen); });
            }
        }
    }
}

void QtEinstellungen::journalSchreiben() {
    std::unique_lock lage(m_sperre);
    if (!m_journalAlt && std::all_of(m_offen.begin(), m_offen.end(), [](const Offen& o) { return o.imJournal; })) return;
    std::vector<Auftrag> alle;
    for (const Offen& offen : m_offen) alle.push_back(offen.auftrag);
    lage.unlock();
    const bool geschrieben = m_journal.schreiben(alle);
    lage.lock();
    if (!geschrieben) return;
    m_journalAlt = false;
    for (Offen& offen : m_offen) {
        offen.imJournal = offen.imJournal || std::any_of(alle.begin(), alle.end(), [&](const Auftrag& a) { return a.id == offen.auftrag.id; });
    }
}

void QtEinstellungen::verzoegertMelden() {
    std::vector<Offen> neu;
    {
        const std::lock_guard lage(m_sperre);
        for (Offen& offen : m_offen) {
            if (!offen.gemeldet) neu.push_back(offen);
            offen.gemeldet = true;
        }
    }
    for (const Offen& offen : neu) berichten([offen](Beobachter& b) { b.verzoegert(offen.auftrag, offen.imJournal); });
}

void QtEinstellungen::berichten(std::function<void(Beobachter&)> was) {
    QMetaObject::invokeMethod(m_bote.get(), [this, was = std::move(was)] {
        for (Beobachter* beobachter : std::vector(m_beobachter)) {  // one may leave while another is told
            if (std::find(m_beobachter.begin(), m_beobachter.end(), beobachter) != m_beobachter.end()) was(*beobachter);
        }
    }, Qt::QueuedConnection);
}

QtEinstellungen::Ausgang QtEinstellungen::eintragenVersuchen(const std::vector<Auftrag>& eigene) {
    const QString ordner = QFileInfo(m_dateipfad).absolutePath();
    if (!QDir().mkpath(ordner)) einmalMelden(QStringLiteral("Ordner %1 kann nicht angelegt werden").arg(ordner));
    Sperre sperre(sperrPfad(), ordner);
    const Uhr::time_point anfang = Uhr::now();
    std::vector<qint64> zuletzt{-1};
    std::chrono::milliseconds pause{1};
    for (Sperre::Stand stand = sperre.nehmen(); stand != Sperre::Stand::Gehalten; stand = sperre.nehmen()) {
        if (stand == Sperre::Stand::Unmoeglich) {
            einmalMelden(QStringLiteral("Ordner %1 kann nicht gesperrt werden (%2)").arg(ordner, QString::fromLocal8Bit(std::strerror(errno))));
            return {Ausgang::Art::Fehlgeschlagen};
        }
        journalSchreiben();  // while another program saves, the work waits on disk
        if (Uhr::now() - anfang > m_geduld) verzoegertMelden();
        // Meanwhile the holder may have entered this work.
        if (std::vector<qint64> jetzt = dateistand(m_dateipfad); !eigene.empty() && jetzt != zuletzt) {
            zuletzt = std::move(jetzt);
            const std::set<std::string> erledigt = idsAus(Transaktion(*this).lesen({Erledigt.toStdString()}, "").front());
            if (std::all_of(eigene.begin(), eigene.end(), [&](const Auftrag& a) { return erledigt.contains(a.id); })) return {Ausgang::Art::Gespeichert, eigene};
        }
        std::unique_lock lage(m_sperre);
        if (m_wecker.wait_for(lage, pause, [this] { return m_ende; })) return {Ausgang::Art::Abgebrochen};
        pause = std::min(pause * 2, SperrPauseHoechstens);
    }
    if (sperre.imOrdner()) {
        einmalMelden(QStringLiteral("Sperre %1 kann nicht angelegt werden; gesperrt wird der Ordner %2").arg(sperrPfad(), ordner));
    }

    std::vector<Journal::Gefunden> journale = Journal::alle(m_dateipfad);
    Transaktion transaktion(*this);
    const std::set<std::string> erledigt = idsAus(transaktion.lesen({Erledigt.toStdString()}, "").front());
    std::set<std::string> gesehen, inJournalen;
    Ausgang ausgang;
    std::vector<Auftrag> neu;
    const auto aufnehmen = [&](const Auftrag& auftrag) {
        if (!gesehen.insert(auftrag.id).second) return;
        (erledigt.contains(auftrag.id) ? ausgang.eingetragen : neu).push_back(auftrag);
    };
    std::for_each(eigene.begin(), eigene.end(), aufnehmen);
    for (const Journal::Gefunden& journal : journale) {
        for (const Auftrag& auftrag : journal.auftraege) {
            aufnehmen(auftrag);
            inJournalen.insert(auftrag.id);
        }
    }
    if (!neu.empty() || inJournalen != erledigt) {
        eintragen(transaktion, neu);
        std::string ids;
        for (const std::string& id : inJournalen) ids += (ids.empty() ? "" : " ") + id;
        if (inJournalen != erledigt) {
            transaktion.schreiben(Erledigt.section(u'/', 0, 0).toStdString(), Erledigt.section(u'/', 1).toStdString(),
                                  ids.empty() ? std::nullopt : std::optional(ids));
        }
        ausgang.idsBehalten = !ids.empty();
        if (!speichern(transaktion)) return {Ausgang::Art::Fehlgeschlagen};
        const std::lock_guard lage(m_abbildSperre);
        m_abbild = {dateistand(m_dateipfad), transaktion.werte()};
    }
    for (const Journal::Gefunden& journal : journale) {
        if (journal.verwaist) QFile::remove(journal.pfad);  // every line of it is entered now
    }
    resteEntfernen(zielVon(m_dateipfad));
    ausgang.eingetragen.insert(ausgang.eingetragen.end(), neu.begin(), neu.end());
    return ausgang;
}

bool QtEinstellungen::speichern(const Transaktion& transaktion) const {
    const QString ziel = zielVon(m_dateipfad);
    resteEntfernen(ziel);
    const QFileInfo info(ziel);
    const bool vorhanden = info.exists();
    if (ziel.isEmpty() || (vorhanden && !info.isFile())) {
        einmalMelden(QStringLiteral("%1 ist keine gewöhnliche Datei").arg(m_dateipfad));
        return false;
    }
    if (vorhanden && !(info.isWritable() && info.permissions().testFlag(QFile::WriteOwner))) {
        einmalMelden(QStringLiteral("Datei %1 ist schreibgeschützt").arg(ziel));
        return false;
    }
    QFile alt(ziel);
    if (vorhanden && !alt.open(QIODevice::ReadOnly)) {
        einmalMelden(QStringLiteral("Datei %1 kann nicht gelesen werden").arg(ziel));
        return false;
    }
    const QString entwurfsPfad = ziel + EntwurfsZusatz + QString::number(QCoreApplication::applicationPid());
    QFile entwurf(entwurfsPfad);
    bool ok = entwurf.open(QIODevice::WriteOnly | QIODevice::Truncate);
    ini::Geschrieben geschrieben = ok ? ini::schreiben(vorhanden ? &alt : nullptr, transaktion.eintraege(), entwurf) : ini::Geschrieben::Fehler;
    const bool beiseite = geschrieben == ini::Geschrieben::ZuGross;
    if (beiseite) geschrieben = ini::schreiben(nullptr, transaktion.alle(), entwurf);
    ok = geschrieben == ini::Geschrieben::Ok && entwurf.flush() && m_sichern(entwurf.handle()) == 0;
    entwurf.close();
    if (vorhanden) entwurf.setPermissions(info.permissions());
    const QByteArray zielName = QFile::encodeName(ziel);
    const QByteArray abseits = QFile::encodeName(ziel + QDateTime::currentDateTime().toString(QStringLiteral(".'zu-gross'-yyyyMMdd-hhmmsszzz")));
    if (ok && beiseite) {  // a second name for the old file first, so that the store is never missing
        ok = ::link(zielName.constData(), abseits.constData()) == 0 || ::rename(zielName.constData(), abseits.constData()) == 0;
        melden(QStringLiteral("Datei %1 ist zu groß; sie liegt jetzt unter %2, und die Bestenlisten stehen in einer neuen Datei")
                   .arg(ziel, QFile::decodeName(abseits)));
    }
    ok = ok && entwurf.error() == QFileDevice::NoError && ::rename(QFile::encodeName(entwurfsPfad).constData(), zielName.constData()) == 0;
    if (!ok) {
        QFile::remove(entwurfsPfad);
        einmalMelden(QStringLiteral("Datei %1 konnte nicht gespeichert werden; sie bleibt, wie sie war").arg(ziel));
    }
    return ok;
}

void QtEinstellungen::resteEntfernen(const QString& ziel) const {
    QStringList pfade{m_dateipfad, ziel};  // the old versions put their drafts beside the name given
    pfade.removeDuplicates();
    for (const QString& pfad : std::as_const(pfade)) {
        const QFileInfo datei(pfad);
        const QDir ordner = datei.absoluteDir();
        const QString vorsilbe = datei.fileName() + EntwurfsZusatz;
        const QStringList namen = ordner.entryList({vorsilbe + '*'}, QDir::Files | QDir::Hidden | QDir::System);
        for (const QString& name : namen) {
            qsizetype ende = vorsilbe.size();
            while (ende < name.size() && name[ende].isDigit()) ++ende;
            const qint64 pid = name.sliced(vorsilbe.size(), ende - vorsilbe.size()).toLongLong();
            if (pid > 0 && !laeuft(pid)) QFile::remove(ordner.filePath(name));
        }
    }
    // Earlier versions took their lock with QLockFile, whose guard for taking
    // over a stale lock names its program in the first line.
    QFile waechter(sperrPfad() + QStringLiteral(".rmlock"));
    if (waechter.open(QIODevice::ReadOnly)) {
        const qint64 pid = waechter.readLine(32).trimmed().toLongLong();
        waechter.close();
        if (pid <= 0 || !laeuft(pid)) waechter.remove();
    }
}

void QtEinstellungen::einmalMelden(const QString& text) const {
    const std::lock_guard lage(m_meldeSperre);
    if (!m_gemeldet.contains(text)) {
        m_gemeldet << text;
        melden(text);
    }
}

} // namespace wk

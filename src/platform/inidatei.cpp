// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/inidatei.h"

#include <algorithm>
#include <cstring>
#include <tuple>
#include <utility>

#include <QHash>
#include <QIODevice>
#include <QSet>

#include "platform/iniwerte.h"

namespace wk::ini {

namespace {

constexpr qsizetype Stueck = qsizetype{1} << 20;  // bytes read at a time

bool istLeer(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// One line of the file as QSettings splits the text: it may run over several
// lines of the text inside quotes or after a backslash. [anfang, ende) are its
// bytes in the file; the blanks before it start at `leerAb`, after any comment
// lines. `gleich` is the place of its first "=" outside quotes in `text`, or -1.
struct Zeile {
    qsizetype leerAb = 0;
    qsizetype anfang = 0;
    qsizetype ende = 0;
    QByteArrayView text;
    qsizetype gleich = -1;
};

// Finds the next line in `d` from `pos` and moves `pos` past it, with places
// in `d`; false when only blanks and comments are left.
bool zeileFinden(QByteArrayView d, qsizetype& pos, Zeile& zeile) {
    const qsizetype n = d.size();
    bool inAnfuehrung = false;
    qsizetype& leerAb = zeile.leerAb;
    qsizetype& anfang = zeile.anfang;
    qsizetype& gleich = zeile.gleich;
    gleich = -1;
    leerAb = pos;
    anfang = pos;
    while (anfang < n && istLeer(d[anfang])) ++anfang;
    qsizetype i = anfang;
    while (i < n) {
        const char c = d[i++];
        if (c == '=') {
            if (!inAnfuehrung && gleich == -1) gleich = i - 1;
        } else if (zeilenEnde(c)) {
            if (i == anfang + 1) {
                ++anfang;
            } else if (!inAnfuehrung) {
                --i;
                break;
            }
        } else if (c == '\\') {
            if (i < n) {
                const char e = d[i++];
                if (i < n && zeilenEnde(e) && zeilenEnde(d[i]) && d[i] != e) ++i;
            }
        } else if (c == '"') {
            inAnfuehrung = !inAnfuehrung;
        } else if (c == ';') {
            if (i == anfang + 1) {  // a comment line
                while (i < n && !zeilenEnde(d[i])) ++i;
                leerAb = i;
                while (i < n && istLeer(d[i])) ++i;
                anfang = i;
            } else if (!inAnfuehrung) {
                --i;
                break;
            }
        }
    }
    pos = i;
    zeile.ende = i;
    zeile.text = d.sliced(anfang, i - anfang);
    if (gleich >= 0) gleich -= anfang;
    return i > anfang;
}

// The lines of a file, read in pieces. A line that reaches the end of the
// piece at hand is read again with more of the file behind it.
class Zeilenleser {
public:
    explicit Zeilenleser(QIODevice& datei) : m_datei(datei) {}

    bool naechste(Zeile& zeile) {
        while (true) {
            if (m_pos >= Stueck) {  // moved to the front in place: the buffer keeps its memory
                std::memmove(m_puffer.data(), m_puffer.constData() + m_pos, m_puffer.size() - m_pos);
                m_puffer.resize(m_puffer.size() - m_pos);
                m_basis += m_pos;
                m_pos = 0;
            }
            qsizetype pos = m_pos;
            const bool gefunden = zeileFinden(m_puffer, pos, zeile);
            if (pos == m_puffer.size() && !m_ende) {
                nachladen();
                continue;
            }
            if (!gefunden) return false;
            zeile.leerAb += m_basis;
            zeile.anfang += m_basis;
            zeile.ende += m_basis;
            m_pos = pos;
            return true;
        }
    }

    bool fehler() const { return m_fehler; }
    qsizetype bomLaenge() const { return m_bom; }

private:
    void nachladen() {
        const qsizetype vorher = m_puffer.size();
        const qsizetype mehr = std::max(Stueck, vorher);  // doubles for a line longer than a piece
        m_puffer.resize(vorher + mehr);
        const qint64 gelesen = m_datei.read(m_puffer.data() + vorher, mehr);
        m_fehler = gelesen < 0;
        m_ende = gelesen <= 0;
        m_puffer.resize(vorher + std::max<qint64>(gelesen, 0));
        if (m_basis == 0 && vorher < Bom.size() && m_puffer.startsWith(Bom)) {
            m_bom = Bom.size();
            m_pos = Bom.size();
        }
    }

    QIODevice& m_datei;
    QByteArray m_puffer;
    qsizetype m_basis = 0;  // place in the file of m_puffer[0]
    qsizetype m_pos = 0;    // in m_puffer
    qsizetype m_bom = 0;
    bool m_ende = false;
    bool m_fehler = false;
};

// The section a line "[...]" opens: "" for [General].
QString abschnittAus(QByteArrayView zeile, bool& beschaedigt) {
    qsizetype klammer = zeile.indexOf(']');
    if (klammer < 0) {
        beschaedigt = true;
        klammer = zeile.size();
    }
    const QByteArrayView name = zeile.first(klammer).sliced(1).trimmed();
    if (name.compare("general", Qt::CaseInsensitive) == 0) return {};
    if (name.compare("%general", Qt::CaseInsensitive) == 0) return QString::fromLatin1(name.sliced(1));
    return nameLesen(name);
}

QString voll(const QString& abschnitt, const QString& schluessel) {
    return abschnitt.isEmpty() ? schluessel : abschnitt + u'/' + schluessel;
}

// The sections whose lines can hold one of these keys: "" and each part of a
// key before a "/".
QSet<QString> abschnitteFuer(const QList<QString>& schluessel) {
    QSet<QString> abschnitte{QString()};
    for (const QString& name : schluessel) {
        for (qsizetype strich = name.indexOf(u'/'); strich >= 0; strich = name.indexOf(u'/', strich + 1)) {
            abschnitte.insert(name.first(strich));
        }
    }
    return abschnitte;
}

QByteArray kopfText(const QString& abschnitt) {
    const QByteArray name = nameText(abschnitt);
    if (name.isEmpty()) return "[General]";
    return name.compare("general", Qt::CaseInsensitive) == 0 ? "[%" + name + "]" : "[" + name + "]";
}

// The text written, counting the line breaks at its end.
class Ausgabe {
public:
    explicit Ausgabe(QIODevice& neu) : m_neu(neu) {}

    void text(QByteArrayView t) {
        if (t.isEmpty()) return;
        roh(t);
        qsizetype umbrueche = 0;
        while (umbrueche < 2 && umbrueche < t.size() && t[t.size() - 1 - umbrueche] == '\n') ++umbrueche;
        m_umbrueche = umbrueche == t.size() ? std::min(2, m_umbrueche + int(umbrueche)) : int(umbrueche);
        m_leer = false;
    }

    // Bytes that count as nothing written yet (a byte-order mark).
    void roh(QByteArrayView t) { m_ok = m_ok && m_neu.write(t.data(), t.size()) == t.size(); }

    // Ends what was written with `n` line breaks, unless nothing was written.
    void absatz(int n) {
        while (!m_leer && m_umbrueche < n) text("\n");
    }

    bool ok() const { return m_ok; }

private:
    QIODevice& m_neu;
    bool m_ok = true;
    bool m_leer = true;
    int m_umbrueche = 0;
};

} // namespace

Gelesen lesen(QIODevice& datei, const QString& abschnitt, const std::vector<QString>& schluessel) {
    QHash<QString, int> gesucht;
    for (std::size_t i = 0; i < schluessel.size(); ++i) gesucht.insert(voll(abschnitt, schluessel[i]), int(i));
    const QSet<QString> abschnitte = abschnitteFuer(gesucht.keys());
    Gelesen gelesen;
    gelesen.werte.resize(schluessel.size());
    std::vector<qsizetype> tiefe(schluessel.size(), -1);  // of the section the value came from
    Zeilenleser leser(datei);
    QString aktuell;
    bool betrifft = true;
    Zeile zeile;
    while (leser.naechste(zeile)) {
        if (zeile.text.startsWith('[')) {
            aktuell = abschnittAus(zeile.text, gelesen.beschaedigt);
            betrifft = abschnitte.contains(aktuell);
        } else if (zeile.gleich < 0) {
            gelesen.beschaedigt = true;
        } else if (betrifft) {
            const auto treffer = gesucht.constFind(voll(aktuell, nameLesen(zeile.text.first(zeile.gleich))));
            if (treffer != gesucht.constEnd() && aktuell.size() >= tiefe[*treffer]) {
                tiefe[*treffer] = aktuell.size();
                gelesen.werte[*treffer] = wertLesen(zeile.text.sliced(zeile.gleich + 1));
            }
        }
    }
    gelesen.vollstaendig = !leser.fehler();
    return gelesen;
}

bool schreiben(QIODevice* alt, const std::vector<Eintrag>& eintraege, QIODevice& neu) {
    QList<QString> abschnitte;  // written, in the order of their first entry
    QSet<QString> geschrieben;
    for (const Eintrag& eintrag : eintraege) {
        if (!abschnitte.contains(eintrag.abschnitt)) abschnitte << eintrag.abschnitt;
        geschrieben.insert(voll(eintrag.abschnitt, eintrag.schluessel));
    }
    const QSet<QString> betroffen = abschnitteFuer(geschrieben.values());

    // The steps through the old text: where each section written goes (at
    // its first heading, a new one before the first heading of the file), and
    // the lines that go (those of the keys written, and the heading of a
    // section written left without lines).
    struct Schritt {
        qsizetype stelle;
        qsizetype ende;
        qsizetype abschnitt;  // -1: leave out [stelle, ende); abschnitte.size(): "[General]"
    };
    std::vector<Schritt> schritte;
    std::vector<qsizetype> stelle(abschnitte.size(), -1);
    qsizetype ersterKopf = -1, bom = 0;
    bool ohneAbschnitt = false;  // lines outside every section remain
    if (alt != nullptr) {
        Zeilenleser leser(*alt);
        QString aktuell;
        Schritt kopf{0, 0, -1};
        bool leer = false, beschaedigt = false;
        const auto blockEnde = [&] {
            if (abschnitte.contains(aktuell) && leer) schritte.push_back(kopf);
        };
        Zeile zeile;
        while (leser.naechste(zeile)) {
            if (zeile.text.startsWith('[')) {
                blockEnde();
                aktuell = abschnittAus(zeile.text, beschaedigt);
                kopf = {zeile.leerAb, zeile.ende, -1};
                leer = true;
                ersterKopf = ersterKopf < 0 ? zeile.anfang : ersterKopf;
                const qsizetype i = abschnitte.indexOf(aktuell);
                if (i >= 0 && stelle[i] < 0) stelle[i] = zeile.anfang;
            } else if (zeile.gleich >= 0 && betroffen.contains(aktuell) &&
                       geschrieben.contains(voll(aktuell, nameLesen(zeile.text.first(zeile.gleich))))) {
                schritte.push_back({zeile.leerAb, zeile.ende, -1});
            } else {
                leer = false;
                ohneAbschnitt = ohneAbschnitt || ersterKopf < 0;
            }
        }
        blockEnde();
        if (leser.fehler() || !alt->seek(0)) return false;
        bom = leser.bomLaenge();
    }
    const qsizetype neueStelle = ersterKopf >= 0 ? ersterKopf : bom;
    for (qsizetype i = 0; i < abschnitte.size(); ++i) schritte.push_back({stelle[i] < 0 ? neueStelle : stelle[i], 0, i});
    if (ersterKopf < 0 && ohneAbschnitt) schritte.push_back({bom, 0, abschnitte.size()});  // they stay outside
    std::sort(schritte.begin(), schritte.end(), [](const Schritt& a, const Schritt& b) {
        return std::tuple(a.stelle, a.abschnitt < 0, a.abschnitt) < std::tuple(b.stelle, b.abschnitt < 0, b.abschnitt);
    });

    Ausgabe ausgabe(neu);
    ausgabe.roh(Bom.first(bom));
    qsizetype pos = bom;
    bool ok = alt == nullptr || alt->seek(bom);
    int umbrueche = 0;  // after new lines: the old text follows without its blanks, after so many line breaks
    const auto kopieren = [&](qsizetype bis) {  // the old text from pos to `bis` (-1: the end)
        QByteArray stueck;
        while (ok && alt != nullptr && (bis < 0 || pos < bis)) {
            stueck.resize(bis < 0 ? Stueck : std::min(Stueck, bis - pos));
            const qint64 gelesen = alt->read(stueck.data(), stueck.size());
            ok = gelesen > 0 || (gelesen == 0 && bis < 0);
            if (gelesen <= 0) break;
            pos += gelesen;
            QByteArrayView text = QByteArrayView(stueck).first(gelesen);
            while (umbrueche > 0 && !text.isEmpty() && istLeer(text.front())) text = text.sliced(1);
            if (umbrueche > 0 && !text.isEmpty()) {
                ausgabe.absatz(umbrueche);
                umbrueche = 0;
            }
            ausgabe.text(text);
        }
    };
    for (const Schritt& schritt : schritte) {
        kopieren(schritt.stelle);
        if (schritt.abschnitt < 0) {
            pos = schritt.ende;
            ok = ok && alt->seek(pos);
            continue;
        }
        ausgabe.absatz(2);
        if (schritt.abschnitt == abschnitte.size()) {
            ausgabe.text("[General]\n");
            umbrueche = 1;
            continue;
        }
        const QString& abschnitt = abschnitte[schritt.abschnitt];
        ausgabe.text(kopfText(abschnitt) + '\n');
        for (const Eintrag& eintrag : eintraege) {
            if (eintrag.abschnitt == abschnitt) ausgabe.text(nameText(eintrag.schluessel) + '=' + wertText(eintrag.wert) + '\n');
        }
        umbrueche = 2;
    }
    kopieren(-1);
    return ok && ausgabe.ok();
}

} // namespace wk::ini

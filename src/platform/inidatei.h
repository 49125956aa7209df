// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QString>

class QIODevice;

// The text of a settings file in the INI format of QSettings (IniFormat, as
// Qt 6 reads and writes it), read and written line by line.
//
// Reading follows QSettings' rules to the letter: sections and keys with their
// %-escapes, "\" in a key as "/", [General], quotes that may span lines,
// escapes, comments after ";", an unquoted comma making a list, "@" types, a
// byte-order mark at the start of the file. A key that is given twice has the
// value of its last line; a value in a section outweighs the same key written
// under [General] ("Highscore1\1=5"). Bounded work for any file: it is read
// in pieces, at most its first Obergrenze bytes, and memory holds one piece,
// at most LaengsteZeile bytes of the line at hand and the entries asked for.
//
// Writing changes only the lines of the entries written; every other byte of
// the file stays as it was (other sections, comments, lines QSettings cannot
// read, values this program could not write back exactly). A section's new
// lines go where it first stood, a new section goes before the first section
// of the file. QSettings, and so every earlier version of this program, reads
// the result as before, with the new values.
namespace wk::ini {

// Read of a file at most: a store of the lists is a few KB, and its four
// lists with names as long as the input box takes stay under 11 MB. Reading
// this much takes the window's thread about 35 ms on a busy machine.
inline constexpr qint64 Obergrenze = qint64{16} << 20;
// Held of a line at most: far more than the longest name the input box takes
// (32,767 characters, each written in at most 4 bytes); a longer value reads
// as its first bytes.
inline constexpr qsizetype LaengsteZeile = qsizetype{256} << 10;

// One entry to be written. `wert` is UTF-8 text, or any bytes; nullopt
// removes the key.
struct Eintrag {
    QString abschnitt;
    QString schluessel;
    std::optional<std::string> wert;
};

struct Gelesen {
    // One per key asked for: its text, or nullopt when the key is missing or
    // holds no text. A list of texts reads as its elements joined by ", ", a
    // byte array as its bytes, a lone UTF-16 surrogate as "?"; other types
    // ("@Point(1 2)", a number given as "@Variant(...)") hold no text.
    std::vector<std::optional<std::string>> werte;
    bool vollstaendig = true;  // false when the device failed before the end
    bool beschaedigt = false;  // lines QSettings cannot read were skipped
    bool zuGross = false;      // the file is longer than Obergrenze; the rest was not read
};

// The values of `schluessel`, each "Abschnitt/Schlüssel" as QSettings names it.
Gelesen lesen(QIODevice& datei, const std::vector<QString>& schluessel);

enum class Geschrieben { Ok, Fehler, ZuGross };

// Writes the text of `alt` (nullptr: no file yet) with `eintraege` set, the
// sections in the order of their first entry and the keys in the order given,
// to `neu`. Fehler when reading `alt` or writing `neu` failed; ZuGross, with
// nothing written, when `alt` is longer than Obergrenze.
Geschrieben schreiben(QIODevice* alt, const std::vector<Eintrag>& eintraege, QIODevice& neu);

} // namespace wk::ini

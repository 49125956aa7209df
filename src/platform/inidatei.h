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
// under [General] ("Highscore1\1=5"). The file is read in pieces: memory holds
// the line at hand and the entries asked for, whatever the size of the file.
//
// Writing changes only the lines of the entries written; every other byte of
// the file stays as it was (other sections, comments, lines QSettings cannot
// read, values this program could not write back exactly). A section's new
// lines go where it first stood, a new section goes before the first section
// of the file. QSettings, and so every earlier version of this program, reads
// the result as before, with the new values.
namespace wk::ini {

// One entry to be written. `wert` is UTF-8 text, or any bytes.
struct Eintrag {
    QString abschnitt;
    QString schluessel;
    std::string wert;
};

struct Gelesen {
    // One per key asked for: its text, or nullopt when the key is missing or
    // holds no text. A list of texts reads as its elements joined by ", ", a
    // byte array as its bytes, a lone UTF-16 surrogate as "?"; other types
    // ("@Point(1 2)", a number given as "@Variant(...)") hold no text.
    std::vector<std::optional<std::string>> werte;
    bool vollstaendig = true;  // false when the device failed before the end
    bool beschaedigt = false;  // lines QSettings cannot read were skipped
};

Gelesen lesen(QIODevice& datei, const QString& abschnitt, const std::vector<QString>& schluessel);

// Writes the text of `alt` (nullptr: no file yet) with `eintraege` set, the
// sections in the order of their first entry and the keys in the order given,
// to `neu`. False when reading `alt` or writing `neu` failed.
bool schreiben(QIODevice* alt, const std::vector<Eintrag>& eintraege, QIODevice& neu);

} // namespace wk::ini

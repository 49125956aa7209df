#pragma once

#include <string>
#include <string_view>

#include <QString>

// What the fuzz targets check for one input. Shared with tst_fuzzkorpus, which
// runs the kept inputs through the same checks in the normal test run. Each
// function returns what went wrong, or an empty text when all holds.
namespace wk::fuzz {

// Writes `datei` as the settings file into a fresh folder below `ordner`
// (which must exist and is left as it was), then:
// - shows all four lists through Highscore over QtEinstellungen: every place
//   shows a finite whole number of points;
// - enters a game of one Runde with one player through Highscore::Auswertung;
// - reads the four lists back through a fresh QtEinstellungen: the list of
//   one Runde is the one Auswertung holds in memory (names without blanks at
//   the ends, points rounded), the other three are as they were shown before.
std::string einstellungenPruefen(std::string_view datei, const QString& ordner);

// The leading-number rule on `text`: zahlAusText gives a finite number, the
// same one when more text follows, the value of a plain decimal number of up
// to 15 digits exactly, and zahlAlsText writes it so that it reads back
// rounded. When `text` holds at least 8 bytes, they are also taken as a
// double for zahlAlsText: a finite one reads back rounded, any other as 0.
std::string zahltextPruefen(std::string_view text);

} // namespace wk::fuzz

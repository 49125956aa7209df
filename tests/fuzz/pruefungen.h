#pragma once

#include <string>
#include <string_view>

#include <QString>

// What the fuzz targets check for one input. Shared with tst_fuzzkorpus, which
// runs the kept inputs through the same checks in the normal test run. Each
// function returns what went wrong, or an empty text when all holds.
namespace wk::fuzz {

// Writes `datei` as the settings file into a fresh folder below `ordner`
// (which must exist and is left as it was), then twice, the second time on
// the file as saved: shows all four lists through Highscore over
// QtEinstellungen, every place holding finite points, and enters a game of
// one Runde through Highscore::Auswertung. Must not crash.
std::string einstellungenPruefen(std::string_view datei, const QString& ordner);

// The leading-number rule on `text`: zahlAusText gives a finite number, the
// same one when more text follows, and for a plain decimal number of up to 15
// digits the correctly rounded value. zahlAlsText writes that number, and the
// first 8 bytes of `text` taken as a double, as a whole number that reads
// back rounded (0 for a double that is not finite).
std::string zahltextPruefen(std::string_view text);

} // namespace wk::fuzz

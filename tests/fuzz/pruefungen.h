// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>

#include <QString>

// What the fuzz targets check for one input, shared with tst_fuzzkorpus, which
// runs the kept inputs through them. Each returns what went wrong, or "".
namespace wk::fuzz {

// `datei` as the settings file in a fresh folder below `ordner`: the store
// reads all four lists as QSettings does, shows them (every place with finite
// points) and enters a game of one Runde; after that QSettings reads every
// other entry as before, and all is checked again on the file as saved.
// Must not crash.
std::string einstellungenPruefen(std::string_view datei, const QString& ordner);

// zahlAusText gives a finite number, the same when more text follows, and for
// a plain decimal number of up to 15 digits the correctly rounded value;
// zahlAlsText writes it, and the first 8 bytes taken as a double, as a whole
// number that reads back rounded (0 for one that is not finite).
std::string zahltextPruefen(std::string_view text);

} // namespace wk::fuzz

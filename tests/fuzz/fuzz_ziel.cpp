// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// The libFuzzer targets: fuzz_einstellungen takes the input as the settings
// file, fuzz_zahltext (built with FUZZ_ZAHLTEXT) as a text for the
// leading-number rule. An input that breaks a check of pruefungen.h aborts.

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <QDir>
#include <QTemporaryDir>

#include "pruefungen.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Damaged files are the point here; their warnings would drown the log.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    const std::string_view eingabe(reinterpret_cast<const char*>(daten), groesse);
#ifdef FUZZ_ZAHLTEXT
    const std::string fehler = wk::fuzz::zahltextPruefen(eingabe);
#else
    // In memory if possible: the store syncs every file it writes to disk,
    // which on a real disk would make this a hundred times slower.
    static const QTemporaryDir ordner(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/wurfkrone-fuzz-XXXXXX") : QString());
    const std::string fehler = wk::fuzz::einstellungenPruefen(eingabe, ordner.path());
#endif
    if (!fehler.empty()) {
        std::fprintf(stderr, "%s", fehler.c_str());
        std::abort();
    }
    return 0;
}

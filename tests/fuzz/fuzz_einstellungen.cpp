// libFuzzer target: the input is the settings file; see
// wk::fuzz::einstellungenPruefen for what must hold.

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <QDir>
#include <QTemporaryDir>
#include <QtGlobal>

#include "pruefungen.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Damaged files are the point here; their warnings would drown the log.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    // In memory if possible: the store syncs every file it writes to disk,
    // which on a real disk would make this a hundred times slower.
    static const QTemporaryDir ordner(QDir(QStringLiteral("/dev/shm")).exists()
                                          ? QStringLiteral("/dev/shm/wurfkrone-fuzz-XXXXXX")
                                          : QString());
    const std::string fehler = wk::fuzz::einstellungenPruefen(
        std::string_view(reinterpret_cast<const char*>(daten), groesse), ordner.path());
    if (!fehler.empty()) {
        std::fprintf(stderr, "%s", fehler.c_str());
        std::abort();
    }
    return 0;
}

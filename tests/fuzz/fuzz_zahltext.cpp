// libFuzzer target: the input is a text for the leading-number rule; see
// wk::fuzz::zahltextPruefen for what must hold.

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "pruefungen.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    const std::string fehler =
        wk::fuzz::zahltextPruefen(std::string_view(reinterpret_cast<const char*>(daten), groesse));
    if (!fehler.empty()) {
        std::fprintf(stderr, "%s", fehler.c_str());
        std::abort();
    }
    return 0;
}

// Test helper, not part of the game: enters results into a highscore file
// through Highscore::Auswertung, one game of one player per result, so that
// every result is a transaction of its own.
//
//   eintragen_helfer DATEI RUNDEN [--start STARTDATEI] NAME=PUNKTE...
//
// With --start it prints "bereit" once it is ready and waits until
// STARTDATEI exists, so that several helpers can be let go at one moment.
// Exit code 0 when every result was handed over, 2 on a usage error, 3 when
// the start file never came.

#include <chrono>
#include <filesystem>
#include <iostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <QString>

#include "game/zahltext.h"
#include "highscore/highscore.h"
#include "platform/qteinstellungen.h"

namespace {

class MeldungAufStderr final : public wk::Meldung {
public:
    void zeigen(const std::string& text) override { std::cerr << text << '\n'; }
};

int benutzung() {
    std::cerr << "usage: eintragen_helfer DATEI RUNDEN [--start STARTDATEI] NAME=PUNKTE...\n";
    return 2;
}

bool warteAuf(const std::filesystem::path& startdatei) {
    const auto ende = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!std::filesystem::exists(startdatei)) {
        if (std::chrono::steady_clock::now() > ende) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() < 2) {
        return benutzung();
    }
    std::size_t naechstes = 2;
    std::string startdatei;
    if (args.size() >= 4 && args[2] == "--start") {
        startdatei = args[3];
        naechstes = 4;
    }
    std::vector<std::pair<std::string, double>> ergebnisse;
    for (std::size_t i = naechstes; i < args.size(); ++i) {
        const auto gleich = args[i].rfind('=');
        if (gleich == std::string::npos) {
            return benutzung();
        }
        ergebnisse.emplace_back(args[i].substr(0, gleich), wk::zahlAusText(args[i].substr(gleich + 1)));
    }

    // The game waits 5 s for another program's transaction and then goes on
    // without the lock; on a busy test machine four programs could wait that
    // long, and the test is about the lock, not about that way out.
    wk::QtEinstellungen einstellungen(QString::fromStdString(args[0]), std::chrono::minutes(1));
    MeldungAufStderr meldung;
    wk::Highscore highscore(einstellungen, meldung);
    if (!startdatei.empty()) {
        std::cout << "bereit" << std::endl;
        if (!warteAuf(startdatei)) {
            return 3;
        }
    }
    for (const auto& [name, punkte] : ergebnisse) {
        wk::Spielstand stand;
        stand.Runden = static_cast<int>(wk::zahlAusText(args[1]));
        stand.spielerAnlegen(1);
        stand.Namen[1] = name;
        stand.Gesamtpunkte[1] = punkte;
        highscore.Auswertung(stand);
    }
    return 0;
}

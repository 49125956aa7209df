// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "befehlszeile.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

namespace wk {
namespace {

// The options QGuiApplication and QApplication take from the command line,
// and whether each is followed by a value.
struct QtOption {
    const char* name;
    bool mitWert;
};
constexpr QtOption QtOptionen[] = {
    {"platform", true}, {"platformpluginpath", true}, {"platformtheme", true}, {"plugin", true},
    {"qwindowgeometry", true}, {"qwindowicon", true}, {"qwindowtitle", true}, {"session", true},
    {"display", true}, {"geometry", true}, {"style", true}, {"stylesheet", true},
    {"qmljsdebugger", true}, {"reverse", false}, {"widgetcount", false}, {"nograb", false},
    {"dograb", false}, {"sync", false},
};

} // namespace

void befehlszeileLesen(int& argc, char** argv) {
    if (argc < 2) {
        return;
    }
    // A QCoreApplication needs no display; it names the program in the usage line.
    const QCoreApplication kern(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Würfelspiel für ein bis sechs Spieler an einem Rechner, mit Highscore-Listen.\n"
                       "„man wurfkrone“ beschreibt Spiel, Tasten und Dateien."));
    // Qt's options are single words after one dash ("-style fusion").
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();
    parser.addVersionOption();
    for (const QtOption& o : QtOptionen) {
        QCommandLineOption option(QString::fromLatin1(o.name));
        if (o.mitWert) {
            option.setValueName(QStringLiteral("wert"));
        }
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    parser.process(kern);  // ends the program on --help, --version or an unknown option
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "%s: Unexpected argument '%s'.\n", qPrintable(QCoreApplication::applicationName()),
                     qPrintable(parser.positionalArguments().constFirst()));
        std::exit(EXIT_FAILURE);
    }
}

} // namespace wk

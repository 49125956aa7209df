// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// A program measured from outside, on Linux: started with its standard output
// to a pipe, its lines read as they come, its threads' CPU time, context
// switches and memory read from /proc, and perf asked to count its wake-ups.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace messung {

struct Zaehler {
    long ticks = 0;       // utime + stime
    long wechsel = 0;     // voluntary + nonvoluntary context switches
};

// The number after `schluessel` in `text`, 0 when it is not there.
long zahlNach(const std::string& text, const std::string& schluessel);
std::string lies(const std::filesystem::path& pfad);

// Per thread of the process: CPU ticks and context switches.
std::map<int, Zaehler> zaehlerJeFaden(pid_t pid);
// The sum over threads of what came between two readings; threads new since
// `vorher` count from 0.
Zaehler unterschied(const std::map<int, Zaehler>& vorher, const std::map<int, Zaehler>& nachher);
// CPU time of all threads so far, in ms, from /proc/<pid>/task/*/schedstat.
double cpuMs(pid_t pid);
double rssMb(pid_t pid);

// Starts `befehl` (searched on PATH) with standard output to the descriptor
// `ausgabe` (-1: inherited) and standard error to /dev/null.
pid_t starteProzess(const std::vector<std::string>& befehl, int ausgabe);
// The exit code, -1 when the program did not exit by itself.
int warteAuf(pid_t pid);
// SIGTERM, then SIGKILL after a second; the process is reaped.
void beende(pid_t pid);

// The child's standard output, read line by line as it comes. Every line is
// "<schluessel> <ns>[ <text>]", <ns> a steady-clock time; each key comes once.
class Ausgabe {
public:
    explicit Ausgabe(int lesen) : m_lesen(lesen) {}

    // Waits up to `sekunden` for the line of `schluessel` (or finds it among
    // those read before) and returns its <ns>.
    std::optional<long long> warteAuf(const std::string& schluessel, int sekunden);
    // The same, returning what follows the key: "<ns>[ <text>]".
    std::optional<std::string> zeile(const std::string& schluessel, int sekunden);

private:
    int m_lesen;
    std::string m_puffer;
    std::map<std::string, std::string> m_gelesen;  // by key: what follows it
};

bool perfVorhanden();
// Idles `sekunden` while perf counts the context switches of every thread of `pid`.
std::optional<long> perfLeerlauf(pid_t pid, int sekunden);

} // namespace messung

// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "prozess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace messung {

using Uhr = std::chrono::steady_clock;

long zahlNach(const std::string& text, const std::string& schluessel) {
    const auto pos = text.find(schluessel);
    return pos == std::string::npos ? 0 : std::atol(text.c_str() + pos + schluessel.size());
}

std::string lies(const std::filesystem::path& pfad) {
    std::ifstream ein(pfad);
    std::stringstream s;
    s << ein.rdbuf();
    return s.str();
}

std::map<int, Zaehler> zaehlerJeFaden(pid_t pid) {
    std::map<int, Zaehler> faeden;
    std::error_code fehler;
    const std::filesystem::path aufgaben = "/proc/" + std::to_string(pid) + "/task";
    for (const auto& eintrag : std::filesystem::directory_iterator(aufgaben, fehler)) {
        const int tid = std::atoi(eintrag.path().filename().c_str());
        const std::string stat = lies(eintrag.path() / "stat");
        const auto klammer = stat.rfind(')');
        if (klammer == std::string::npos) {
            continue;
        }
        // Fields after the command name: 3 state ... 14 utime, 15 stime.
        std::istringstream felder(stat.substr(klammer + 2));
        std::vector<std::string> f;
        for (std::string w; felder >> w;) {
            f.push_back(w);
        }
        if (f.size() < 13) {
            continue;
        }
        const std::string status = lies(eintrag.path() / "status");
        faeden[tid] = {std::atol(f[11].c_str()) + std::atol(f[12].c_str()),
                       zahlNach(status, "\nvoluntary_ctxt_switches:") +
                           zahlNach(status, "\nnonvoluntary_ctxt_switches:")};
    }
    return faeden;
}

Zaehler unterschied(const std::map<int, Zaehler>& vorher, const std::map<int, Zaehler>& nachher) {
    Zaehler d;
    for (const auto& [tid, n] : nachher) {
        const auto v = vorher.find(tid);
        const Zaehler basis = v == vorher.end() ? Zaehler{} : v->second;
        d.ticks += n.ticks - basis.ticks;
        d.wechsel += n.wechsel - basis.wechsel;
    }
    return d;
}

double cpuMs(pid_t pid) {
    double ns = 0;
    std::error_code fehler;
    for (const auto& eintrag :
         std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", fehler)) {
        ns += std::atof(lies(eintrag.path() / "schedstat").c_str());
    }
    return ns / 1e6;
}

double rssMb(pid_t pid) {
    return zahlNach(lies("/proc/" + std::to_string(pid) + "/status"), "\nVmRSS:") / 1024.0;
}

pid_t starteProzess(const std::vector<std::string>& befehl, int ausgabe) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (ausgabe >= 0) {
            dup2(ausgabe, STDOUT_FILENO);
        }
        const int leer = open("/dev/null", O_WRONLY);
        dup2(leer, STDERR_FILENO);
        std::vector<char*> argv;
        for (const std::string& a : befehl) {
            argv.push_back(const_cast<char*>(a.c_str()));
        }
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

int warteAuf(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void beende(pid_t pid) {
    kill(pid, SIGTERM);
    for (int i = 0; i < 50; ++i) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid, SIGKILL);
    warteAuf(pid);
}

std::optional<long long> Ausgabe::warteAuf(const std::string& schluessel, int sekunden) {
    const auto rest = zeile(schluessel, sekunden);
    return rest ? std::optional(std::atoll(rest->c_str())) : std::nullopt;
}

std::optional<std::string> Ausgabe::zeile(const std::string& schluessel, int sekunden) {
    const auto ende = Uhr::now() + std::chrono::seconds(sekunden);
    while (true) {
        for (auto zeilenende = m_puffer.find('\n'); zeilenende != std::string::npos;
             zeilenende = m_puffer.find('\n')) {
            const std::string z = m_puffer.substr(0, zeilenende);
            m_puffer.erase(0, zeilenende + 1);
            const auto leer = z.find(' ');
            if (leer != std::string::npos) {
                m_gelesen.emplace(z.substr(0, leer), z.substr(leer + 1));
            }
        }
        if (const auto gefunden = m_gelesen.find(schluessel); gefunden != m_gelesen.end()) {
            return gefunden->second;
        }
        if (Uhr::now() >= ende) {
            return std::nullopt;
        }
        pollfd p{m_lesen, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) {
            continue;
        }
        char block[256];
        const ssize_t n = read(m_lesen, block, sizeof block);
        if (n <= 0) {
            return std::nullopt;
        }
        m_puffer.append(block, static_cast<std::size_t>(n));
    }
}

bool perfVorhanden() {
    static const bool vorhanden = [] {
        const pid_t pid = starteProzess({"perf", "stat", "-x,", "-e", "context-switches", "true"}, -1);
        return warteAuf(pid) == 0;
    }();
    return vorhanden;
}

std::optional<long> perfLeerlauf(pid_t pid, int sekunden) {
    const std::string datei = "/tmp/wk-perf-" + std::to_string(getpid()) + ".csv";
    const pid_t perf = starteProzess({"perf", "stat", "-x,", "-o", datei, "-e", "context-switches", "-p",
                                      std::to_string(pid), "--", "sleep", std::to_string(sekunden)},
                                     -1);
    if (warteAuf(perf) != 0) {
        std::filesystem::remove(datei);
        return std::nullopt;
    }
    std::istringstream zeilen(lies(datei));
    std::filesystem::remove(datei);
    for (std::string zeile; std::getline(zeilen, zeile);) {
        if (zeile.find("context-switches") == std::string::npos) {
            continue;
        }
        // "<not counted>" means no thread ran at all in the interval.
        return zeile.rfind("<not counted>", 0) == 0 ? 0 : std::atol(zeile.c_str());
    }
    return std::nullopt;
}

} // namespace messung

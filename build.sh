#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Orwen
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds Wurfkrone and plays it or tests it, on Debian 12 or later.
#   ./build.sh play   install what is missing, build, start the game
#   ./build.sh test   install what is missing, build, check every file's
#                     licence (reuse lint), run every test, then
#                     build and run them again, but for the install checks,
#                     under AddressSanitizer and UndefinedBehaviorSanitizer
#                     (in "<build dir>-asan")
#   ./build.sh fuzz [seconds]   build the libFuzzer targets with clang (in
#                     "<build dir>-fuzz") and run each for that long (60)
set -euo pipefail

cd "$(dirname "$0")"
aufgabe="${1:-play}"
build_dir="${BUILD_DIR:-build}"

# Debian packages the game needs to build, run and be tested.
pakete=(build-essential cmake mold qt6-base-dev qt6-base-private-dev qt6-svg-dev libgl-dev fonts-liberation2 fonts-dejavu-core desktop-file-utils appstream)

# The tests check every file's licence with reuse, and the Debian package with
# lintian (installed once: about 45 s and 130 small packages, mostly Perl).
if [[ $aufgabe == test ]]; then
    pakete+=(reuse lintian)
fi
# The fuzz targets need clang and its libFuzzer.
if [[ $aufgabe == fuzz ]]; then
    pakete+=(clang-14 libclang-rt-14-dev)
fi

fehlende=()
for paket in "${pakete[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$paket" 2>/dev/null | grep -q "install ok installed"; then
        fehlende+=("$paket")
    fi
done
if ((${#fehlende[@]})); then
    echo "Installing missing packages: ${fehlende[*]}"
    sudo_cmd=()
    if [[ $(id -u) -ne 0 ]]; then
        sudo_cmd=(sudo)
    fi
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${fehlende[@]}"
fi

jobs="$(nproc 2>/dev/null || echo 2)"
if [[ $aufgabe != fuzz ]]; then
    cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build_dir" -j "$jobs"
fi

case "$aufgabe" in
    play)
        exec "$build_dir/src/app/wurfkrone"
        ;;
    test)
        # Every file names its licence (REUSE): a new file without one fails here.
        reuse lint --quiet || { reuse lint | tail -n 25; exit 1; }
        # Every test once more under AddressSanitizer (leaks included) and
        # UndefinedBehaviorSanitizer; the first fault stops the test that hit it.
        # The install checks run once: they look at the installed files only.
        # That build compiles while the first build's tests run, twice as many
        # at once as there are cores: they wait on timers, on the programs they
        # start or on lintian for much of their time. Its output is shown when
        # it fails.
        asan_dir="${build_dir}-asan"
        cmake -S . -B "$asan_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWURFKRONE_SANITIZE=ON >/dev/null
        setsid cmake --build "$asan_dir" -j "$jobs" --target wk_tests >"$asan_dir/bau.log" 2>&1 &
        asan_bau=$!
        if ! ctest --test-dir "$build_dir" --output-on-failure -j "$((2 * jobs))"; then
            kill -- "-$asan_bau" 2>/dev/null || true
            exit 1
        fi
        if ! wait "$asan_bau"; then
            tail -n 60 "$asan_dir/bau.log"
            exit 1
        fi
        ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_init_order=1" \
        LSAN_OPTIONS="suppressions=$PWD/tests/lsan-suppressions.txt:print_suppressions=0" \
        UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
            ctest --test-dir "$asan_dir" --output-on-failure -j "$jobs" --label-exclude install
        ;;
    fuzz)
        sekunden="${2:-60}"
        fuzz_dir="${build_dir}-fuzz"
        cmake -S . -B "$fuzz_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
            -DWURFKRONE_SANITIZE=ON -DWURFKRONE_FUZZ=ON >/dev/null
        cmake --build "$fuzz_dir" -j "$jobs" --target fuzz_einstellungen fuzz_zahltext
        # New inputs go to "$fuzz_dir/korpus", crashing ones to "$fuzz_dir/funde";
        # keep those as regression cases in tests/fuzz/corpus.
        for ziel in einstellungen zahltext; do
            mkdir -p "$fuzz_dir/korpus/$ziel" "$fuzz_dir/funde"
            ASAN_OPTIONS="${ASAN_OPTIONS:-malloc_context_size=4}" \
                "$fuzz_dir/tests/fuzz/fuzz_$ziel" -max_total_time="$sekunden" -print_final_stats=1 \
                -artifact_prefix="$fuzz_dir/funde/$ziel-" "$fuzz_dir/korpus/$ziel" "tests/fuzz/corpus/$ziel"
        done
        ;;
    *)
        echo "usage: $0 [play|test|fuzz [seconds]]" >&2
        exit 2
        ;;
esac

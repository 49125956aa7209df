#!/usr/bin/env bash
# Builds Wurfkrone and plays it or tests it, on Debian 12 or later.
#   ./build.sh play   install what is missing, build, start the game
#   ./build.sh test   install what is missing, build, run every test
set -euo pipefail

cd "$(dirname "$0")"
aufgabe="${1:-play}"
build_dir="${BUILD_DIR:-build}"

# Debian packages the game needs to build, run and be tested.
pakete=(build-essential cmake qt6-base-dev qt6-svg-dev libgl-dev fonts-liberation2 fonts-dejavu-core desktop-file-utils appstream)

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
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" -j "$jobs"

case "$aufgabe" in
    play)
        exec "$build_dir/src/app/wurfkrone"
        ;;
    test)
        ctest --test-dir "$build_dir" --output-on-failure -j "$jobs"
        ;;
    *)
        echo "usage: $0 [play|test]" >&2
        exit 2
        ;;
esac

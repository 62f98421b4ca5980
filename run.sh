#!/usr/bin/env bash
# Installs what is missing, builds the application and starts it from
# build/run/, a working directory whose settings point the import folder at a
# demo user directory generated on first use.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
BUILD=build/app
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOV_BUILD_TESTS=OFF -DKOV_BUILD_BENCH=OFF >/dev/null
cmake --build "$BUILD" -j "$(nproc)"
RUN=build/run
mkdir -p "$RUN/cfg" "$RUN/OEM" "$RUN/log" "$RUN/dump" "$RUN/cache"
cp -f "$BUILD/run/KOVReportExport" "$RUN/"
cp -rf "$BUILD/run/cfg/." "$RUN/cfg/" 2>/dev/null || true
cp -f KOVReportExport/style/ico/app.png "$RUN/OEM/icon.png"
DEMO="$(pwd)/$RUN/demo/default"
if [ ! -d "$DEMO" ] && [ -x "$BUILD/tools/kovgen/kovgen" ]; then
  "$BUILD/tools/kovgen/kovgen" --out "$DEMO" --seed 1
fi
if [ ! -f "$RUN/cfg/config.ini" ]; then
  printf '[Directory]\npath=%s\n' "$(dirname "$DEMO")/" > "$RUN/cfg/config.ini"
fi
cd "$RUN"
exec ./KOVReportExport "$@"

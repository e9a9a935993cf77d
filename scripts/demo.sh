#!/usr/bin/env bash
# Installs what is missing, builds the program, and opens it on a demo station kept in a
# private PostgreSQL cluster under the user's data folder (made on the first run, kept after).
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$root_dir"

bash scripts/install-deps.sh
build=build/release
say "building in $build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOLVAR_TESTS=OFF \
  -DTOLVAR_DB_PASSWORD="$db_password" >/dev/null
cmake --build "$build"
tolvar=$root_dir/$build/tolvar

data=${XDG_DATA_HOME:-$HOME/.local/share}/tolvar
cluster=$data/pg
station=$data/station
mkdir -p "$data" "$station"
mkdir -p "$HOME/Export" # where the invoice media file goes (README, Invoices)
if [ ! -f "$cluster/port" ]; then
  port=$(free_port 54329)
  say "creating the demo cluster in $cluster (port $port)"
  bash scripts/pg-cluster.sh init "$cluster" "$port"
else
  port=$(cat "$cluster/port")
  bash scripts/pg-cluster.sh start "$cluster"
fi
bash scripts/pg-cluster.sh createdb "$cluster" pos_data
printf '[Global]\r\nDBServerName=127.0.0.1\r\nDBPort=%s\r\nDBMonitor=N\r\n' "$port" >"$station/config.ini"

cd "$station"
if ! "$tolvar" info >/dev/null 2>&1; then
  say "generating the demo station"
  "$tolvar" demo-db --days 62 --sales-per-day 300
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  say "no display (DISPLAY is not set): the main window cannot open here."
  say "the demo station is ready in $station; what the command line can do with it:"
  "$tolvar" info
  echo
  "$tolvar" --help
  exit 0
fi
say "opening TOLVAR in $station"
exec "$tolvar"

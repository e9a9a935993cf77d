#!/usr/bin/env bash
# Times the demo generator on a busy station: a year at 2,000 sales a day, generated and
# loaded into a throwaway cluster, then a few reading statements over it.
#   bench/generate_station.sh [days] [sales-per-day]
set -euo pipefail
source "$(dirname "$0")/../scripts/common.sh"
cd "$root_dir"
days=${1:-365}
sales=${2:-2000}

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOLVAR_TESTS=OFF \
  -DTOLVAR_DB_PASSWORD="$db_password" >/dev/null
cmake --build build/release >/dev/null
cluster=$(mktemp -d /tmp/tolvar-bench-pg.XXXXXX)
work=$(mktemp -d /tmp/tolvar-bench-work.XXXXXX)
chmod 755 "$cluster"
trap 'bash "$root_dir/scripts/pg-cluster.sh" stop "$cluster"; rm -rf "$cluster" "$work"' EXIT
port=$(free_port 56432)
bash scripts/pg-cluster.sh init "$cluster" "$port"
bash scripts/pg-cluster.sh createdb "$cluster" pos_data
printf '[Global]\r\nDBServerName=127.0.0.1\r\nDBPort=%s\r\n' "$port" >"$work/config.ini"
cd "$work"
start=$(date +%s%N)
"$root_dir/build/release/tolvar" demo-db --days "$days" --sales-per-day "$sales" --last-day 2024/12/31
end=$(date +%s%N)
ms=$(((end - start) / 1000000))
printf 'generated and loaded %s days x %s sales in %d.%03d s\n' "$days" "$sales" $((ms / 1000)) $((ms % 1000))
PGPASSWORD=$db_password psql -X -h 127.0.0.1 -p "$port" -U sa pos_data -c \
  "select relname, n_live_tup from pg_stat_user_tables order by n_live_tup desc limit 6"

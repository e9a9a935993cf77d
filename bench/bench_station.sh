# Sourced by the benchmarks: a release build and a throwaway cluster holding an empty
# pos_data, with a working folder whose config.ini points to it. Leaves $work, $port and
# $cluster set, the working folder current, and removes both folders on exit.
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"
cd "$root_dir"
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
tolvar="$root_dir/build/release/tolvar"
psql_sa() { PGPASSWORD=$db_password psql -X -q -h 127.0.0.1 -p "$port" -U sa pos_data "$@"; }

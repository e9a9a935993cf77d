#!/usr/bin/env bash
# A private PostgreSQL 15 cluster in a folder of its own, never the system's cluster.
#   pg-cluster.sh init DIR PORT [fast]   create, start, add the station user sa
#   pg-cluster.sh start|stop|restart DIR
#   pg-cluster.sh createdb DIR NAME      create a station database (SQL_ASCII, C locale)
# As root the server runs as the user postgres.
set -euo pipefail
source "$(dirname "$0")/common.sh"

command=$1
dir=$(realpath -m "$2")

run_pg() {
  # From / : the server's user may not be allowed into the caller's folder.
  if [ "$(id -u)" = 0 ]; then (cd / && runuser -u postgres -- "$@"); else "$@"; fi
}

psql_admin() {
  run_pg "$pg_bin/psql" -X -q -v ON_ERROR_STOP=1 -h "$dir/socket" -p "$(cat "$dir/port")" -U postgres "$@"
}

# The server's user must be able to reach the folder: grant it passage through the parents
# (only passage, no reading) where it lacks it, e.g. through root's own home.
grant_passage() {
  [ "$(id -u)" = 0 ] || return 0
  local d=$dir
  while [ "$d" != / ]; do
    d=$(dirname "$d")
    runuser -u postgres -- test -x "$d" || setfacl -m u:postgres:x "$d"
  done
}

case $command in
init)
  port=$3
  mkdir -p "$dir/socket"
  echo "$port" >"$dir/port"
  if [ "$(id -u)" = 0 ]; then chown -R postgres: "$dir"; grant_passage; fi
  run_pg "$pg_bin/initdb" -D "$dir/data" -U postgres -E SQL_ASCII --locale=C \
    --auth-local=trust --auth-host=scram-sha-256 >/dev/null
  {
    echo "port = $port"
    echo "listen_addresses = '127.0.0.1'"
    echo "unix_socket_directories = '$dir/socket'"
    echo "max_connections = 40"
    if [ "${4:-}" = fast ]; then
      echo "fsync = off"
      echo "synchronous_commit = off"
      echo "full_page_writes = off"
    fi
  } | run_pg tee -a "$dir/data/postgresql.conf" >/dev/null
  run_pg "$pg_bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -s start
  psql_admin -d postgres -c "create role sa login superuser password '$db_password'"
  ;;
start)
  [ "$(id -u)" = 0 ] && grant_passage
  run_pg "$pg_bin/pg_ctl" -D "$dir/data" status >/dev/null 2>&1 ||
    run_pg "$pg_bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -s start
  ;;
stop)
  run_pg "$pg_bin/pg_ctl" -D "$dir/data" -m fast -w -s stop || true
  ;;
restart)
  run_pg "$pg_bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -m fast -w -s restart
  ;;
createdb)
  name=$3
  exists=$(psql_admin -d postgres -tA -c "select 1 from pg_database where datname = '$name'")
  [ -n "$exists" ] || psql_admin -d postgres -c \
    "create database $name owner sa encoding 'SQL_ASCII' lc_collate 'C' lc_ctype 'C' template template0"
  ;;
*)
  echo "usage: $0 init|start|stop|restart|createdb DIR ..." >&2
  exit 2
  ;;
esac

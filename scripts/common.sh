# Shared by the set-up scripts: where things are and how to run a command as root.
root_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# The station database user's password; the program is built with the same value.
db_password=${TOLVAR_DB_PASSWORD:-pos}
pg_bin=/usr/lib/postgresql/15/bin

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

say() { printf '==> %s\n' "$*" >&2; }

# The first port from $1 on that nothing on 127.0.0.1 listens to.
free_port() {
  local port=$1
  while (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; do port=$((port + 1)); done
  echo "$port"
}

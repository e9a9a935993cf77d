#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer, and
# runs every test against a throwaway PostgreSQL cluster that it starts and stops itself.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$root_dir"

bash scripts/install-deps.sh
build=build/test
say "building in $build"
# ccache, where a machine has it, keeps rebuilds of several work trees short.
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOLVAR_SANITIZE=ON \
  -DTOLVAR_DB_PASSWORD="$db_password" -DCMAKE_CXX_FLAGS="-Werror" "${launcher[@]}" >/dev/null
cmake --build "$build"

cluster=$(mktemp -d /tmp/tolvar-test-pg.XXXXXX)
runtime=$(mktemp -d /tmp/tolvar-test-run.XXXXXX)
chmod 755 "$cluster"
chmod 700 "$runtime"
cleanup() {
  bash "$root_dir/scripts/pg-cluster.sh" stop "$cluster" || true
  rm -rf "$cluster" "$runtime"
}
trap cleanup EXIT
# Another cluster on this machine may take the free port between the look and the start: try
# the next free one then.
for attempt in 1 2 3; do
  port=$(free_port $((55432 + 10 * (attempt - 1))))
  say "test cluster on 127.0.0.1:$port"
  bash scripts/pg-cluster.sh init "$cluster" "$port" fast && break
  [ "$attempt" = 3 ] && exit 1
  bash scripts/pg-cluster.sh stop "$cluster" || true
  find "$cluster" -mindepth 1 -delete
done

export TOLVAR_TEST_PGHOST=127.0.0.1 TOLVAR_TEST_PGPORT=$port
export TOLVAR_TEST_RESTART="bash $root_dir/scripts/pg-cluster.sh restart $cluster"
export XDG_RUNTIME_DIR=$runtime
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1
export LSAN_OPTIONS=suppressions=$root_dir/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
ctest --test-dir "$build" --output-on-failure -j2 "$@"

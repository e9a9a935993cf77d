#!/usr/bin/env bash
# Every report, the invoice trial and media step and the tank recomputation of a generated
# year at 2,000 sales a day, each run over loopback and through bench/latency_proxy at a
# 1 ms round trip (0.5 ms each way), as the office program reaches the point-of-sale
# server across the station's network. Prints for each the statements the whole command
# sent (counted in its SQL trace, start-up included), its seconds both ways and their ratio,
# and for a report the build's own seconds both ways.
#   bench/lan.sh [days] [sales-per-day] [delay-microseconds-each-way]
set -euo pipefail
days=${1:-365}
sales=${2:-2000}
delay=${3:-500}
source "$(dirname "$0")/bench_station.sh"
export XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=offscreen
"$tolvar" demo-db --days "$days" --sales-per-day "$sales" --last-day 2024/12/31 \
  --invoice-range 50000 >/dev/null 2>&1
psql_sa -c analyze

proxy_bin=$work/latency_proxy
g++ -O2 -std=c++20 -pthread "$root_dir/bench/latency_proxy.cpp" -o "$proxy_bin"
proxy_port=$(free_port $((port + 100)))
"$proxy_bin" "$proxy_port" "$port" "$delay" &
proxy_pid=$!
trap 'kill $proxy_pid 2>/dev/null; bash "$root_dir/scripts/pg-cluster.sh" stop "$cluster"; rm -rf "$cluster" "$work"' EXIT
sleep 0.3
for where in loop lan; do
  mkdir -p "$work/$where"
  p=$([ "$where" = loop ] && echo "$port" || echo "$proxy_port")
  printf '[Global]\r\nDBServerName=127.0.0.1\r\nDBPort=%s\r\nDBMonitor=Y\r\n' "$p" \
    >"$work/$where/config.ini"
done

# Runs the command in one folder: once to warm the caches, then the fastest of three runs;
# sets seconds, statements and built (the build's own seconds in that run, or -).
run_in() {
  local where=$1
  shift
  cd "$work/$where"
  "$tolvar" "$@" >/dev/null 2>&1 || true
  local start end ns best=0
  for _ in 1 2 3; do
    rm -f M[0-9]* out.*
    start=$(date +%s%N)
    "$tolvar" "$@" >out.txt 2>/dev/null || echo "  (exit status $? in $where: $*)" >&2
    end=$(date +%s%N)
    ns=$((end - start))
    if [ "$best" = 0 ] || [ "$ns" -lt "$best" ]; then
      best=$ns
      statements=$(cat M[0-9]* | grep -cE 'cat: (Execute|Transaction)' || true)
      built=$(grep -oE '建立 [0-9.]+ 秒' out.txt | grep -oE '[0-9.]+' || echo -)
    fi
  done
  seconds=$(awk -v ns="$best" 'BEGIN { printf "%.3f", ns / 1e9 }')
  cd "$work"
}

printf '%-34s %10s %9s %9s %6s %12s\n' run statements loopback "1 ms RTT" ratio "build both"
measure() {
  local label=$1
  shift
  run_in loop "$@"
  local s1=$seconds b1=$built n=$statements
  run_in lan "$@"
  local ratio
  ratio=$(awk -v a="$s1" -v b="$seconds" 'BEGIN { printf "%.2f", b / a }')
  printf '%-34s %10s %8ss %8ss %6s %12s\n' "$label" "$n" "$s1" "$seconds" "$ratio" "$b1 / $built"
}
measure "BR010 December, PDF" report BR010 --from 2024/12/01 --to 2024/12/31 --pdf out.pdf
measure "BR010 December, SYLK" report BR010 --from 2024/12/01 --to 2024/12/31 --sylk out.XLS
measure "BR020 December, PDF" report BR020 --from 2024/12/01 --to 2024/12/31 --pdf out.pdf
measure "BR030 2024/12/15, PDF" report BR030 --date 2024/12/15 --pdf out.pdf
measure "BR040 December, PDF" report BR040 --from 2024/12/01 --to 2024/12/31 --pdf out.pdf
measure "BR050 December, PDF" report BR050 --from 2024/12/01 --to 2024/12/31 --pdf out.pdf
measure "BR060 December, PDF" report BR060 --from 2024/12/01 --to 2024/12/31 --pdf out.pdf
measure "BR070 the year, PDF" report BR070 --from 2024/01/01 --to 2024/12/31 --pdf out.pdf
measure "BR080 December, PDF" report BR080 --from 2024/12/01 --to 2024/12/31 --pdf out.pdf
measure "BR090 Nov-Dec, PDF" report BR090 --from 2024/11/01 --to 2024/12/31 --pdf out.pdf
measure "BR100 December, PDF" report BR100 --from 2024/12/01 --to 2024/12/31 --pdf out.pdf
measure "BR110 the year, PDF" report BR110 --from 2024/01/01 --to 2024/12/31 --pdf out.pdf
measure "invoice trial Nov-Dec" invoice trial --from 2024/11 --to 2024/12
measure "invoice media Nov-Dec" invoice media --from 2024/11 --to 2024/12 --out out.TXT
measure "stock recompute, the year" stock recompute --from 2024/01/01

# The recomputation against one set-based UPDATE that PostgreSQL runs by itself: receipts
# summed per shift and tank, the book stock as a running sum over each tank's shifts, the
# gauge stock carried by lag(). With two-place figures and litres both give the same table.
echo
psql_sa -c "update oil_change set gasoline_vol = gasoline_vol + 1.25 where shift like '11307%'"
psql_sa -c "create table stock_before as select * from shift_03_tank"
table_md5="select md5(string_agg(t::text, '|' order by shift, tank)) from shift_03_tank t"
restore="delete from shift_03_tank; insert into shift_03_tank select * from stock_before"
cd "$work/loop"
best=0
own=0
for _ in 1 2 3; do
  psql_sa -c "$restore"
  start=$(date +%s%N)
  said=$("$tolvar" stock recompute --from 2024/01/01 2>/dev/null)
  end=$(date +%s%N)
  ns=$((end - start))
  if [ "$best" = 0 ] || [ "$ns" -lt "$best" ]; then best=$ns; fi
  # the recomputation's own seconds, as the command reports them (start-up and connecting aside)
  s=$(grep -oE '[0-9.]+ 秒' <<<"$said" | grep -oE '[0-9.]+')
  if [ "$own" = 0 ] || awk -v a="$s" -v b="$own" 'BEGIN { exit !(a < b) }'; then own=$s; fi
done
program_md5=$(psql_sa -Atc "$table_md5")
cd "$work"
reference_ms=$(psql_sa -c "$restore" -c '\timing on' <<'SQL' -f - | grep -E '^Time' | tail -1 | grep -oE '[0-9.]+ ms' | grep -oE '[0-9.]+'
with receipts as (
  select trim(shift) as shift, '0' || trim(target_tank) as tank,
    sum(coalesce(gasoline_vol, 0)) as litres
  from oil_change where substr(shift,1,7) >= '1130101' group by 1, 2),
chain as (
  select s.ctid as row_id, coalesce(r.litres, 0) as in_stock, s.real2,
    coalesce(r.litres, 0) - s.sale + s.checkstock as change,
    first_value(s.account1) over w as opening,
    sum(coalesce(r.litres, 0) - s.sale + s.checkstock) over w as changed,
    case when row_number() over w = 1 then s.real_stock1 else lag(s.real2) over w end as gauge
  from shift_03_tank s left join receipts r on r.shift = trim(s.shift) and r.tank = trim(s.tank)
  where substr(s.shift,1,7) >= '1130101'
  window w as (partition by s.tank order by s.shift rows unbounded preceding))
update shift_03_tank t set in_stock = c.in_stock,
  account1 = c.opening + c.changed - c.change, real_stock1 = c.gauge,
  count = c.gauge + c.change, surplus_4 = c.gauge + c.change - c.real2,
  account2 = c.opening + c.changed, diff_vol = c.gauge + c.change - c.real2
from chain c where t.ctid = c.row_id;
SQL
)
reference_md5=$(psql_sa -Atc "$table_md5")
awk -v p="$best" -v o="$own" -v r="$reference_ms" 'BEGIN {
  printf "stock recompute of the year: the recomputation %.3f s, the whole command %.3f s; one set-based UPDATE in PostgreSQL: %.3f s; ratio %.2f (whole command %.2f)\n", o, p / 1e9, r / 1000, o / (r / 1000), (p / 1e9) / (r / 1000) }'
if [ "$program_md5" = "$reference_md5" ]; then
  echo "the program's figures and the set-based UPDATE's are the same"
else
  echo "the program's figures and the set-based UPDATE's DIFFER"
fi

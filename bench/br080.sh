#!/usr/bin/env bash
# BR080 for a month of a busy station whose tran_detl has no index: 62 generated days at
# 2,000 sales a day, tran_detl's key dropped. The command line builds and prints December in
# both modes and says how many statements and seconds each build took; then the quoted
# detail statement alone as PostgreSQL plans it by itself (nested loops allowed), stopped
# after a minute.
#   bench/br080.sh [sales-per-day] [days]
set -euo pipefail
sales=${1:-2000}
days=${2:-62}
source "$(dirname "$0")/bench_station.sh"
export XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=offscreen
"$tolvar" demo-db --days "$days" --sales-per-day "$sales" --last-day 2024/12/31 2>/dev/null
psql_sa -c "alter table tran_detl drop constraint if exists tran_detl_pkey" -c "analyze"
echo "sales: $(psql_sa -Atc "select count(*) from tran"), lines: $(psql_sa -Atc \
  "select count(*) from tran_detl"), gift lines: $(psql_sa -Atc \
  "select count(*) from tran_detl where class = '104'")"

for mode in 1 2; do
  "$tolvar" report BR080 --from 2024/12/01 --to 2024/12/31 --mode "$mode" \
    --pdf "$work/br080_$mode.pdf" 2>/dev/null
done
mkdir -p "$root_dir/build/bench"
for mode in 1 2; do
  pdftoppm -r 200 -png -f 1 -l 1 "$work/br080_$mode.pdf" "$root_dir/build/bench/br080_$mode"
done

psql_sa <<'SQL' | grep -E '^Time|ERROR' | sed 's/^/the quoted detail statement planned freely: /'
\timing on
set statement_timeout = '60s';
\o /dev/null
SELECT date(m.tran_time) as tdate,m.invoice,d.product_id,p.name,d.qty,m.shift
FROM tran m, tran_detl d, product p
WHERE Date(m.tran_time) >= '2024/11/30' and Date(m.tran_time) <= '2025/01/01'
  and substr(m.shift,1,7) >= '1131201' and substr(m.shift,1,7) <= '1131231'
  and d.class = '104' and m.an_mark < '200' and d.product_id = p.product_id
  and m.island = d.island and m.gun_no = d.gun_no and m.tran_time = d.tran_time
Order by date(m.tran_time), m.invoice;
SQL

#!/usr/bin/env bash
# BR080 for December on stations whose sales tables have no index (the keys of tran and
# tran_detl dropped): 40 generated days at 500 sales a day, then 62 days at 2,000. The command
# line builds and prints the month in both modes, for all gifts and for one, and says how
# many statements and seconds each build took; then the quoted detail statement for one gift
# as PostgreSQL plans it by itself (nested loops allowed), stopped after two minutes.
#   bench/br080.sh ["days sales-per-day" ...]
set -euo pipefail
stations=("$@")
[ ${#stations[@]} -gt 0 ] || stations=("40 500" "62 2000")
source "$(dirname "$0")/bench_station.sh"
source "$root_dir/bench/office_network.sh"
export XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=offscreen
mkdir -p "$root_dir/build/bench"

for station in "${stations[@]}"; do
  read -r days sales <<<"$station"
  echo "--- $days days at $sales sales a day"
  "$tolvar" demo-db --days "$days" --sales-per-day "$sales" --last-day 2024/12/31 --replace \
    >/dev/null 2>&1
  psql_sa -c "alter table tran drop constraint if exists tran_pkey" \
    -c "alter table tran_detl drop constraint if exists tran_detl_pkey" -c "analyze"
  gift=$(psql_sa -Atc "select product_id from product where class = '104' order by 1 limit 1")
  echo "sales: $(psql_sa -Atc "select count(*) from tran"), lines: $(psql_sa -Atc \
    "select count(*) from tran_detl"), gift lines: $(psql_sa -Atc \
    "select count(*) from tran_detl where class = '104'")"

  for mode in 1 2; do
    for only in "" "$gift"; do
      "$tolvar" report BR080 --from 2024/12/01 --to 2024/12/31 --mode "$mode" \
        ${only:+--gift "$only"} --pdf "$work/br080_$mode$only.pdf" 2>/dev/null
    done
    pdftoppm -r 200 -png -f 1 -l 1 "$work/br080_$mode.pdf" "$root_dir/build/bench/br080_$mode"
  done
  echo "through an office network of 2 ms a round trip:"
  through_office_network 1000 "$tolvar" report BR080 --from 2024/12/01 --to 2024/12/31 \
    --pdf "$work/br080_network.pdf" 2>/dev/null

  psql_sa <<SQL | grep -E '^Time|ERROR' | tail -1 |
set statement_timeout = '120s';
\\o /dev/null
\\timing on
SELECT date(m.tran_time) as tdate,m.invoice,d.product_id,p.name,d.qty,m.shift
FROM tran m, tran_detl d, product p
WHERE Date(m.tran_time) >= '2024/11/30' and Date(m.tran_time) <= '2025/01/01'
  and substr(m.shift,1,7) >= '1131201' and substr(m.shift,1,7) <= '1131231'
  and d.product_id = '$gift'
  and d.class = '104' and m.an_mark < '200' and d.product_id = p.product_id
  and m.island = d.island and m.gun_no = d.gun_no and m.tran_time = d.tran_time
Order by date(m.tran_time), m.invoice;
SQL
    sed 's/^/the quoted detail statement for one gift planned freely: /'
done

#!/usr/bin/env bash
# BR030 for one day and BR040 for one month on a busy station: a generated year at 2,000
# sales a day, each report built and rendered to PDF by the command line, which reports its
# statements and seconds; then the same reads timed in PostgreSQL alone, the floor a build
# cannot go under. The two PDFs are kept in build/bench/.
#   bench/revenue_reports.sh [sales-per-day] [days]
set -euo pipefail
sales=${1:-2000}
days=${2:-365}
source "$(dirname "$0")/bench_station.sh"
export XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=offscreen
"$tolvar" demo-db --days "$days" --sales-per-day "$sales" --last-day 2024/12/31 2>/dev/null
psql_sa -Atc "select 'sales: ' || count(*) from tran"
psql_sa -Atc "select 'shift rows: ' || (select count(*) from shift_01_gun) || ' meters, ' ||
  (select count(*) from shift_03_tank) || ' tanks'"

for run in 1 2; do
  "$tolvar" report BR030 --date 2024/12/15 --pdf "$work/br030.pdf" 2>/dev/null
done
for run in 1 2; do
  "$tolvar" report BR040 --from 2024/12/01 --to 2024/12/31 --pdf "$work/br040.pdf" 2>/dev/null
done

# The pages, for a person to look at (pdftoppm -r 200 -png).
mkdir -p "$root_dir/build/bench"
cp "$work/br030.pdf" "$work/br040.pdf" "$root_dir/build/bench/"

# The reads of both builds as PostgreSQL runs them, without the program.
psql_sa <<'SQL' | grep -E '^Time' | awk '{ s += $2 } END { printf "BR030 reads in PostgreSQL alone: %.0f ms\n", s }'
\timing on
\o /dev/null
SELECT product_id, sum(out_qty), sum(out_amt), sum(test_qty+walk_qty), sum(test_amt+walk_amt)
  FROM shift_01_gun WHERE substr(shift,1,7) = '1131215' GROUP BY product_id;
SELECT m.ref_no2, d.product_id, d.class, d.amt, j.product_id, j.qty FROM tran m, tran_detl d,
  tran_detl j WHERE Date(m.tran_time) >= '2024/12/14' and Date(m.tran_time) <= '2024/12/16'
  and substr(m.shift,1,7) = '1131215' and d.class in ('131','132') and m.an_mark < '200'
  and j.class = '101' and m.island = d.island and m.gun_no = d.gun_no
  and m.tran_time = d.tran_time and m.island = j.island and m.gun_no = j.gun_no
  and m.tran_time = j.tran_time ORDER BY m.tran_time;
SELECT product_id, sum(ticket_amt), sum(cdc_amt) FROM shift_02_oil
  WHERE substr(shift,1,7) = '1131215' GROUP BY product_id;
SELECT sum(goods_amt+diff_amt1) FROM shift_05 WHERE substr(shift,1,7) = '1131215';
SELECT * FROM shift_06 WHERE substr(shift,1,7) = '1131215';
SELECT * FROM shift_03_tank WHERE substr(shift,1,7) = '1131215' ORDER BY shift, tank;
SELECT sum(out_qty-test_qty-walk_qty), sum(out_amt-test_amt-walk_amt) FROM shift_01_gun
  WHERE substr(shift,1,7) >= '1131201' and substr(shift,1,7) <= '1131215';
SQL

#!/usr/bin/env bash
# Times the tank book-stock recomputation over a whole year of a station with 8 tanks and
# three shifts a day: a demo year generated into a throwaway cluster, its stock spoilt from
# the first day on, then `tolvar stock recompute` from that day, which prints the rows it
# rewrote, the statements it sent and the seconds it took. The stock must come back as the
# generator wrote it.
#   bench/recompute_stock.sh [days] [sales-per-day]
set -euo pipefail
days=${1:-365}
sales=${2:-300}
source "$(dirname "$0")/bench_station.sh"
"$tolvar" demo-db --days "$days" --sales-per-day "$sales" --last-day 2024/12/31 2>/dev/null
sql() { PGPASSWORD=$db_password psql -X -q -tA -h 127.0.0.1 -p "$port" -U sa pos_data -c "$1"; }
first=$(sql "select min(substr(shift,1,7)) from shift_03_tank")
table="select md5(string_agg(t::text, '|' order by shift, tank)) from shift_03_tank t"
before=$(sql "$table")
sql "select count(distinct tank) || ' tanks, ' || count(distinct shift) || ' shifts, ' || count(*) || ' tank rows, ' || (select count(*) from oil_change) || ' receipts' from shift_03_tank"
# Spoil what the recomputation writes, all but each tank's opening figures on the first day.
sql "update shift_03_tank set in_stock = 0, count = 0, surplus_4 = 0, account2 = 0, diff_vol = 0;
     update shift_03_tank set account1 = 0, real_stock1 = 0 where shift > '${first}_1'"
start=$(date +%s%N)
"$tolvar" stock recompute --from "$first" 2>/dev/null
end=$(date +%s%N)
ms=$(((end - start) / 1000000))
printf 'whole command, start-up included: %d.%03d s\n' $((ms / 1000)) $((ms % 1000))
if [ "$(sql "$table")" = "$before" ]; then
  echo "the stock is back as generated"
else
  echo "the recomputed stock differs from the generated one" >&2
  exit 1
fi

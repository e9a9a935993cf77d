#!/usr/bin/env bash
# The fuel reports on a generated year of a station (8 tanks, three shifts a day): BR070 tank
# stock over the whole year on both bases, BR050 meter readings from the first shift of a
# month to the last shift of its last day, BR110 supplier settlement over the year to PDF and
# to SYLK. Each line the command prints gives the rows, pages, SQL statements sent and the
# seconds of the build and of layout and PDF; the whole command's time is added.
#   bench/fuel_reports.sh [days] [sales-per-day]
set -euo pipefail
days=${1:-365}
sales=${2:-300}
source "$(dirname "$0")/bench_station.sh"
export XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=offscreen
"$tolvar" demo-db --days "$days" --sales-per-day "$sales" --last-day 2024/12/31 2>/dev/null
psql_sa -Atc "select count(distinct tank) || ' tanks, ' || count(*) || ' tank rows, ' ||
  (select count(*) from shift_01_gun) || ' nozzle rows, ' || (select count(*) from oil_change)
  || ' deliveries' from shift_03_tank"

timed() {
  local start end ms
  start=$(date +%s%N)
  "$tolvar" "$@" 2>/dev/null
  end=$(date +%s%N)
  ms=$(((end - start) / 1000000))
  printf '  whole command, start-up included: %d.%03d s\n' $((ms / 1000)) $((ms % 1000))
}

echo "BR070 over the year, book basis:"
timed report BR070 --from 2024/01/01 --to 2024/12/31 --stock 1 --pdf "$work/br070.pdf"
echo "BR070 over the year, gauge basis:"
timed report BR070 --from 2024/01/01 --to 2024/12/31 --stock 2 --pdf "$work/br070g.pdf"
echo "BR070 one day, for the statement count:"
timed report BR070 --from 2024/12/31 --to 2024/12/31 --pdf "$work/br070d.pdf"
echo "BR050 from the first shift of December to the last of the 31st:"
timed report BR050 --from 2024/12/01 --from-shift 1 --to 2024/12/31 --to-shift 3 \
  --pdf "$work/br050.pdf"
echo "BR110 over the year:"
timed report BR110 --from 2024/01/01 --to 2024/12/31 --pdf "$work/br110.pdf"
echo "BR110 over the year, export:"
timed report BR110 --from 2024/01/01 --to 2024/12/31 --sylk "$work/br110.xls"

#!/usr/bin/env bash
# The invoice trial, the media step and BR090 on two months of a busy station: 2,000 sales a
# day, invoice ranges of 50,000 numbers. Prints, for each, the statements it sent (counted in
# the SQL trace from its first BEGIN on) and the seconds the command took.
#   bench/invoices.sh [sales-per-day] [numbers-per-range]
set -euo pipefail
sales=${1:-2000}
range=${2:-50000}
source "$(dirname "$0")/bench_station.sh"
export XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=offscreen
"$tolvar" demo-db --days 61 --sales-per-day "$sales" --last-day 2024/06/30 \
  --invoice-range "$range" 2>/dev/null
psql_sa -At <<'SQL' | sed 's/^/  /'
select 'issued invoices of May and June: ' || count(*) from tran where prt_invoice = '-1'
  and tran_time >= '2024-05-01' and tran_time < '2024-07-01';
select 'active ranges of 11306: ' || count(*) || ', blocks: ' ||
  sum((substr(inv_end,3,8)::int + 1 - substr(inv_start,3,8)::int) / 250)
  from inv_range where inv_date = '11306' and void = '0';
SQL

printf '[Global]\r\nDBServerName=127.0.0.1\r\nDBPort=%s\r\nDBMonitor=Y\r\n' "$port" >config.ini
# Runs one command with the SQL trace on and prints its statements and seconds.
measure() {
  local label=$1
  shift
  rm -f M[0-9]*
  local start end ms statements
  start=$(date +%s%N)
  "$tolvar" "$@" >"$work/$label.out" 2>/dev/null
  end=$(date +%s%N)
  ms=$(((end - start) / 1000000))
  statements=$(awk '/msg: BEGIN/ { on = 1 } on && /cat: (Execute|Transaction)/ { n++ }
                    END { print n + 0 }' M[0-9]*)
  printf '%-6s %4d statements  %d.%03d s\n' "$label" "$statements" $((ms / 1000)) $((ms % 1000))
}
measure trial invoice trial --from 2024/05 --to 2024/06
measure media invoice media --from 2024/05 --to 2024/06 --out "$work/media.TXT"
measure BR090 report BR090 --from 2024/05/01 --to 2024/06/30 --pdf "$work/br090.pdf"
echo "  trial: $(grep -c . "$work/trial.out") result lines; media: $(grep -F '轉檔筆數' "$work/media.out" | tr -s ' ');" \
  "$(wc -c <"$work/media.TXT") bytes; BR090: $(grep -o '[0-9]* 列，[0-9]* 頁' "$work/BR090.out")"

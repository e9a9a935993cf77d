#!/usr/bin/env bash
# BR060 for December on a large shop: a generated year of a station whose 20 goods are copied
# into 500, so that shift_04_stock holds 500 rows a shift (about 550,000 in the year). The
# command line builds and prints the month and says how many statements and seconds the
# build took; then the same month done row by row (bench/br060_reference.sql), as the report
# was first written, for comparison.
#   bench/br060.sh [days] [copies]
set -euo pipefail
days=${1:-365}
copies=${2:-25}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/bench_station.sh"
export XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=offscreen
"$tolvar" demo-db --days "$days" --sales-per-day 300 --last-day 2024/12/31 2>/dev/null
psql_sa <<SQL
insert into product select p.product_id || '-' || c, p.name || c, p.class, p.price
  from product p, generate_series(2, $copies) c
  where p.product_id in (select distinct product_id from shift_04_stock);
insert into shift_04_stock select s.shift, s.product_id || '-' || c, s.bef_stock, s.in_qty,
  s.in_price + c, s.sale_qty, s.sale_price + c, s.sale_amt + c * s.sale_qty, s.abert_qty,
  s.check_qty, s.stock
  from shift_04_stock s, generate_series(2, $copies) c;
analyze shift_04_stock;
SQL
echo "goods rows: $(psql_sa -Atc "select count(*) || ' in all, ' || count(distinct product_id)
  || ' products, ' || count(distinct shift) || ' shifts' from shift_04_stock")"

"$tolvar" report BR060 --from 2024/12/01 --to 2024/12/31 --pdf "$work/br060.pdf" 2>/dev/null
mkdir -p "$root_dir/build/bench"
pdftoppm -r 200 -png -f 1 -l 1 "$work/br060.pdf" "$root_dir/build/bench/br060"

psql_sa -f "$here/br060_reference.sql"
psql_sa <<'SQL' | grep -E '^Time' | tail -1 | sed 's/^/the same month row by row in PostgreSQL: /'
\timing on
select pg_temp.br060_reference('1131201', '1131231');
SQL

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
insert into product select 'C' || lpad(c::text, 2, '0') || right(p.product_id, 10),
  p.name || c, p.class, p.price
  from product p, generate_series(2, $copies) c
  where p.product_id in (select distinct product_id from shift_04_stock);
insert into shift_04_stock select s.shift, 'C' || lpad(c::text, 2, '0') || right(s.product_id, 10),
  s.bef_stock, s.in_qty, s.in_price + c, s.sale_qty, s.sale_price + c,
  s.sale_amt + c * s.sale_qty, s.abert_qty, s.check_qty, s.stock
  from shift_04_stock s, generate_series(2, $copies) c;
analyze shift_04_stock;
SQL
echo "goods rows: $(psql_sa -Atc "select count(*) || ' in all, ' || count(distinct product_id)
  || ' products, ' || count(distinct shift) || ' shifts' from shift_04_stock")"

echo "source rows the row-by-row build looks up one by one: $(psql_sa -Atc "select
  count(*) filter (where substr(shift,1,7) in ('1131201', '1131231'))
  + count(distinct product_id) filter (where substr(shift,1,7) between '1131201' and '1131231')
  from shift_04_stock")"
"$tolvar" report BR060 --from 2024/12/01 --to 2024/12/31 --pdf "$work/br060.pdf" 2>/dev/null
source "$here/office_network.sh"
echo "through an office network of 2 ms a round trip:"
through_office_network 1000 "$tolvar" report BR060 --from 2024/12/01 --to 2024/12/31 \
  --pdf "$work/br060_network.pdf" 2>/dev/null
mkdir -p "$root_dir/build/bench"
pdftoppm -r 200 -png -f 1 -l 1 "$work/br060.pdf" "$root_dir/build/bench/br060"

psql_sa <<SQL | grep -E '^Time' | tail -1 | sed 's/^/the same month row by row in PostgreSQL: /'
set client_min_messages = warning;
\\i $here/br060_reference.sql
\\timing on
select pg_temp.br060_reference('1131201', '1131231');
SQL
# The totals both ways, for a person to compare.
echo "build's totals line: $(pdftotext -layout "$work/br060.pdf" - | grep '合' | tail -1 | tr -s ' ')"
psql_sa -At <<SQL | tail -1 | sed 's/^/row by row, purchases, sales, gross profit, closing value: /'
set client_min_messages = warning;
\\i $here/br060_reference.sql
select pg_temp.br060_reference('1131201', '1131231');
select to_char(sum(iamt), 'FM999,999,999') || ' ' || to_char(sum(oamt), 'FM999,999,999') || ' '
  || to_char(sum(eamt), 'FM999,999,999') || ' ' || to_char(sum(samt), 'FM999,999,999')
  from tbr060_reference;
SQL

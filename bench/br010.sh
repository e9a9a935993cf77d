#!/usr/bin/env bash
# BR010 on a busy month: a generated station with about 100,000 charge lines in December
# 2024, built and rendered to PDF by the command line, against the time PostgreSQL itself
# needs for one set-based statement that yields the same rows.
#   bench/br010.sh [sales-per-day]
set -euo pipefail
sales=${1:-18600}
source "$(dirname "$0")/bench_station.sh"
export XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=offscreen
"$tolvar" demo-db --days 31 --sales-per-day "$sales" --last-day 2024/12/31 2>/dev/null
echo "charge lines in December: $(psql_sa -Atc "select count(*) from tran m, tran_detl d
  where m.payment in ('903','904') and m.an_mark < '200' and m.island = d.island
  and m.gun_no = d.gun_no and m.tran_time = d.tran_time")"

"$tolvar" report BR010 --from 2024/12/01 --to 2024/12/31 \
  --pdf "$work/br010.pdf" 2>/dev/null

# The same rows in one statement, products and companies joined, as PostgreSQL runs it.
psql_sa <<'SQL' | grep -E '^Time' | tail -1 | sed 's/^/one set-based statement in PostgreSQL: /'
\timing on
create temporary table reference as
select m.island, m.gun_no, m.tran_time, m.car_no, m.ref_no2, m.shift, d.product_id, d.class,
  d.price, d.qty, d.amt, c.unit_name, coalesce(p.name, d.product_id) as product_name,
  round(coalesce(case when substr(d.product_id,1,7) = '113F 12' then c.discount_g
    else c.discount_d end, 0)::numeric * d.qty::numeric) as disamt
from tran m join tran_detl d on m.island = d.island and m.gun_no = d.gun_no
  and m.tran_time = d.tran_time
left join product p on p.product_id = d.product_id
left join cust_unit c on c.cust_id = m.ref_no2
where Date(m.tran_time) >= '2024/11/30' and Date(m.tran_time) <= '2025/01/01'
  and substr(m.shift,1,7) >= '1131201' and substr(m.shift,1,7) <= '1131231'
  and m.payment in ('903','904') and m.an_mark < '200'
order by m.tran_time;
SQL

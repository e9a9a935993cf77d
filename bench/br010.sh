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
  d.price, d.qty, d.amt, x.rate as discount, round(x.rate * coalesce(d.qty,0)::numeric) as disamt,
  coalesce(d.amt,0)::numeric - round(x.rate * coalesce(d.qty,0)::numeric) as payamt,
  case when c.cust_id is null then '' else c.unit_name end as comp_name,
  coalesce(p.name, trim(d.product_id)) as product_name,
  to_char(m.tran_time,'YYYY/MM/DD') as wdate, to_char(m.tran_time,'HH24:MI:SS') as wtime
from tran m cross join tran_detl d
left join product p on p.product_id = trim(d.product_id)
left join cust_unit c on c.cust_id = trim(m.ref_no2)
cross join lateral (select (case when c.cust_id is not null and d.class = '101' then
  coalesce(case when substr(d.product_id,1,7) = '113F 12' then c.discount_g
  else c.discount_d end, 0) else 0 end)::numeric as rate) x
where Date(m.tran_time) >= '2024/11/30' and Date(m.tran_time) <= '2025/01/01'
  and substr(m.shift,1,7) >= '1131201' and substr(m.shift,1,7) <= '1131231'
  and ((m.payment = '903') or (m.payment = '904')) and m.an_mark < '200'
  and m.island = d.island and m.gun_no = d.gun_no and m.tran_time = d.tran_time
order by m.tran_time;
SQL

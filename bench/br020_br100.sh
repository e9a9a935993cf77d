#!/usr/bin/env bash
# BR020 and BR100 on a busy month: a generated station with about 100,000 charge lines in
# December 2024, each report built and rendered to PDF and exported by the command line,
# against the time PostgreSQL itself needs for one set-based statement that yields the same
# rows.
#   bench/br020_br100.sh [sales-per-day]
set -euo pipefail
sales=${1:-18600}
source "$(dirname "$0")/bench_station.sh"
export XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=offscreen
"$tolvar" demo-db --days 31 --sales-per-day "$sales" --last-day 2024/12/31 2>/dev/null
psql_sa -c "analyze" # a station's database has its statistics; a fresh load has none yet
echo "charge lines in December: $(psql_sa -Atc "select count(*) from tran m, tran_detl d
  where m.payment in ('903','904') and m.an_mark < '200' and m.island = d.island
  and m.gun_no = d.gun_no and m.tran_time = d.tran_time")"
echo "U-card sales in December: $(psql_sa -Atc "select count(*) from tran m, dcard_mbr d
  where m.ref_no4 = d.dcard_no and m.an_mark < '200'")"

timed() { # label, command...: runs the command, prints its output and its wall time
  local label=$1 start end
  shift
  start=$(date +%s%N)
  "$@" 2>/dev/null
  end=$(date +%s%N)
  printf '%s: %d ms in all\n' "$label" $(((end - start) / 1000000))
}
for basis in 1 2; do
  timed "BR020 basis $basis PDF" "$tolvar" report BR020 --from 2024/12/01 --to 2024/12/31 \
    --basis $basis --pdf "$work/br020.pdf"
  timed "BR100 basis $basis PDF" "$tolvar" report BR100 --from 2024/12/01 --to 2024/12/31 \
    --basis $basis --pdf "$work/br100.pdf"
done
timed "BR020 export" "$tolvar" report BR020 --from 2024/12/01 --to 2024/12/31 \
  --sylk "$work/br020.xls"
timed "BR100 export" "$tolvar" report BR100 --from 2024/12/01 --to 2024/12/31 \
  --sylk "$work/br100.xls"

# BR020's rows in one statement: per company the fuels' litres and amounts net of each
# line's own rounded discount, everything else at its amount.
psql_sa <<'SQL' | grep -E '^Time' | tail -1 | sed 's/^/BR020, one set-based statement in PostgreSQL: /'
set enable_nestloop = off;
\timing on
create temporary table reference as
select l.comp_no, max(l.comp_name) as comp_name,
  sum(case when l.product_id = '113F 51101001' then l.qty else 0 end) as qty300,
  sum(case when l.product_id = '113F 51101001' then l.net else 0 end) as amt300,
  sum(case when l.product_id = '113F 12092005' then l.qty else 0 end) as qty200,
  sum(case when l.product_id = '113F 12092005' then l.net else 0 end) as amt200,
  sum(case when l.product_id = '113F 12095001' then l.qty else 0 end) as qty500,
  sum(case when l.product_id = '113F 12095001' then l.net else 0 end) as amt500,
  sum(case when l.product_id = '113F 12098008' then l.qty else 0 end) as qty800,
  sum(case when l.product_id = '113F 12098008' then l.net else 0 end) as amt800,
  sum(case when l.fuel then 0 else l.amt end) as amtsub,
  sum(case when l.fuel then l.qty else 0 end) as qtytot,
  sum(case when l.fuel then l.net else l.amt end) as amttot
from (select coalesce(trim(m.ref_no2), '') as comp_no, coalesce(c.unit_name, '') as comp_name,
    d.product_id, d.product_id in ('113F 51101001', '113F 12092005', '113F 12095001',
    '113F 12098008') as fuel, round(coalesce(d.qty,0)::numeric, 2) as qty,
    round(coalesce(d.amt,0)::numeric) as amt,
    round(coalesce(d.amt,0)::numeric - round(x.rate * coalesce(d.qty,0)::numeric)) as net
  from tran m join tran_detl d on m.island = d.island and m.gun_no = d.gun_no
    and m.tran_time = d.tran_time
  left join cust_unit c on c.cust_id = trim(m.ref_no2)
  cross join lateral (select (case when c.cust_id is not null and d.class = '101' then
    coalesce(case when substr(d.product_id,1,7) = '113F 12' then c.discount_g
    else c.discount_d end, 0) else 0 end)::numeric as rate) x
  where Date(m.tran_time) >= '2024/11/30' and Date(m.tran_time) <= '2025/01/01'
    and substr(m.shift,1,7) >= '1131201' and substr(m.shift,1,7) <= '1131231'
    and m.payment in ('903', '904') and m.an_mark < '200') l
group by l.comp_no order by l.comp_no;
SQL

# BR100's rows in one statement: the registered card sales with their fuel line and
# discount line (one of each a sale in the generated station), in the order of sort 1.
psql_sa <<'SQL' | grep -E '^Time' | tail -1 | sed 's/^/BR100, one set-based statement in PostgreSQL: /'
set enable_nestloop = off;
\timing on
create temporary table reference as
select m.island, m.gun_no, m.tran_time, m.car_no, m.ref_no4, m.shift, f.product_id, f.name,
  coalesce(f.price, 0) as price, coalesce(f.qty, 0) as qty, coalesce(f.amt, 0) as amt,
  coalesce(k.amt, 0) as disamt, 0 - coalesce(k.amt, 0) as damt, substr(m.shift,9,1) as class,
  date(m.tran_time) as tdate, coalesce(f.amt, 0) + coalesce(k.amt, 0) as payamt
from tran m join dcard_mbr d on m.ref_no4 = d.dcard_no
left join (select a.island, a.gun_no, a.tran_time, a.product_id, b.name, a.price, a.qty, a.amt
  from tran_detl a join product b on a.product_id = b.product_id where a.class = '101'
    and Date(a.tran_time) >= '2024/11/30' and Date(a.tran_time) <= '2025/01/01'
    and substr(a.shift,1,7) >= '1131201' and substr(a.shift,1,7) <= '1131231') f
  on f.island = m.island and f.gun_no = m.gun_no and f.tran_time = m.tran_time
left join (select island, gun_no, tran_time, amt from tran_detl where class = '131'
    and Date(tran_time) >= '2024/11/30' and Date(tran_time) <= '2025/01/01'
    and substr(shift,1,7) >= '1131201' and substr(shift,1,7) <= '1131231') k
  on k.island = m.island and k.gun_no = m.gun_no and k.tran_time = m.tran_time
where Date(m.tran_time) >= '2024/11/30' and Date(m.tran_time) <= '2025/01/01'
  and substr(m.shift,1,7) >= '1131201' and substr(m.shift,1,7) <= '1131231'
  and m.an_mark < '200'
order by tdate, m.shift, m.tran_time, m.island, m.gun_no;
SQL

-- BR060 done the slow way, one source row at a time, as the report was first written: look
-- the product up in the work table, then insert or update it, every figure rounded by the
-- table as it is written. The benchmark and the tests compare the report's own build with it.
--   select pg_temp.br060_reference('1131201', '1131231');  -- fills tbr060_reference
create or replace function pg_temp.br060_reference(k1 text, k2 text) returns void
language plpgsql as $body$
declare
  r record;
  w record;
  s numeric;
begin
  drop table if exists tbr060_reference;
  create temporary table tbr060_reference (product_id varchar(20), product_name varchar(40),
    bqty decimal(18,0) DEFAULT '0', iqty decimal(18,0) DEFAULT '0', iamt decimal(18,0) DEFAULT '0',
    iprice decimal(18,4) DEFAULT '0.0000', oqty decimal(18,0) DEFAULT '0',
    oamt decimal(18,0) DEFAULT '0', eamt decimal(18,0) DEFAULT '0', dqty decimal(18,0) DEFAULT '0',
    sqty decimal(18,0) DEFAULT '0', samt decimal(18,0) DEFAULT '0');
  -- the opening stock: the first shift of the start day
  for r in SELECT m.*, d.name FROM shift_04_stock as m, product as d
           where substr(m.shift,1,7) = k1 and m.product_id = d.product_id order by m.shift loop
    perform 1 from tbr060_reference where product_id = trim(r.product_id);
    if not found then
      insert into tbr060_reference (product_id, product_name, bqty, iprice, sqty, samt)
      values (trim(r.product_id), trim(r.name), r.bef_stock, r.in_price, r.bef_stock,
              round(r.in_price::numeric * r.bef_stock::numeric));
    end if;
  end loop;
  -- the movements of the range
  for r in SELECT product_id, sum(in_qty) as iqty, sum(in_qty*in_price) as iamt,
             sum(sale_qty+abert_qty) as oqty, sum(sale_amt+abert_qty*sale_price) as oamt,
             sum((sale_qty+abert_qty)*(sale_price-in_price)) as eamt, sum(check_qty) as dqty
           FROM shift_04_stock where substr(shift,1,7) >= k1 and substr(shift,1,7) <= k2
           group by product_id order by product_id loop
    select * into w from tbr060_reference where product_id = trim(r.product_id);
    if found then
      s := w.bqty + coalesce(r.iqty, 0) - coalesce(r.oqty, 0) + coalesce(r.dqty, 0);
      update tbr060_reference set iqty = coalesce(r.iqty, 0), iamt = coalesce(r.iamt, 0),
        oqty = coalesce(r.oqty, 0), oamt = coalesce(r.oamt, 0), eamt = coalesce(r.eamt, 0),
        dqty = coalesce(r.dqty, 0), sqty = s, samt = round(w.iprice * s)
      where product_id = trim(r.product_id);
    else
      s := coalesce(r.iqty, 0) - coalesce(r.oqty, 0) + coalesce(r.dqty, 0);
      -- named from the product list, or by its id, where the first version left it blank
      insert into tbr060_reference (product_id, product_name, bqty, iqty, iamt, oqty, oamt, eamt,
                                    dqty, sqty, samt)
      values (trim(r.product_id),
              coalesce(nullif(trim((select min(name) from product d
                                    where d.product_id = r.product_id)), ''), trim(r.product_id)),
              0, coalesce(r.iqty, 0), coalesce(r.iamt, 0),
              coalesce(r.oqty, 0), coalesce(r.oamt, 0), coalesce(r.eamt, 0),
              coalesce(r.dqty, 0), s,
              case when coalesce(r.iqty, 0) <> 0 then round(r.iamt::numeric * s / r.iqty::numeric)
                   else 0 end);
    end if;
  end loop;
  -- the closing stock: the last shift of the end day
  for r in SELECT m.*, d.name FROM shift_04_stock as m, product as d
           where substr(m.shift,1,7) = k2 and m.product_id = d.product_id order by m.shift loop
    update tbr060_reference set product_name = trim(r.name), iprice = r.in_price,
      sqty = r.stock, samt = round(r.in_price::numeric * r.stock::numeric)
    where product_id = trim(r.product_id);
  end loop;
end
$body$;

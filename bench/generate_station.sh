#!/usr/bin/env bash
# Times the demo generator on a busy station: a year at 2,000 sales a day, generated and
# loaded into a throwaway cluster, then a few reading statements over it.
#   bench/generate_station.sh [days] [sales-per-day]
set -euo pipefail
days=${1:-365}
sales=${2:-2000}
source "$(dirname "$0")/bench_station.sh"
start=$(date +%s%N)
"$tolvar" demo-db --days "$days" --sales-per-day "$sales" --last-day 2024/12/31
end=$(date +%s%N)
ms=$(((end - start) / 1000000))
printf 'generated and loaded %s days x %s sales in %d.%03d s\n' "$days" "$sales" $((ms / 1000)) $((ms % 1000))
PGPASSWORD=$db_password psql -X -h 127.0.0.1 -p "$port" -U sa pos_data -c \
  "select relname, n_live_tup from pg_stat_user_tables order by n_live_tup desc limit 6"

# Sourced by the BR060 and BR080 benchmarks after bench_station.sh: `through_office_network
# DELAY_US COMMAND...` runs COMMAND with config.ini pointing at bench/latency_proxy, which
# holds every chunk DELAY_US microseconds each way, as the network of a station office.
proxy_bin=$work/latency_proxy
g++ -O2 -std=c++17 -pthread "$root_dir/bench/latency_proxy.cpp" -o "$proxy_bin"
through_office_network() {
  local delay=$1 proxy_port pid
  shift
  proxy_port=$(free_port $((port + 100)))
  "$proxy_bin" "$proxy_port" "$port" "$delay" &
  pid=$!
  sleep 0.3
  printf '[Global]\r\nDBServerName=127.0.0.1\r\nDBPort=%s\r\n' "$proxy_port" >"$work/config.ini"
  "$@" || true
  printf '[Global]\r\nDBServerName=127.0.0.1\r\nDBPort=%s\r\n' "$port" >"$work/config.ini"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
}

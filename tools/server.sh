#!/usr/bin/env bash
# A PostgreSQL server for trying out named servers, apart from any system cluster:
# its data folder beside the demo databases, its own port, trust logins from this
# machine only. "start" also names it "Demo" in the "Servers" section of the demo
# settings, so that `velkmod-cli demo --server Demo` can put the demo repository on it.
#
#   tools/server.sh start | stop | status
set -euo pipefail

demo="${XDG_DATA_HOME:-$HOME/.local/share}/velkmod-demo"
data="${VELK_DATA_DIR:-$demo}"
settings="${VELK_SETTINGS:-$data/velkmod.conf}"
port="${VELK_PG_PORT:-54329}"
dir="$data/pg"
run=()
if [ "$(id -u)" -eq 0 ]; then
  # PostgreSQL refuses to run as root; "nobody" cannot reach into root's home.
  dir="${TMPDIR:-/tmp}/velkmod-demo-pg"
  run=(runuser -u nobody --)
fi
bin="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)"
[ -x "$bin/pg_ctl" ] || { echo "PostgreSQL is not installed: run tools/deps.sh" >&2; exit 1; }
conninfo="host=127.0.0.1 port=$port user=velkmod dbname=velkmod"

name_in_settings() {
  mkdir -p "$(dirname "$settings")"
  touch "$settings"
  grep -q '^Demo=' "$settings" && return
  if grep -q '^\[Servers\]' "$settings"; then
    sed -i "/^\[Servers\]/a Demo=\"$conninfo\"" "$settings"
  else
    printf '\n[Servers]\nDemo="%s"\n' "$conninfo" >>"$settings"
  fi
}

case "${1:-}" in
  start)
    if [ ! -f "$dir/PG_VERSION" ]; then
      mkdir -p "$dir"
      [ ${#run[@]} -eq 0 ] || chown nobody "$dir"
      "${run[@]}" "$bin/initdb" -D "$dir" -U velkmod --auth=trust -E UTF8 --locale=C >/dev/null
    fi
    "${run[@]}" "$bin/pg_ctl" -D "$dir" -l "$dir/server.log" -w start \
      -o "-p $port -k $dir -c listen_addresses=127.0.0.1" >/dev/null
    "${run[@]}" "$bin/psql" -h 127.0.0.1 -p "$port" -U velkmod -d postgres -tAq \
      -c "SELECT 1 FROM pg_database WHERE datname = 'velkmod'" | grep -q 1 ||
      "${run[@]}" "$bin/createdb" -h 127.0.0.1 -p "$port" -U velkmod velkmod
    name_in_settings
    echo "Server \"Demo\" runs on port $port ($dir); named in $settings"
    echo "Next: VELK_DATA_DIR=$data VELK_SETTINGS=$settings build/tools/cli/velkmod-cli demo --server Demo"
    ;;
  stop)
    "${run[@]}" "$bin/pg_ctl" -D "$dir" -w stop -m fast
    ;;
  status)
    "${run[@]}" "$bin/pg_ctl" -D "$dir" status
    ;;
  *)
    echo "usage: tools/server.sh start|stop|status" >&2
    exit 2
    ;;
esac

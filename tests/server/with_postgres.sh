#!/bin/sh
# Runs a test program inside a throw-away PostgreSQL cluster (pg_virtualenv sets
# PGHOST and friends for it). Where no cluster can be started the run is
# skipped, with the reason, instead of failing.
marker=$(mktemp)
rm -f "$marker"
pg_virtualenv sh -c 'touch "$0" && exec "$@"' "$marker" "$@"
status=$?
if [ ! -e "$marker" ]; then
  echo "skipped: pg_virtualenv could not start a PostgreSQL cluster (exit $status)"
  exit 77
fi
rm -f "$marker"
exit $status

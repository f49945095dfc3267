#!/usr/bin/env bash
# Lintian on both packages must report no error; warnings are listed.
#   lintian_test.sh PACKAGE_DIR
set -u
packages=${1:?package directory}
command -v lintian >/dev/null || { echo "no lintian here" >&2; exit 77; }
debs=("$packages"/zenx_*.deb "$packages"/zenx-exchange_*.deb)
for deb in "${debs[@]}"; do
    [[ -f "$deb" ]] || { echo "FAIL: missing $deb" >&2; exit 1; }
done
lintian --fail-on error "${debs[@]}"

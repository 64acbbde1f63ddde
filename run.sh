#!/usr/bin/env bash
# Installs what is missing, builds everything, and shows the bundled sample table.
set -euo pipefail
source "$(dirname "$0")/scripts/common.sh"

"$root/scripts/install-deps.sh"
build_all
exec "$build_native/bin/tbltool" info "$build_native/samples/sample.tbl"

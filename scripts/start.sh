#!/usr/bin/env bash
# Installs, builds and starts Vantrelo.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
exec build/app/vantrelo "$@"

#!/usr/bin/env bash
# Installs the browser tests' npm packages from the lockfile, once; never a
# browser (the tests drive the system's chromium). npm trusts the machine's
# own certificate store besides its built-in one, as apt and curl do, so a
# machine whose network reaches the registry through its own certificate
# authority can fetch them.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
[ -d "$HERE/node_modules/puppeteer-core" ] && exit 0
store=/etc/ssl/certs/ca-certificates.crt
if [ -z "${NODE_EXTRA_CA_CERTS:-}" ] && [ -f "$store" ]; then export NODE_EXTRA_CA_CERTS=$store; fi
cd "$HERE"
PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund >/dev/null

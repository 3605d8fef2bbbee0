#!/usr/bin/env bash
# The README's two commands on a fresh Debian 12 machine: builds a minimal
# Debian 12 root with debootstrap, copies a clean clone of HEAD into it and
# runs the commands there as root, in a new user's order: `make demo` then
# `make check` in one root, and `make check` alone in another, for each
# route. Prints each run's summary lines and its time, and removes what it
# mounted and made. Needs root.
#
#   tools/fresh-machine.sh [ROUTE...]   routes: 32, 64, auto (default: 32 64)
#
# The roots take their package sources and any proxy from this machine's own
# apt configuration. Where this kernel cannot run 32-bit programs (or
# FRESH_PRETEND_NO_32BIT=1 says so, to prove that case on one that can),
# route 32 still installs its packages and runs every step but Wine's, and
# each Wine step says `left out: ...` with the reason.
#
# Full logs stay in build/fresh/route-ROUTE-demo-check.log and
# build/fresh/route-ROUTE-check.log.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
WORK=$ROOT/build/fresh
routes=("$@")
[ ${#routes[@]} -gt 0 ] || routes=(32 64)
source "$ROOT/tools/wine-route.sh"  # can_run_32bit

[ "$(id -u)" -eq 0 ] || { echo "fresh-machine: run it as root (debootstrap and chroot)" >&2; exit 1; }
command -v debootstrap >/dev/null ||
  DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends debootstrap >/dev/null

MOUNTS=()
# Ends what still runs inside root $1 (started by its run), by pid.
end_processes_in() {
  local link pid
  for link in /proc/[0-9]*/root; do
    pid=${link#/proc/}
    pid=${pid%/root}
    [ "$(readlink "$link" 2>/dev/null)" = "$1" ] && kill -9 "$pid" 2>/dev/null
  done
  return 0
}
unmount_all() {
  local i
  for ((i = ${#MOUNTS[@]} - 1; i >= 0; i--)); do umount -l "${MOUNTS[$i]}" 2>/dev/null || true; done
  MOUNTS=()
}
cleanup() {
  local dir
  for dir in "$WORK"/root-*; do [ -d "$dir" ] && end_processes_in "$dir"; done
  unmount_all
  rm -rf "$WORK"/base "$WORK"/root-* "$WORK"/clone
}
trap cleanup EXIT

# This machine's package source files: the one-line lists and the deb822
# .sources files that apt reads.
source_files() {
  local file
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] && echo "$file"
  done
  return 0
}

# Every enabled "deb" source of those files as "URI SUITE" lines.
deb_sources() {
  local file
  while read -r file; do
    case $file in
      *.sources)
        awk 'function flush() { if (types ~ /(^| )deb( |$)/ && enabled !~ /^(no|false)$/)
                                  for (i = 1; i <= nu; i++) for (j = 1; j <= ns; j++) print u[i], s[j]
                                types = ""; enabled = ""; nu = 0; ns = 0 }
             /^#/ { next }
             /^[ \t]*$/ { flush(); next }
             { key = tolower($1); sub(/:$/, "", key); $1 = ""; sub(/^ +/, "") }
             key == "types" { types = $0 } key == "enabled" { enabled = tolower($0) }
             key == "uris" { nu = split($0, u, " ") } key == "suites" { ns = split($0, s, " ") }
             END { flush() }' "$file" ;;
      *)
        sed -E 's/#.*//; s/\[[^]]*\]//' "$file" | awk '$1 == "deb" { print $2, $3 }' ;;
    esac
  done < <(source_files)
}

# The keyrings the source files name (Signed-By / signed-by=), when files.
named_keyrings() {
  source_files | xargs -r grep -ohiE '(signed-by[:=] *)/[^] ,]+' | sed -E 's/^[^/]*//' | sort -u
}

# The proxy settings of apt's configuration, as apt.conf lines.
proxy_settings() { apt-config dump | grep -iE '^Acquire::[a-z]+::Proxy(::[^ ]+)? ' || true; }

# A Debian 12 root as debootstrap makes it, with make (the one command the
# README's set-up assumes), fetched from this machine's Debian 12 source and
# given this machine's package sources and proxy.
make_base() {
  local mirror http_proxy https_proxy keyring
  mirror=$(deb_sources | awk '$2 == "bookworm" { print $1; exit }')
  [ -n "$mirror" ] || { echo "fresh-machine: no Debian 12 (bookworm) source in this machine's apt sources" >&2; exit 1; }
  eval "$(apt-config shell http_proxy Acquire::http::Proxy https_proxy Acquire::https::Proxy)"
  rm -rf "$WORK/base"
  mkdir -p "$WORK"
  http_proxy=${http_proxy:-} https_proxy=${https_proxy:-} \
    debootstrap --variant=minbase --include=make bookworm "$WORK/base" "$mirror" >"$WORK/debootstrap.log" 2>&1 ||
    { tail -20 "$WORK/debootstrap.log"; exit 1; }
  rm -f "$WORK/base/etc/apt/sources.list"
  source_files | while read -r file; do cp "$file" "$WORK/base$file"; done
  named_keyrings | while read -r keyring; do
    if [ -f "$keyring" ] && [ ! -e "$WORK/base$keyring" ]; then
      install -D -m 644 "$keyring" "$WORK/base$keyring"
    fi
  done
  proxy_settings >"$WORK/base/etc/apt/apt.conf.d/01proxy-of-the-machine"
  cp /etc/resolv.conf "$WORK/base/etc/resolv.conf"
  # The network's own certificate authorities, as a machine on this network
  # has them; installing ca-certificates adds them to the root's store.
  if compgen -G '/usr/local/share/ca-certificates/*.crt' >/dev/null; then
    mkdir -p "$WORK/base/usr/local/share/ca-certificates"
    cp /usr/local/share/ca-certificates/*.crt "$WORK/base/usr/local/share/ca-certificates/"
  fi
}

mount_into() {
  local root=$1
  mount -t proc proc "$root/proc" && MOUNTS+=("$root/proc")
  mount --bind /dev "$root/dev" && MOUNTS+=("$root/dev")
  # Mounts below the bound /dev must not reach the machine's own /dev.
  mount --make-rslave "$root/dev"
  mkdir -p "$root/dev/shm"
  mount -t tmpfs tmpfs "$root/dev/shm" && MOUNTS+=("$root/dev/shm")
  mount -t tmpfs tmpfs "$root/tmp" && MOUNTS+=("$root/tmp")
}

# The summary lines of a run's log.
summary() {
  grep -aE '^(fresh: |install-deps: |wine route: |left out: |table refusals: |demo: |layers: |binaries: |wine: |check_cases: |image_cases: |[a-z0-9_]+: [0-9]+ passed, [0-9]+ failed$)|tests passed|tests failed|^make: \*\*\*|Error [0-9]' "$1" |
    grep -v '^install-deps: installing' || true
}

# Why route $1's Wine steps cannot run here; nothing when they can.
wine_left_out_reason() {
  [ "$1" = 32 ] || return 0
  if [ "${FRESH_PRETEND_NO_32BIT:-}" = 1 ]; then
    echo "this kernel cannot run 32-bit programs (FRESH_PRETEND_NO_32BIT=1)"
  elif ! can_run_32bit; then
    echo "this kernel cannot run 32-bit programs"
  fi
}

# Route $1 in a root of its own, with the commands $2 ("demo check": a new
# user's order; "check": check alone).
run_route() {
  local route=$1 commands=$2 name root log env_route=() reason start status
  name=$route-${commands// /-}
  root=$WORK/root-$name log=$WORK/route-$name.log
  rm -rf "$root"
  cp -a "$WORK/base" "$root"
  cp -a "$WORK/clone" "$root/root/discscreen"
  mount_into "$root"
  [ "$route" = auto ] || env_route=(WINE_ROUTE="$route")
  reason=$(wine_left_out_reason "$route")
  [ -z "$reason" ] || env_route+=(FRESH_WINE_LEFT_OUT="$reason")
  start=$SECONDS
  status=0
  env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
    "${env_route[@]}" chroot "$root" bash -c '
      cd /root/discscreen
      overall=0
      for command in '"$commands"'; do
        s=$SECONDS; make "$command"; status=$?
        echo "fresh: make $command exit $status in $((SECONDS - s)) s"
        [ $status = 0 ] || overall=1
      done
      exit $overall' >"$log" 2>&1 || status=$?
  echo "== route $route, make ${commands// / then make }: exit $status after $(((SECONDS - start) / 60)) min $(((SECONDS - start) % 60)) s"
  summary "$log" | sed 's/^/   /'
  end_processes_in "$root"
  unmount_all
  rm -rf "$root"
  return $status
}

rm -rf "$WORK/clone"
git -C "$ROOT" clone -q "$ROOT" "$WORK/clone"
echo "fresh-machine: $(git -C "$WORK/clone" log -1 --format='%h %s'), routes: ${routes[*]}"
start=$SECONDS
make_base
echo "fresh-machine: Debian 12 root made in $((SECONDS - start)) s from $(deb_sources | awk '$2 == "bookworm" { print $1; exit }')"
overall=0
# A new user's order on every route first, then check alone on each.
for commands in "demo check" check; do
  for route in "${routes[@]}"; do
    run_route "$route" "$commands" || overall=1
  done
done
exit $overall

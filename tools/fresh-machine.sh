#!/usr/bin/env bash
# The README's two commands on a fresh Debian 12 machine: builds a minimal
# Debian 12 root with debootstrap, copies a clean clone of HEAD into it and
# runs `make demo` and `make check` there as root, once per route, each in a
# root of its own. Prints each run's summary lines and its time, and removes
# what it mounted and made. Needs root.
#
#   tools/fresh-machine.sh [ROUTE...]   routes: 32, 64, auto (default: 32 64)
#
# Full logs stay in build/fresh/route-ROUTE.log.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
WORK=$ROOT/build/fresh
MIRROR=${FRESH_MIRROR:-http://deb.debian.org/debian}
routes=("$@")
[ ${#routes[@]} -gt 0 ] || routes=(32 64)

[ "$(id -u)" -eq 0 ] || { echo "fresh-machine: run it as root (debootstrap and chroot)" >&2; exit 1; }
command -v debootstrap >/dev/null ||
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null

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

# A Debian 12 root as debootstrap makes it, with make (the one command the
# README's set-up assumes) and the package sources of a fresh machine.
make_base() {
  rm -rf "$WORK/base"
  mkdir -p "$WORK"
  debootstrap --variant=minbase --include=make bookworm "$WORK/base" "$MIRROR" >"$WORK/debootstrap.log" 2>&1 ||
    { tail -20 "$WORK/debootstrap.log"; exit 1; }
  cat >"$WORK/base/etc/apt/sources.list" <<EOF
deb $MIRROR bookworm main
deb $MIRROR bookworm-updates main
deb ${MIRROR%/debian}/debian-security bookworm-security main
EOF
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
  grep -aE '^(fresh: |install-deps: |wine route: |demo: |layers: |binaries: |wine: |check_cases: |image_cases: |[a-z0-9_]+: [0-9]+ passed, [0-9]+ failed$)|tests passed|tests failed|^make: \*\*\*|Error [0-9]' "$1" |
    grep -v '^install-deps: installing' || true
}

run_route() {
  local route=$1 root=$WORK/root-$1 log=$WORK/route-$1.log env_route=() start status
  rm -rf "$root"
  cp -a "$WORK/base" "$root"
  cp -a "$WORK/clone" "$root/root/discscreen"
  mount_into "$root"
  [ "$route" = auto ] || env_route=(WINE_ROUTE="$route")
  start=$SECONDS
  status=0
  env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
    "${env_route[@]}" chroot "$root" bash -c '
      cd /root/discscreen
      s=$SECONDS; make demo; demo=$?; echo "fresh: make demo exit $demo in $((SECONDS - s)) s"
      s=$SECONDS; make check; check=$?; echo "fresh: make check exit $check in $((SECONDS - s)) s"
      [ $demo = 0 ] && [ $check = 0 ]' >"$log" 2>&1 || status=$?
  echo "== route $route: exit $status after $(((SECONDS - start) / 60)) min $(((SECONDS - start) % 60)) s"
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
echo "fresh-machine: Debian 12 root made in $((SECONDS - start)) s"
overall=0
for route in "${routes[@]}"; do
  run_route "$route" || overall=1
done
exit $overall

#!/usr/bin/env bash
# tools/setup.sh against a Debian mirror of our own, as a new machine meets a real one: an
# index whose size is not the one its Release gives (a mirror in mid-sync), a package
# manager that holds the lock, a package the mirror does not have, 32-bit Wine that cannot
# be installed. Each case runs the clone's tools/setup.sh in a throwaway copy (an overlay)
# of a Debian system that tools/setup.sh has set up, in a network of its own where the
# mirror is served on the loopback; the system itself is not changed.
#   tests/e2e/mirror.sh TREE CLONE            (as root) CLONE: the clone's path inside TREE
#   tests/e2e/mirror.sh TREE CLONE --readme   tools/run.sh and tools/test.sh behind the
#                                             mirror in mid-sync, from a clone with no build
#                                             yet, instead of the cases
set -euo pipefail
TREE=$1 CLONE=$2 MODE=${3:-}
if [ -z "${NAVOLET_MIRROR_NS:-}" ]; then
  NAVOLET_MIRROR_NS=1 exec unshare -m -n --propagation private "$0" "$@"
fi
LAB=$(mktemp -d /tmp/navolet-mirror.XXXXXX)
M=$LAB/root
ip link set lo up
trap 'kill $(jobs -p) 2>/dev/null; wait; umount -R "$M" 2>/dev/null; rm -rf --one-file-system "$LAB"' EXIT

# A package of our own: NAME [SECONDS its installation takes].
package() {
  local d=$LAB/src/$1
  mkdir -p "$d/DEBIAN" "$LAB/pool"
  printf 'Package: %s\nVersion: 99\nArchitecture: all\nMaintainer: Navolet <dev@navolet.invalid>\nDescription: stand-in\n' \
    "$1" >"$d/DEBIAN/control"
  [ -z "${2:-}" ] || { printf '#!/bin/sh\nsleep %s\n' "$2" >"$d/DEBIAN/preinst"; chmod 755 "$d/DEBIAN/preinst"; }
  dpkg-deb -Zgzip --root-owner-group -b "$d" "$LAB/pool/$1.deb" >/dev/null
}
# A suite of the mirror: NAME PACKAGE... Where STALE is the name, its Release gives the
# index one byte more than the file served, as a mirror's in mid-sync does.
suite() {
  local name=$1 p f=main/binary-amd64/Packages size
  shift
  mkdir -p "$LAB/mirror/dists/$name/main/binary-amd64" && : >"$LAB/mirror/dists/$name/$f"
  for p in "$@"; do
    { dpkg-deb -f "$LAB/pool/$p.deb"; echo "Filename: pool/$p.deb"; echo "Size: $(stat -c %s "$LAB/pool/$p.deb")"
      echo "SHA256: $(sha256sum <"$LAB/pool/$p.deb" | cut -d' ' -f1)"; echo; } >>"$LAB/mirror/dists/$name/$f"
  done
  size=$(stat -c %s "$LAB/mirror/dists/$name/$f")
  [ "$name" != stale ] || size=$((size + 1))
  printf 'Suite: %s\nCodename: %s\nDate: %s\nArchitectures: amd64\nComponents: main\nSHA256:\n %s %s %s\n' "$name" "$name" \
    "$(date -uR)" "$(sha256sum <"$LAB/mirror/dists/$name/$f" | cut -d' ' -f1)" "$size" "$f" >"$LAB/mirror/dists/$name/Release"
}
package x11-apps && package navolet-busy 10 && package navolet-extra
suite good x11-apps navolet-busy && suite stale navolet-extra
ln -s ../pool "$LAB/mirror/pool"
(cd "$LAB/mirror" && exec python3 -m http.server -b 127.0.0.1 8080 >/dev/null 2>&1) &
for _ in $(seq 50); do (echo >/dev/tcp/127.0.0.1/8080) 2>/dev/null && break; sleep 0.1; done

# A fresh copy of the system that knows only this mirror, with PACKAGES taken out of it.
fresh() {
  umount -R "$M" 2>/dev/null || true
  rm -rf "$LAB/upper" "$LAB/work" && mkdir -p "$LAB/upper" "$LAB/work" "$M"
  mount -t overlay overlay -o "lowerdir=$TREE,upperdir=$LAB/upper,workdir=$LAB/work" "$M"
  mount -t proc proc "$M/proc" && mount --bind /dev "$M/dev" && mount --bind /dev/pts "$M/dev/pts"
  mount -t tmpfs -o mode=1777 shm "$M/dev/shm"
  rm -rf "$M/etc/apt/sources.list" "$M"/etc/apt/sources.list.d/* "$M"/var/lib/apt/lists/*_*
  printf 'deb [trusted=yes] http://127.0.0.1:8080 %s main\n' good stale >"$M/etc/apt/sources.list.d/mirror.list"
  [ $# -eq 0 ] || chroot "$M" dpkg --purge --force-depends "$@" >/dev/null 2>&1 ||
    { echo "FAILED: could not take $* out of the copy of $TREE" >&2; exit 1; }
}
# A command in the copy, as the tools run there: a new shell in the clone.
in_copy() {
  chroot "$M" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb PATH=/usr/sbin:/usr/bin:/sbin:/bin \
    NAVOLET_APT_TRIES=2 NAVOLET_APT_PAUSE=1 ${NAVOLET_ONLY_64:+NAVOLET_ONLY_64=1} "$@"
}
setup() { rc=0; out=$(in_copy "$@" bash -c "cd $CLONE && tools/setup.sh" 2>&1) || rc=$?; }
installed() { [ "$(in_copy dpkg-query -W -f='${db:Status-Abbrev}' "$1" 2>/dev/null)" = "ii " ]; }
choice() { in_copy bash -c "cd $CLONE && source tools/env.sh && echo \"\$NAVOLET_ARCHS|\$NAVOLET_WHY\""; }

checks=0 failed=0
# check CASE WHAT COMMAND...: counts the check; a failure shows what setup printed.
check() {
  local case=$1 what=$2
  shift 2
  checks=$((checks + 1))
  "$@" && return 0
  failed=$((failed + 1))
  echo "FAILED: $case: $what; tools/setup.sh (status $rc) printed:"
  printf '%s\n' "$out" | sed 's/^/  | /'
}
says() { printf '%s\n' "$out" | grep -qF -- "$1"; }
says_re() { printf '%s\n' "$out" | grep -qE -- "$1"; }
matches() { [[ $1 == $2 ]]; }

if [ "$MODE" = --readme ]; then
  fresh x11-apps
  rm -rf "${M:?}$CLONE/build"
  status=0
  for command in tools/run.sh tools/test.sh; do
    echo "== $command, behind a mirror in mid-sync"
    in_copy bash -c "cd $CLONE && $command" || status=1
  done
  exit $status
fi

case="a mirror in mid-sync"
fresh x11-apps
setup
check "$case" "the run goes on" [ $rc -eq 0 ]
check "$case" "the index is named in apt's words" says "stale/main/binary-amd64/Packages  File has unexpected size"
check "$case" "it was tried again" says "(try 1 of 2); trying again in 1 s"
check "$case" "the run says it goes on without it" says "going on with the package lists apt has"
check "$case" "the package from the sound index is installed" installed x11-apps

case="a package manager that is running"
fresh x11-apps
in_copy apt-get update -qq >/dev/null 2>&1 || true
in_copy apt-get install -y -qq navolet-busy >/dev/null 2>&1 &
busy=$!
for _ in $(seq 100); do in_copy bash -c "source $CLONE/tools/apt.sh && navolet_apt_holder" >/dev/null && break; sleep 0.1; done
setup NAVOLET_APT_LOCK_WAIT=2
check "$case" "a bound that runs out fails" [ $rc -ne 0 ]
check "$case" "and names the process" says "still running after 2 s: process "
setup NAVOLET_APT_LOCK_WAIT=60
check "$case" "the run waits for it" [ $rc -eq 0 ]
check "$case" "and says for what" says "Waiting up to 60 s for another package manager to finish: process "
check "$case" "then goes on" says "it finished after"
check "$case" "the other package manager finished first" installed navolet-busy
check "$case" "then the package is installed" installed x11-apps
wait $busy || true

case="a package the mirror does not have"
fresh wine64
setup
check "$case" "the run fails" [ $rc -ne 0 ]
check "$case" "naming the package" says "these packages could not be installed: wine64"
check "$case" "with apt's reason" says_re '^  apt: .*wine64'

check "$case" "and what to do" says "Run this again later"
check "$case" "nothing is left half-installed" [ -z "$(in_copy dpkg --audit 2>&1)" ]
check "$case" "the tools then see no Wine" [ "$(choice)" = "|64-bit Wine is not installed (tools/setup.sh installs it)" ]

case="32-bit Wine that cannot be installed"
if in_copy bash -c "cd $CLONE && source tools/env.sh && navolet_probe32" && [ -z "${NAVOLET_ONLY_64:-}" ]; then
  fresh wine32:i386
  setup
  check "$case" "the run goes on" [ $rc -eq 0 ]
  check "$case" "saying so with apt's reason" says "32-bit Wine could not be installed, so the tools take the 64-bit path (apt: E: "
  check "$case" "the tools take the 64-bit path" matches "$(choice)" "64|32-bit Wine could not be installed (apt: E: *"
  echo "mirror: $case: checked"
else
  echo "mirror: not run: $case, because 32-bit programs do not run here (or NAVOLET_ONLY_64 is set)"
fi

echo "mirror: $((checks - failed)) of $checks checks passed"
[ $failed -eq 0 ]

#!/usr/bin/env bash
# The README's two commands, tools/run.sh then tools/test.sh, on the other Debian release:
# Debian 13 ("trixie", Wine 10.0) beside this machine's. A minimal Debian 13 is made once
# with debootstrap from Debian's archive and kept in /var/cache/navolet/debian-trixie
# (NAVOLET_OTHER_DEBIAN), outside any clone, for later runs; nothing is installed into it
# here: the commands install what they need, as on a new machine. Each run puts a fresh
# clone of this repository's current commit into it (uncommitted changes are not in it),
# made with this machine's git because a minimal system has none, and enters it with
# chroot: tools/setup.sh first, with the network, then tools/run.sh and tools/test.sh
# without it. NAVOLET_ONLY_64 and CI are passed in. Needs root (or sudo).
#   tools/other-debian.sh [--anew]     --anew: make the system again first
set -euo pipefail
SUITE=trixie NAME="Debian 13"
MIRROR=http://deb.debian.org/debian
TREE=${NAVOLET_OTHER_DEBIAN:-/var/cache/navolet/debian-$SUITE}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
INSIDE=/root/navolet

if [ "$(id -u)" -ne 0 ]; then
  exec sudo --preserve-env=CI,NAVOLET_ONLY_64,NAVOLET_OTHER_DEBIAN "$0" "$@"
fi
# The clone may be another user's, when this runs through sudo.
COMMIT=$(git -c safe.directory="*" -C "$ROOT" rev-parse HEAD)

# One run at a time in the kept system: others on this machine may use it too.
mkdir -p "$(dirname "$TREE")"
exec 9>"$TREE.lock"
flock -n 9 || { echo "Waiting for another run of other-debian.sh in $TREE"; flock 9; }

# Everything mounted in the system (by debootstrap, or for a run) is mounted in a mount
# namespace of its own, which goes with its last process: no mount is ever left behind
# on this machine, even when a run is killed. The tree is removed only when nothing is
# mounted in it, and never across a file system's border.
mounts_in_tree() { awk -v t="$TREE" '$5 == t || index($5, t "/") == 1 { print $5 }' /proc/self/mountinfo; }
remove_tree() {
  if [ -n "$(mounts_in_tree)" ]; then
    echo "FAILED: not removing $TREE: something is mounted in it:" $(mounts_in_tree) >&2
    exit 1
  fi
  rm -rf --one-file-system "$TREE"
}
# Processes left running in the system (its root is theirs) are this tool's: ended by id.
end_leftovers() {
  local p
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/root" 2>/dev/null)" = "$TREE" ] && kill -9 "${p#/proc/}" 2>/dev/null || true
  done
}
trap end_leftovers EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# What this machine needs for it: debootstrap, and ip for the loopback of the runs' network.
need=()
command -v debootstrap >/dev/null || need+=(debootstrap)
command -v ip >/dev/null || need+=(iproute2)
if [ ${#need[@]} -gt 0 ]; then
  echo "Installing ${need[*]}"
  source "$ROOT/tools/apt.sh"
  navolet_apt_update
  navolet_apt_install "${need[@]}" || { navolet_apt_failed "${need[@]}"; exit 1; }
fi

[ "${1:-}" = --anew ] && [ -e "$TREE" ] && { echo "Removing $TREE to make it anew"; remove_tree; }
if [ ! -f "$TREE/.navolet-made" ]; then
  if [ -e "$TREE" ]; then echo "Removing an unfinished $TREE"; remove_tree; fi
  echo "Making $NAME ($SUITE, minbase) in $TREE from $MIRROR, once"
  start=$SECONDS
  # A mirror in mid-sync fails it now and then: tried again after a pause, from scratch.
  for ((try = 1; ; try++)); do
    unshare -m --propagation private debootstrap --variant=minbase "$SUITE" "$TREE" "$MIRROR" \
      >"$TREE.debootstrap.txt" 2>&1 && break
    if [ "$try" -ge "${NAVOLET_APT_TRIES:-3}" ]; then
      tail -n 20 "$TREE.debootstrap.txt" >&2
      echo "FAILED: debootstrap, $try times (log: $TREE.debootstrap.txt)" >&2
      exit 1
    fi
    echo "  debootstrap failed (try $try: $(tail -n 1 "$TREE.debootstrap.txt")); trying again in ${NAVOLET_APT_PAUSE:-15} s"
    remove_tree
    sleep "${NAVOLET_APT_PAUSE:-15}"
  done
  touch "$TREE/.navolet-made"
  echo "  made in $((SECONDS - start)) s"
fi

echo "A fresh clone of $COMMIT in $TREE$INSIDE"
rm -rf --one-file-system "$TREE$INSIDE"
git -c safe.directory="*" clone -q --no-hardlinks --no-checkout "$ROOT" "$TREE$INSIDE"
git -C "$TREE$INSIDE" checkout -q --detach "$COMMIT"

# Runs one command of the clone in the system, as a new user's shell would: nothing of
# this machine's environment goes in but NAVOLET_ONLY_64 and CI. Without NET, in a network
# of its own with only the loopback: an X server inside then cannot meet one outside
# (abstract socket names are per network), and nothing reaches out.
#   inside [NET] COMMAND...
inside() {
  local net=""
  [ "$1" = NET ] && net=1 && shift
  unshare -m --propagation private bash -c '
    set -e
    tree=$1 net=$2
    shift 2
    mount -t proc proc "$tree/proc"
    mount --bind /dev "$tree/dev"
    mount --bind /dev/pts "$tree/dev/pts"
    mount -t tmpfs -o mode=1777 shm "$tree/dev/shm"
    cp -L /etc/resolv.conf "$tree/etc/resolv.conf" 2>/dev/null || true
    run=(chroot "$tree" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb
         PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
         ${NAVOLET_ONLY_64:+NAVOLET_ONLY_64=$NAVOLET_ONLY_64} ${CI:+CI=$CI}
         bash -c "cd '"$INSIDE"' && \"\$@\"" bash "$@")
    if [ -n "$net" ]; then exec "${run[@]}"; fi
    exec unshare -n bash -c "ip link set lo up && exec \"\$@\"" bash "${run[@]}"
  ' bash "$TREE" "$net" "$@" </dev/null
}

status=0 summary=""
echo "== $NAME: tools/setup.sh (with the network: it installs what is missing)"
start=$SECONDS
inside NET tools/setup.sh || { echo "FAILED: tools/setup.sh in $NAME" >&2; exit 1; }
wine=$(inside NET wine --version 2>/dev/null | tail -n 1) || wine="Wine does not start"
release="$NAME ($(cat "$TREE/etc/debian_version"), ${wine/-/ })"
summary+="$release: tools/setup.sh passed in $((SECONDS - start)) s"$'\n'
for command in tools/run.sh tools/test.sh; do
  echo "== $release: $command"
  log=$TREE.${command#tools/}.txt start=$SECONDS rc=0
  inside "$command" 2>&1 | tee "$log" || rc=${PIPESTATUS[0]}
  end_leftovers
  result=passed
  [ "$rc" -eq 0 ] || result="FAILED (status $rc)" status=1
  summary+="$release: $command $result in $((SECONDS - start)) s"$'\n'
  # test.sh's own summary: what passed, per architecture.
  if [ "$command" = tools/test.sh ]; then
    summary+=$(sed -n '/^== Summary$/,$ { /^== Summary$/d; s/^/  /; p }' "$log")$'\n'
  fi
done
# The set-up against a mirror of our own: in mid-sync, locked, lacking a package.
echo "== $release: tools/setup.sh against a mirror of our own (tests/e2e/mirror.sh)"
log=$TREE.mirror.txt start=$SECONDS rc=0
"$ROOT/tests/e2e/mirror.sh" "$TREE" "$INSIDE" 2>&1 | tee "$log" || rc=${PIPESTATUS[0]}
end_leftovers
result=passed
[ "$rc" -eq 0 ] || result="FAILED (status $rc)" status=1
summary+="$release: tests/e2e/mirror.sh $result in $((SECONDS - start)) s: $(grep -E '^mirror: ' "$log" | sed 's/^mirror: //' | paste -sd ';' | sed 's/;/; /g')"$'\n'
echo "== Summary ($NAME, the clone and its screenshots in $TREE$INSIDE)"
printf '%s' "$summary"
exit $status

# Sourced by tools/setup.sh and tools/other-debian.sh: apt as a new machine meets it. A
# mirror in mid-sync answers one index with the wrong size for hours, and a fresh desktop
# runs its own upgrades at boot: neither may end a run that can go on without them.
#   NAVOLET_APT_LOCK_WAIT   seconds to wait for a package manager that is running (600)
#   NAVOLET_APT_TRIES       tries of `apt-get update` before going on without an index (3)
#   NAVOLET_APT_PAUSE       seconds between those tries (15)
APT_SUDO=""
[ "$(id -u)" -eq 0 ] || APT_SUDO="sudo"
APT_LOCKS=(/var/lib/dpkg/lock-frontend /var/lib/dpkg/lock /var/lib/apt/lists/lock /var/cache/apt/archives/lock)

# Who holds one of apt's and dpkg's locks: "process N (name) holds FILE", or nothing.
# /proc/locks is readable by every user and names the holder of each lock by the lock
# file's device and inode.
navolet_apt_holder() {
  local file id pid
  for file in "${APT_LOCKS[@]}"; do
    id=$(stat -c '%Hd %Ld %i' "$file" 2>/dev/null) || continue
    id=$(printf '%02x:%02x:%s' $id)
    pid=$(awk -v id="$id" '$2 != "->" && $6 == id { print $5; exit }' /proc/locks)
    [ -n "$pid" ] || continue
    echo "process $pid ($(cat "/proc/$pid/comm" 2>/dev/null || echo "ended")) holds $file"
    return 0
  done
  return 1
}

# Waits, within the bound, until no package manager holds a lock; says for what it waits.
navolet_apt_wait() {
  local bound=${NAVOLET_APT_LOCK_WAIT:-600} start=$SECONDS holder said=""
  while holder=$(navolet_apt_holder); do
    if [ $((SECONDS - start)) -ge "$bound" ]; then
      echo "FAILED: another package manager is still running after $bound s: $holder." >&2
      echo "  Let it finish (a fresh system's upgrades at boot take minutes), then run this again." >&2
      return 1
    fi
    [ -n "$said" ] || echo "Waiting up to $bound s for another package manager to finish: $holder"
    said=1
    sleep 1
  done
  [ -z "$said" ] || echo "  it finished after $((SECONDS - start)) s; going on"
}

# apt-get with the lock's wait inside apt too, for a manager that starts between our
# check and apt's own.
navolet_apt_get() {
  DEBIAN_FRONTEND=noninteractive $APT_SUDO apt-get -q -o DPkg::Lock::Timeout="${NAVOLET_APT_LOCK_WAIT:-600}" "$@"
}

# Fetches the package lists. An index that cannot be fetched is tried again a few times,
# then left out: apt keeps the lists it had, and the run goes on with what it can see.
navolet_apt_update() {
  local tries=${NAVOLET_APT_TRIES:-3} try out failed
  for ((try = 1; ; try++)); do
    navolet_apt_wait || return 1
    out=$(navolet_apt_get update 2>&1) && return 0
    failed=$(printf '%s\n' "$out" | grep -E '^(E|W|Err): ' | grep -v 'Some index files failed to download' || true)
    [ "$try" -lt "$tries" ] || break
    echo "apt-get update could not fetch everything (try $try of $tries); trying again in ${NAVOLET_APT_PAUSE:-15} s"
    sleep "${NAVOLET_APT_PAUSE:-15}"
  done
  echo "apt-get update could not fetch everything after $tries tries; going on with the package lists apt has. Apt said:"
  printf '%s\n' "${failed:-$(printf '%s\n' "$out" | tail -n 3)}" | sed 's/^/  | /'
}

# Why the last install failed, in apt's words: its errors and the dependencies it could
# not meet, one line each.
navolet_apt_reason() {
  printf '%s\n' "$1" | grep -E '^(E: |  *[^ ]+ : (Pre)?Depends: |Package .* is not available)' |
    sed 's/^ *//' | paste -sd ';' | sed 's/;/; /g' || true
}

# Installs packages in one step: all of them or, where apt cannot, none (it resolves and
# downloads everything before it unpacks anything). A dpkg run that was cut short, ours
# or another's, is finished first. On failure APT_REASON has apt's reason.
navolet_apt_install() {
  local out
  APT_REASON=""
  navolet_apt_wait || { APT_REASON="another package manager is running"; return 1; }
  out=$(navolet_apt_get install -y "$@" 2>&1) && return 0
  if printf '%s\n' "$out" | grep -q "dpkg --configure -a"; then
    echo "An earlier dpkg run was cut short: finishing it (dpkg --configure -a)"
    DEBIAN_FRONTEND=noninteractive $APT_SUDO dpkg --configure -a >/dev/null 2>&1 &&
      out=$(navolet_apt_get install -y "$@" 2>&1) && return 0
  fi
  APT_REASON=$(navolet_apt_reason "$out")
  APT_REASON=${APT_REASON:-$(printf '%s\n' "$out" | tail -n 1)}
  return 1
}

# The packages of a list that are not fully installed.
navolet_apt_missing() {
  local p
  for p in "$@"; do
    [ "$(dpkg-query -W -f='${db:Status-Abbrev}' "$p" 2>/dev/null)" = "ii " ] || echo "$p"
  done
}

# What a run that needs packages apt could not install says before it ends.
navolet_apt_failed() {
  echo "FAILED: these packages could not be installed: $*" >&2
  echo "  apt: $APT_REASON" >&2
  echo "  Run this again later: a mirror in mid-sync (\"Mirror sync in progress?\") settles within" >&2
  echo "  hours. Or choose another mirror in /etc/apt/sources.list." >&2
}

#!/bin/bash
# Runs the README's test command on a machine as fresh as it gets: a minimal
# Debian 12 root (variant minbase) with this project cloned into it, entered
# with chroot. Whatever scripts/install-deps.sh forgets to install shows up
# here as a failing build or test. With --package, installs the game's Debian
# package in such a root instead (scripts/package-install-check.sh).
set -euo pipefail

usage() {
  cat <<'EOF'
Usage: scripts/fresh-machine-check.sh [options] [REF]

Bootstraps a minimal Debian 12 (bookworm) root, clones this checkout into it
at REF (default HEAD; committed work only), and runs ./scripts/test.sh there
as root with chroot. Prints the test command's verdict and exits with its
status; 125 when the root could not be set up, 2 for a bad command line.
Needs root and network access to Debian's mirror.

Options:
  --package DEB     instead of the test command: copy the package file DEB and
                    scripts/package-install-check.sh into the root and run that
                    (install, play, replay, purge); nothing is cloned
  --dir DIR         folder for the root; must be new or empty
                    (default: a new folder /var/tmp/orvo-fresh.XXXXXX)
  --keep            keep the root afterwards, for inspection
  --stages LIST     run only these stages of the test command (scripts/test.sh
                    werror, sanitize, web, windows; a quoted, space-separated
                    list); all when not given
  --cache           unpack a cached bootstrap tarball instead of bootstrapping,
                    when one made at most --cache-days ago is there; otherwise
                    bootstrap and store the result as that tarball
  --cache-dir DIR   where the tarball lives (default /var/tmp/orvo-fresh-cache)
  --cache-days N    how old the tarball may be (default 7)
  --tool NAME       mmdebstrap or debootstrap (default: mmdebstrap if installed)
  --mirror URL      Debian mirror (default http://deb.debian.org/debian)
  --security-mirror URL   (default http://deb.debian.org/debian-security)
  -h, --help        this text

The cached tarball is the bootstrap's own output, never a root that has been
used: each run checks its checksum and unpacks it into a new empty folder, so
the test command always starts from minbase and nothing else.
EOF
}

# Exit status when the root cannot be made (as git bisect run's "skip").
readonly SETUP_FAILED=125

die() {
  echo "fresh-machine-check: $*" >&2
  exit "$SETUP_FAILED"
}

# ---- command line ----------------------------------------------------------

root_dir=""
keep=""
use_cache=""
cache_dir=/var/tmp/orvo-fresh-cache
cache_days=7
tool=""
mirror=http://deb.debian.org/debian
security_mirror=http://deb.debian.org/debian-security
ref=HEAD
package=""
stages=""
original_args=("$@")
# Option $1 takes a value: the next argument ($2 is the count of arguments left).
require_value() {
  [ "$2" -ge 2 ] || { echo "$1 needs a value" >&2; usage >&2; exit 2; }
}
while [ $# -gt 0 ]; do
  case $1 in
    --dir) require_value "$1" $#; root_dir=$2; shift 2 ;;
    --keep) keep=yes; shift ;;
    --stages) require_value "$1" $#; stages=$2; shift 2 ;;
    --package) require_value "$1" $#; package=$2; shift 2 ;;
    --cache) use_cache=yes; shift ;;
    --cache-dir) require_value "$1" $#; cache_dir=$2; shift 2 ;;
    --cache-days) require_value "$1" $#; cache_days=$2; shift 2 ;;
    --tool) require_value "$1" $#; tool=$2; shift 2 ;;
    --mirror) require_value "$1" $#; mirror=$2; shift 2 ;;
    --security-mirror) require_value "$1" $#; security_mirror=$2; shift 2 ;;
    -h | --help) usage; exit 0 ;;
    -*) echo "unknown option: $1" >&2; usage >&2; exit 2 ;;
    *) ref=$1; shift ;;
  esac
done
case $cache_days in
  '' | *[!0-9]*) echo "--cache-days takes a whole number of days" >&2; exit 2 ;;
esac
if [ -n "$package" ]; then
  [ -f "$package" ] || { echo "no package file: $package" >&2; exit 2; }
  package=$(readlink -f "$package")
fi
if [ -z "$tool" ]; then
  if command -v mmdebstrap >/dev/null; then tool=mmdebstrap; else tool=debootstrap; fi
fi
case $tool in
  mmdebstrap | debootstrap) ;;
  *) echo "--tool is mmdebstrap or debootstrap" >&2; exit 2 ;;
esac

[ "$(id -u)" -eq 0 ] || die "needs root (it bootstraps a root folder, mounts and chroots)"
for needed in "$tool" chroot git mount umount tar sha256sum; do
  command -v "$needed" >/dev/null || die "missing tool: $needed"
done

# Every mount below is made in a mount namespace of this script's own, so the
# host never sees them, and they vanish with the script's last process even if
# it is killed before it can unmount them.
if [ -z "${ORVO_FRESH_CHECK_NAMESPACE:-}" ] && command -v unshare >/dev/null &&
  unshare --mount --propagation private true 2>/dev/null; then
  export ORVO_FRESH_CHECK_NAMESPACE=1
  exec unshare --mount --propagation private -- "$BASH" "$0" "${original_args[@]}"
fi

repo=$(cd "$(dirname "$0")/.." && pwd)
commit=$(git -C "$repo" rev-parse --verify --quiet "$ref^{commit}") ||
  die "no commit '$ref' in $repo"

# ---- phases and timings ----------------------------------------------------

started=$(date +%s)
phase_name=""
phase_started=0
timings=()
clock() { date +%H:%M:%S; }
minutes() { printf '%dm%02ds' $(($1 / 60)) $(($1 % 60)); }
end_phase() {
  [ -n "$phase_name" ] || return 0
  local took=$(($(date +%s) - phase_started))
  timings+=("$(printf '%-31s %s' "$phase_name" "$(minutes "$took")")")
  echo "== [$(clock)] $phase_name took $(minutes "$took")"
  phase_name=""
}
phase() {
  end_phase
  phase_name=$1
  phase_started=$(date +%s)
  echo
  echo "== [$(clock)] $1"
}

# ---- the root, its mounts and the clean-up ---------------------------------

root=""
made_root=""
mounted=()
log=""

# Mount points at or under the root, deepest first, as this namespace sees
# them (mountinfo writes a space in a path as \040).
# shellcheck disable=SC2317 # run from the EXIT trap
mounts_under_root() {
  local escaped=${root// /\\040}
  awk -v r="$escaped" '$5 == r || index($5, r "/") == 1 {print $5}' /proc/self/mountinfo |
    sort -r | sed 's/\\040/ /g'
}

# Processes started inside the root (a daemon from a package's set-up, a
# test's X server) hold its mounts; they are ended before the unmounting.
# shellcheck disable=SC2317 # run from the EXIT trap
end_processes_in_root() {
  local pids pid signal
  for signal in TERM KILL; do
    pids=""
    for pid in /proc/[0-9]*; do
      [ "$(readlink "$pid/root" 2>/dev/null)" = "$root" ] && pids="$pids ${pid#/proc/}"
    done
    [ -n "$pids" ] || return 0
    echo "ending processes left in the root:$pids" >&2
    # shellcheck disable=SC2086
    kill -s "$signal" $pids 2>/dev/null || true
    sleep 2
  done
}

# shellcheck disable=SC2317 # run from the EXIT trap
unmount_all() {
  local i point
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" ||
      echo "could not unmount ${mounted[i]}" >&2
  done
  mounted=()
  # Anything mounted inside the root by what ran there.
  while IFS= read -r point; do
    [ -n "$point" ] || continue
    umount -R "$point" 2>/dev/null || umount -R -l "$point" || echo "could not unmount $point" >&2
  done < <(mounts_under_root)
}

# shellcheck disable=SC2317 # run from the EXIT trap
cleanup() {
  local status=$?
  trap - EXIT INT TERM HUP
  set +e
  end_phase
  if [ -n "$root" ] && [ -d "$root" ]; then
    end_processes_in_root
    unmount_all
    if [ -n "$(mounts_under_root)" ]; then
      echo "mounts are left under $root; it is not removed:" >&2
      mounts_under_root >&2
    elif [ -n "$keep" ]; then
      echo "kept the root: $root (enter it with: chroot $root /bin/bash)"
      [ -s "$log" ] && echo "kept the test command's output: $log"
    else
      local removing_started
      removing_started=$(date +%s)
      echo "== [$(clock)] removing the root"
      # --one-file-system: never follow into anything still mounted below.
      if [ -n "$made_root" ]; then
        rm -rf --one-file-system "$root"
      else
        find "$root" -mindepth 1 -maxdepth 1 -exec rm -rf --one-file-system {} +
      fi
      echo "== [$(clock)] removed in $(minutes $(($(date +%s) - removing_started)))"
    fi
  fi
  [ -n "$keep" ] || rm -f "$log"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

bind() {
  local from=$1 to=$root$1
  mkdir -p "$to"
  mount --bind "$from" "$to"
  mounted+=("$to")
}

if [ -n "$root_dir" ]; then
  mkdir -p "$root_dir"
  root=$(cd "$root_dir" && pwd -P)
  [ -z "$(ls -A "$root")" ] || { root=""; die "$root_dir is not empty; a fresh root needs an empty folder"; }
else
  root=$(mktemp -d /var/tmp/orvo-fresh.XXXXXX)
  root=$(cd "$root" && pwd -P)
  made_root=yes
  chmod 755 "$root"
fi

# The packages, the two builds and the clone take a little over 2 GB.
free_kb=$(df -Pk "$root" | awk 'NR == 2 {print $4}')
[ "$free_kb" -ge $((4 * 1024 * 1024)) ] ||
  die "only $((free_kb / 1024)) MB free for the root in $root; it needs 4 GB"

echo "fresh-machine-check: commit $(git -C "$repo" log -1 --format='%h %s' "$commit")"
echo "fresh-machine-check: root $root ($tool, Debian 12 minbase)"
if [ -n "$(git -C "$repo" status --porcelain --untracked-files=no 2>/dev/null)" ]; then
  echo "fresh-machine-check: note: uncommitted changes in $repo are not part of the check"
fi

# ---- bootstrap -------------------------------------------------------------

arch=$(dpkg --print-architecture)
sources=(
  "deb $mirror bookworm main"
  "deb $mirror bookworm-updates main"
  "deb $security_mirror bookworm-security main"
)
cache_tar=$cache_dir/bookworm-minbase-$arch.tar
cache_key="$tool minbase bookworm $arch ${sources[*]}"

# Bootstraps into the folder $1 (mmdebstrap: or the tarball $1 ending in .tar).
bootstrap() {
  if [ "$tool" = mmdebstrap ]; then
    mmdebstrap --mode=root --variant=minbase --quiet bookworm "$1" "${sources[@]}"
  else
    debootstrap --variant=minbase bookworm "$1" "$mirror"
    # A Debian installer also sets up the updates and the security archive.
    printf '%s\n' "${sources[@]}" >"$1/etc/apt/sources.list"
    rm -rf "$1/var/lib/apt/lists/"* "$1/var/cache/apt/archives/"*.deb
  fi
}

# Whether the cached tarball is whole, made for these settings, and recent.
cache_usable() {
  local created key age
  [ -f "$cache_tar" ] && [ -f "$cache_tar.sha256" ] && [ -f "$cache_tar.info" ] || return 1
  key=$(sed -n 's/^key=//p' "$cache_tar.info")
  created=$(sed -n 's/^created=//p' "$cache_tar.info")
  [ "$key" = "$cache_key" ] || { echo "cached root was made with other settings"; return 1; }
  age=$(($(date +%s) - ${created:-0}))
  [ "$age" -le $((cache_days * 86400)) ] || {
    echo "cached root is $((age / 86400)) days old"
    return 1
  }
  echo "checking the cached root's checksum"
  (cd "$cache_dir" && sha256sum --quiet -c "$(basename "$cache_tar").sha256") || return 1
  echo "cached root made $(date -d "@$created" '+%Y-%m-%d %H:%M') ($((age / 3600)) hours ago)"
}

store_in_cache() {
  local tmp
  mkdir -p "$cache_dir"
  tmp=$(mktemp "$cache_dir/.new.XXXXXX")
  if [ "$tool" = mmdebstrap ]; then
    rm -f "$tmp"
    bootstrap "$tmp.tar" || { rm -f "$tmp.tar"; return 1; }
    mv "$tmp.tar" "$tmp"
  else
    bootstrap "$root" || return 1
    tar -C "$root" --numeric-owner -cpf "$tmp" .
  fi
  (cd "$cache_dir" && sha256sum "$(basename "$tmp")") |
    sed "s|$(basename "$tmp")\$|$(basename "$cache_tar")|" >"$tmp.sha256"
  printf 'key=%s\ncreated=%s\n' "$cache_key" "$(date +%s)" >"$tmp.info"
  mv -f "$tmp" "$cache_tar"
  mv -f "$tmp.sha256" "$cache_tar.sha256"
  mv -f "$tmp.info" "$cache_tar.info"
}

if [ -n "$use_cache" ]; then
  phase "bootstrap (cache $cache_tar)"
  if cache_usable; then
    echo "unpacking the cached root"
  else
    echo "making a new cached root"
    store_in_cache || die "bootstrap failed"
  fi
  if [ -z "$(ls -A "$root")" ]; then
    tar -C "$root" --numeric-owner -xpf "$cache_tar" || die "could not unpack $cache_tar"
  fi
else
  phase "bootstrap"
  bootstrap "$root" || die "bootstrap failed"
fi
if [ ! -x "$root/usr/bin/apt-get" ] || [ ! -x "$root/bin/bash" ]; then
  die "the bootstrap made no usable root"
fi

# ---- what a machine has beside its packages ---------------------------------

phase "prepare the root"
# Name resolution for apt: the host's resolver; the host name as the kernel
# reports it, as an installed machine has it in /etc/hosts.
rm -f "$root/etc/resolv.conf"
cp -L /etc/resolv.conf "$root/etc/resolv.conf" || die "no /etc/resolv.conf to copy"
hostname=$(cat /proc/sys/kernel/hostname)
echo "$hostname" >"$root/etc/hostname"
printf '127.0.0.1\tlocalhost\n127.0.1.1\t%s\n::1\tlocalhost ip6-localhost ip6-loopback\n' \
  "$hostname" >"$root/etc/hosts"
# The certificate authorities this machine's administrator added (a network
# that inspects TLS, as this one may, signs with its own): the root trusts
# them as the host does once Debian's ca-certificates package is installed,
# and Node.js (npm) is pointed at the system's store. Debian's packages come
# over plain HTTP and need none of this.
if [ -d /usr/local/share/ca-certificates ]; then
  mkdir -p "$root/usr/local/share/ca-certificates"
  cp -rL /usr/local/share/ca-certificates/. "$root/usr/local/share/ca-certificates/"
fi
# There is no init system in a chroot: packages must not start services, which
# would keep running inside the root after the check.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"
echo "packages in the root: $(chroot "$root" dpkg-query -W -f '.\n' | wc -l) (minbase only)"

if [ -n "$package" ]; then
  phase "copy $(basename "$package")"
  cp "$package" "$root/root/"
  # The check script and what it sources, as committed, like the clone of
  # the test command.
  for script in package-install-check.sh xvfb-lib.sh; do
    git -C "$repo" show "$commit:scripts/$script" >"$root/root/$script" ||
      die "no scripts/$script in commit $commit"
  done
  ls -l "$root/root/"
else
  phase "clone $(git -C "$repo" rev-parse --short "$commit")"
  clone=$root/root/orvo
  git clone --quiet --no-hardlinks "$repo" "$clone"
  if ! git -C "$clone" cat-file -e "$commit^{commit}" 2>/dev/null; then
    git -C "$clone" fetch --quiet "$repo" "$ref" || die "could not fetch $ref into the clone"
  fi
  git -C "$clone" -c advice.detachedHead=false checkout --quiet --detach "$commit"
  echo "cloned into ${clone#"$root"} at $(git -C "$clone" rev-parse --short HEAD)"
fi

# ---- the README's test command ----------------------------------------------

phase "mount /proc /sys /dev"
mkdir -p "$root/proc"
mount -t proc proc "$root/proc"
mounted+=("$root/proc")
bind /sys
bind /dev
for sub in /dev/pts /dev/shm; do
  if mountpoint -q "$sub"; then bind "$sub"; fi
done
printf '  %s\n' "${mounted[@]}"

if [ -n "$package" ]; then
  what="./package-install-check.sh $(basename "$package")"
  command="cd /root && bash $what"
else
  what="./scripts/test.sh${stages:+ $stages}"
  command="cd /root/orvo && $what"
fi
phase "$what in the root"
log=$(mktemp /var/tmp/orvo-fresh-log.XXXXXX)
# The test command's stage headings ("== werror build ==") get the time of
# day, so the summary shows how long the packages, builds and tests took.
stamp_stages() {
  awk '/^== .* ==$/ { clock = "date +%H:%M:%S"; clock | getline t; close(clock); $0 = $0 " [" t "]" }
       { print; fflush() }'
}
# A login shell of root on a new machine: a clean environment, no input (so
# no prompt can wait for an answer), the one locale every system has, and
# Ctrl-C and SIGQUIT with their default action even when this script was
# started with them ignored (by nohup, or in the background of a shell).
status=0
test_started=$(date +%s)
(
  set -o pipefail
  env -i --default-signal=INT,QUIT HOME=/root USER=root LOGNAME=root SHELL=/bin/bash TERM="${TERM:-dumb}" LANG=C.UTF-8 \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    NODE_EXTRA_CA_CERTS=/etc/ssl/certs/ca-certificates.crt \
    chroot "$root" /bin/bash -lc "$command" </dev/null 2>&1 |
    stamp_stages | tee "$log"
) &
# Waiting on a background job lets a signal to this script reach its trap.
wait $! || status=$?
end_phase

# What failed, from the test command's output: compiler errors, the tests
# CTest lists as failed (with the build they failed in), and the end-to-end
# test's FAIL lines.
failures() {
  awk '
    /^== (werror|sanitize|windows) (build|tests) == / { build = $2 }
    / error: / && errors++ < 5 { print "  " build " build: " $0 }
    /^The following tests FAILED:$/ { listing = 1; next }
    listing && /^\t/ { sub(/^\t/, ""); print "  " build ": " $0; next }
    { listing = 0 }
    /^FAIL: / { print "  " build ": " $0 }
  ' "$log"
}

echo
echo "== timings"
printf '  %s\n' "${timings[@]}"
printf '  %-31s %s\n' total "$(minutes $(($(date +%s) - started)))"
echo "  in the test command, begun at $(date -d "@$test_started" +%H:%M:%S):"
grep -E '^== .* == \[[0-9:]+\]$' "$log" | sed 's/^/    /' || true
echo
short=$(git -C "$repo" rev-parse --short "$commit")
[ -n "$package" ] && short="$(basename "$package") (scripts of $short)"
if [ "$status" -eq 0 ]; then
  echo "== VERDICT: PASS: $what passed on a fresh Debian 12 root: $short"
else
  echo "== VERDICT: FAIL: $what exited with status $status on a fresh Debian 12 root: $short"
  failures
fi
exit "$status"

#!/bin/bash
# Usage: scripts/fresh-machine-check.sh [options] [COMMIT]
#
# Runs ./scripts/test.sh at COMMIT (default HEAD; committed work only) in a
# fresh Debian 12 minbase root made by mmdebstrap, as root, with no locale and
# nothing of this machine's environment: whatever scripts/install-deps.sh
# forgets shows up as a failing build or test. Prints the verdict and what
# failed; exits with the command's status, 125 when the root could not be
# made, 2 for a bad command line. Needs root, mmdebstrap and Debian's mirror.
#
#   --stages "LIST"  only these stages of the test command (werror sanitize web windows)
#   --locale LOCALE  run the command with LANG=LOCALE (default: no locale at all)
#   --package DEB    instead, install the package DEB in the root and check it
#                    (scripts/package-install-check.sh); nothing is cloned
#   --cache          start from a bootstrap of at most 7 days ago, kept in
#                    /var/tmp/orvo-fresh-cache (made when there is none)
#   --keep           keep the root and the output in /var/tmp afterwards
#
# mmdebstrap runs the root in namespaces of its own (mounts, processes, host
# name) and removes it afterwards, also when interrupted: no mount, process
# or file of it is left here. This script is also its customize hook
# (MMDEBSTRAP_HOOK is then set), which prepares the root and runs the command.
set -euo pipefail

# ---- in the root: mmdebstrap's customize hook ($1 is the root) -----------
if [ "${MMDEBSTRAP_HOOK:-}" = customize ]; then
  root=$1
  # What an installed machine has beside its packages: its name in
  # /etc/hosts, and the certificate authorities this machine's administrator
  # added (a network that inspects TLS signs with its own; npm needs them).
  printf '127.0.0.1\tlocalhost\n127.0.1.1\t%s\n::1\tlocalhost ip6-localhost ip6-loopback\n' \
    "$(cat "$root/etc/hostname")" >"$root/etc/hosts"
  mkdir -p "$root/usr/local/share/ca-certificates"
  cp -rL /usr/local/share/ca-certificates/. "$root/usr/local/share/ca-certificates/" 2>/dev/null || true
  if [ -n "$ORVO_PACKAGE" ]; then
    cp "$ORVO_PACKAGE" "$root/root/"
    for script in package-install-check.sh xvfb-lib.sh; do
      git -C "$ORVO_REPO" show "$ORVO_COMMIT:scripts/$script" >"$root/root/$script"
    done
    command="cd /root && bash ./package-install-check.sh $(basename "$ORVO_PACKAGE")"
  else
    git clone --quiet --no-hardlinks "$ORVO_REPO" "$root/root/orvo"
    git -C "$root/root/orvo" -c advice.detachedHead=false checkout --quiet --detach "$ORVO_COMMIT"
    command="cd /root/orvo && ./scripts/test.sh $ORVO_STAGES"
  fi
  # A login shell of root on a new machine: no environment but its own, no
  # input (no prompt can wait), default signal actions, and a process
  # namespace of its own, so that nothing the tests start outlives them.
  set +e
  chroot "$root" unshare --pid --fork --kill-child --mount-proc --propagation unchanged \
    env -i --default-signal=INT,QUIT HOME=/root USER=root LOGNAME=root SHELL=/bin/bash \
    TERM="${TERM:-dumb}" ${ORVO_LOCALE:+LANG=$ORVO_LOCALE} \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    NODE_EXTRA_CA_CERTS=/etc/ssl/certs/ca-certificates.crt \
    /bin/bash -lc "$command" </dev/null 2>&1 |
    # Each stage's heading ("== werror build ==") gets the time of day.
    awk '/^== .* ==$/ { "date +%H:%M:%S" | getline t; close("date +%H:%M:%S"); $0 = $0 " [" t "]" }
         { print; fflush() }' | tee "$ORVO_WORK/log"
  echo "${PIPESTATUS[0]}" >"$ORVO_WORK/status"
  exit 0
fi

# ---- on this machine ---------------------------------------------------------
stages="" locale="" package="" cache="" keep="" ref=HEAD
usage() { sed -n '2,17p' "$0" | sed 's/^# \{0,1\}//'; }
while [ $# -gt 0 ]; do
  case $1 in
    --stages | --locale | --package) [ $# -ge 2 ] || { usage >&2; exit 2; } ;;&
    --stages) stages=$2; shift 2 ;;
    --locale) locale=$2; shift 2 ;;
    --package) package=$(readlink -f "$2"); [ -f "$package" ] || { echo "no file: $2" >&2; exit 2; }
      shift 2 ;;
    --cache) cache=yes; shift ;;
    --keep) keep=yes; shift ;;
    -h | --help) usage; exit 0 ;;
    -*) echo "unknown option: $1" >&2; usage >&2; exit 2 ;;
    *) ref=$1; shift ;;
  esac
done
die() { echo "fresh-machine-check: $*" >&2; exit 125; }
[ "$(id -u)" -eq 0 ] || die "needs root"
command -v mmdebstrap >/dev/null || die "needs mmdebstrap (apt-get install mmdebstrap)"
repo=$(cd "$(dirname "$0")/.." && pwd)
commit=$(git -C "$repo" rev-parse --verify --quiet "$ref^{commit}") || die "no commit '$ref'"
work=$(mktemp -d /var/tmp/orvo-fresh.XXXXXX)
pid=""
# shellcheck disable=SC2317 # run by the EXIT trap
finish() {
  local status=$?
  set +e
  # Interrupted: Ctrl-C for everything mmdebstrap runs (during its hooks it
  # ignores other signals); waiting lets it end its namespaces and remove
  # its root.
  [ -n "$pid" ] && { kill -INT -- "-$pid" 2>/dev/null; wait "$pid" 2>/dev/null; }
  if [ -n "$keep" ]; then echo "kept: $work (the root in root/, the output in log)"
  else rm -rf --one-file-system "$work"; fi
  exit "$status"
}
trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP
[ "$(df -Pk "$work" | awk 'NR == 2 {print $4}')" -ge $((8 << 20)) ] || die "needs 8 GB in /var/tmp"

sources=("deb http://deb.debian.org/debian bookworm main"
         "deb http://deb.debian.org/debian bookworm-updates main"
         "deb http://deb.debian.org/debian-security bookworm-security main")
from=(--variant=minbase)
if [ -n "$cache" ]; then
  # The bootstrap's own output, never a root that has been used; each run
  # makes its /dev anew.
  tarball=/var/tmp/orvo-fresh-cache/bookworm-minbase.tar
  if [ -z "$(find "$tarball" -mtime -7 2>/dev/null)" ]; then
    echo "== making the cached bootstrap $tarball"
    mmdebstrap --mode=unshare --variant=minbase --quiet bookworm - "${sources[@]}" |
      mmtarfilter --path-exclude='/dev/*' >"$work/cache.tar" || die "the bootstrap failed"
    mkdir -p "$(dirname "$tarball")"
    mv "$work/cache.tar" "$tarball"
  fi
  from=(--variant=custom --skip=update --setup-hook="tar-in $tarball /")
fi
target=/dev/null
[ -n "$keep" ] && target=$work/root
what=${package:+"package-install-check.sh $(basename "$package")"}
what=${what:-"./scripts/test.sh${stages:+ $stages}"}
echo "== $what at $(git -C "$repo" log -1 --format='%h %s' "$commit")"
echo "== in a fresh Debian 12 root, ${locale:+LANG=$locale}${locale:-no locale}, begun $(date +%H:%M:%S)"
export ORVO_REPO=$repo ORVO_COMMIT=$commit ORVO_STAGES=$stages ORVO_LOCALE=$locale
export ORVO_PACKAGE=$package ORVO_WORK=$work TMPDIR=$work
# In the background, so that a signal reaches the traps above at once, and in
# a process group of its own, which finish() interrupts; with Ctrl-C's
# default action, which a background job would otherwise ignore.
setsid env --default-signal=INT,QUIT mmdebstrap --mode=unshare --quiet "${from[@]}" \
  --customize-hook="$(readlink -f "$0")" bookworm "$target" "${sources[@]}" &
pid=$!
wait "$pid" || true
pid=""
[ -s "$work/status" ] || die "the root could not be made"
status=$(cat "$work/status")

echo
echo "== ended $(date +%H:%M:%S); stages:"
grep -E '^== .* == \[[0-9:]+\]$' "$work/log" | sed 's/^/    /' || true
verdict="$what on a fresh Debian 12 root: $(git -C "$repo" rev-parse --short "$commit")"
if [ "$status" -eq 0 ]; then
  echo "== VERDICT: PASS: $verdict"
else
  echo "== VERDICT: FAIL (status $status): $verdict"
  # What failed: compiler errors, the tests CTest lists, end-to-end FAIL lines.
  awk '/^== .* (build|tests) ==/ { stage = $2 }
       / error: / && errors++ < 5 { print "  " stage ": " $0 }
       /^The following tests FAILED:$/ { listing = 1; next }
       listing && /^\t/ { sub(/^\t/, ""); print "  " stage ": " $0; next }
       { listing = 0 }
       /^FAIL: / { print "  " stage ": " $0 }' "$work/log"
fi
exit "$status"

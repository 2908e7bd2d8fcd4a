#!/bin/sh
# orvo.exe carries the project's one version in its version resource (file
# and product), its manifest (per-monitor DPI awareness, as the invoker) and
# an icon group, and imports only Windows' own DLLs.
# Usage: resources_check.sh <orvo.exe> <version> <objdump>
set -eu
exe=$1
version=$2
objdump=$3
fail() { echo "FAIL: $*" >&2; exit 1; }
texts=$(strings -el -n 3 "$exe")
for key in FileVersion ProductVersion; do
  got=$(echo "$texts" | grep -A1 -x "$key" | sed -n 2p)
  [ "$got" = "$version" ] || fail "$key is '$got', not '$version'"
done
for text in 'version="'"$version"'.0' 'PerMonitorV2' 'asInvoker'; do
  strings "$exe" | grep -q "$text" || fail "the manifest lacks $text"
done
"$objdump" -h "$exe" | grep -q '\.rsrc' || fail "no resources"
imports=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
for dll in $imports; do
  case $dll in
    gdi32.dll | kernel32.dll | msvcrt.dll | user32.dll | winmm.dll) ;;
    *) fail "imports $dll, which is not Windows' own: $imports" ;;
  esac
done
echo "ok: version $version, manifest, resources; imports $imports"

#!/usr/bin/env bash
# Packs the built tree into a .deb, unpacks it into a scratch root (no system install) and
# starts the unpacked program: it must take its generator library, language files, manual
# and settings folder from that root, never from the build tree, nor libraries from the
# current folder.
set -euo pipefail
build=$1
work=$(realpath "$(mktemp -d)")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack"; }
dpkg-deb -x "$work"/out/*.deb "$work/root"
program="$work/root/usr/bin/DDSTarnUSB"
share="$work/root/usr/share/ddstarn-usb"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" TMPDIR="$work/tmp"
unset DDSTARN_DRIVER DDSTARN_SIM_UNITS LD_LIBRARY_PATH
mkdir -p "$TMPDIR"

"$(dirname "$0")/runpath_check.sh" "$work/root" || fail "RUNPATH of the packaged files"
"$program" --version | grep -q '^DDSTarnUSB [0-9]' || fail "--version"
status=0
"$program" --no-such-option >/dev/null 2>&1 || status=$?
[ "$status" = 2 ] || fail "an unknown option ends with status $status, not 2"

paths=$("$program" --paths)
echo "$paths"
library=$(sed -n 's/^generator library: //p' <<<"$paths")
[[ $(realpath "$library") == "$work/root/usr/lib/"*/libDDSTarnDll.so ]] ||
  fail "generator library not from the package: $library"
grep -Eqx "language: $share/language \([1-9][0-9]* files\)" <<<"$paths" || fail "language files"
grep -qx "manual: $share/help" <<<"$paths" || fail "manual folder"
[ -d "$share/help" ] || fail "no manual installed"
grep -qx "settings: $XDG_CONFIG_HOME/ddstarn-usb/config.ini" <<<"$paths" || fail "settings"

# One simulated generator, offscreen, in a shipped language: it is chosen and kept.
start() {
  QT_QPA_PLATFORM=offscreen DDSTARN_QUIT_AFTER_SHOW=1 timeout 120 "$program" --units 1 "$@"
}
config="$XDG_CONFIG_HOME/ddstarn-usb/config.ini"
start --language German 2>"$work/err" || { cat "$work/err"; fail "start in German"; }
grep -q "no language" "$work/err" && fail "German not found: $(cat "$work/err")"
grep -Eq '^Language=[0-9]+\s*$' "$config" || fail "German not kept: $(cat "$config")"
chosen=$(grep '^Language=' "$config")
start --language Klingon 2>"$work/err" || fail "start with an unknown language"
grep -q 'no language is called "Klingon"' "$work/err" || fail "no message for Klingon"
grep -qx "$chosen" "$config" || fail "an unknown language replaced the one chosen"
echo "package unpacked and started from $work/root"

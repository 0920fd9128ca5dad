#!/usr/bin/env bash
# Fails when a program or shared library among the given files (folders are searched) has an
# empty or relative entry in its RUNPATH or RPATH: the dynamic loader takes such an entry from
# the current folder, so whoever chooses where the program is started chooses its libraries.
# $ORIGIN-relative entries are the program's own folder and fine. Prints each file's path list.
set -euo pipefail
[ $# -gt 0 ] || { echo "usage: $0 FILE_OR_FOLDER..." >&2; exit 2; }
status=0
checked=0
check() {
  local file=$1 list entry
  [ "$(head -c4 "$file" | od -An -c | tr -d ' ')" = '177ELF' ] || return 0
  checked=$((checked + 1))
  list=$(readelf -d "$file" | sed -n 's/.*(R\(UN\)\{0,1\}PATH).*\[\(.*\)\]$/\2/p')
  [ -n "$list" ] || return 0
  echo "$file: [$list]"
  # A trailing ":" is an empty last entry, which the split below must keep.
  IFS=: read -r -a entries <<<"$list:x"
  unset 'entries[-1]'
  for entry in "${entries[@]}"; do
    case $entry in
      /* | '$ORIGIN' | '$ORIGIN/'*) ;;
      *) echo "FAIL: $file has the entry \"$entry\"" >&2; status=1 ;;
    esac
  done
}
for path in "$@"; do
  [ -e "$path" ] || { echo "FAIL: $path is missing" >&2; status=1; continue; }
  if [ -d "$path" ]; then
    while IFS= read -r -d '' file; do check "$file"; done < <(
      find "$path" -path '*/CMakeFiles' -prune -o -type f \( -perm -u+x -o -name '*.so*' \) -print0)
  else
    check "$path"
  fi
done
[ "$checked" -gt 0 ] || { echo "FAIL: no program or library found" >&2; status=1; }
exit $status

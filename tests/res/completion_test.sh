#!/usr/bin/env bash
# The completion of torvanik-cli, asked as bash asks it: prints each case that answers wrong.
# Usage: completion_test.sh COMPLETION_SCRIPT
set -u
source "$1"
cd "$(mktemp -d)" || exit 1
trap 'rm -rf "$PWD"' EXIT
mkdir -p disks/a disks/b
touch film.avi filmen.txt

failures=0
expect() {  # expect "COMMAND LINE" ANSWER...
    local line=$1
    shift
    COMP_LINE=$line COMP_POINT=${#line} COMPREPLY=()
    _torvanik_cli
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd ' ')
    local want
    want=$(printf '%s\n' "$@" | sort | paste -sd ' ')
    if [[ $got != "$want" ]]; then
        echo "'$line': got [$got], want [$want]"
        failures=$((failures + 1))
    fi
}

expect "torvanik-cli " check drives join rebuild split
expect "torvanik-cli dr" drives
expect "torvanik-cli --drive A:=disks/a drives "
expect "torvanik-cli sp" split
expect "torvanik-cli --s" --select
expect "torvanik-cli --no-" --no-eject --no-verify --no-sums
expect "torvanik-cli --b" --batch
expect "torvanik-cli --re" --resume
expect "torvanik-cli ch" check
expect "torvanik-cli check "
expect "torvanik-cli rebuild "
expect "torvanik-cli --mi" --missing
expect "torvanik-cli --missing 2 join dis" disks
expect "torvanik-cli join --ov" --overwrite
expect "torvanik-cli --select " A: B: C: D: E: F: G: H: I: J: K: L: M: N:
expect "torvanik-cli --select M" M:
expect "torvanik-cli --drive B" B:=
expect "torvanik-cli --drive B:=me" media media:
expect "torvanik-cli --drive B:=images:dis" disks/
expect "torvanik-cli --drive B:=images:disks/a,format=" 360k 720k 1.2m 1.44m 2.88m
expect "torvanik-cli --drive B:=images:disks/a,format=7" 720k
expect "torvanik-cli --drive=B:=me" media media:
expect "torvanik-cli --select=" A: B: C: D: E: F: G: H: I: J: K: L: M: N:
expect "torvanik-cli --drive=A:=disks/a split fil" film.avi filmen.txt
expect "torvanik-cli --drive B:=disks/" disks/a/ disks/b/
expect "torvanik-cli --drive A:=disks/a --select B: split fil" film.avi filmen.txt
expect "torvanik-cli --drive A:=disks/a join " disks film.avi filmen.txt
expect "torvanik-cli split film.avi "

echo "$failures failed"
[[ $failures -eq 0 ]]

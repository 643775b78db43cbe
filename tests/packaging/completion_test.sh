#!/usr/bin/env bash
# What bash offers on vessory-export's command line, through the completion function itself,
# and (when the bash-completion package is installed) that its loader finds the function under
# the installed file name.
#
#   completion_test.sh COMPLETION_FILE
set -uo pipefail
completion=$(realpath "$1")
# shellcheck source=/dev/null
source "$completion"

failures=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The words offered for a command line whose last word is being completed.
offered() {
  COMP_WORDS=(vessory-export "$@")
  COMP_CWORD=$#
  COMPREPLY=()
  _vessory_export
  printf '%s\n' "${COMPREPLY[@]}" | sort
}

expect() {  # name, expected words (one a line), command line
  local name=$1 expected=$2 actual
  shift 2
  actual=$(offered "$@")
  if [[ $actual == "$expected" ]]; then
    echo "pass: $name"
  else
    echo "FAIL: $name: for [$*] expected [${expected//$'\n'/ }], got [${actual//$'\n'/ }]"
    failures=$((failures + 1))
  fi
}

lines() { printf '%s\n' "$@" | sort; }

expect "a long option completes from its beginning" "--time-zone" --ti
expect "options sharing a beginning are all offered" "$(lines --include-deleted)" --inc
expect "the values of -j, -k and -b are the user's own text" "" -b -
expect "--journal's value is not completed either" "" --journal Eng

mkdir -p "$work/files/Old Backups"
touch "$work/files/Datebook.dat" "$work/files/COPY.DAT" "$work/files/Datebook.csv" \
  "$work/files/-x.dat" "$work/files/Address.ABA" "$work/files/ToDo.tda" \
  "$work/files/MemoPad.Mpa" "$work/files/Datebook.dba" "$work/files/Address.vcf" \
  "$work/files/dat"
cd "$work/files" || exit 1
expect "the archive is a .dat or archive file, in any case, or a folder, never a name like an option" \
  "$(lines Address.ABA COPY.DAT Datebook.dat Datebook.dba MemoPad.Mpa ToDo.tda "Old Backups")" ""
expect "the archive's name completes from its beginning" "$(lines Datebook.dat Datebook.dba)" Dat
expect "-o offers every file and standard output" \
  "$(lines - -x.dat Address.ABA Address.vcf COPY.DAT Datebook.csv Datebook.dat Datebook.dba \
    MemoPad.Mpa ToDo.tda dat "Old Backups")" -o ""
expect "after -- a word starting with - is an archive" "-x.dat" -q -- -
expect "grouped short flags ending in -o take -o's value" "$(lines Datebook.csv Datebook.dat \
  Datebook.dba)" -qo Dat
expect "--all takes a folder and offers folders only" "Old Backups" --all ""
cd - >/dev/null || exit 1

zones=$work/zoneinfo
mkdir -p "$zones/Europe" "$zones/posix/Europe" "$zones/right/Europe" "$zones/Etc"
touch "$zones/Europe/Berlin" "$zones/Europe/Belgrade" "$zones/posix/Europe/Berlin" \
  "$zones/right/Europe/Berlin" "$zones/Etc/GMT+1" "$zones/UTC" "$zones/zone.tab" \
  "$zones/leapseconds" "$zones/tzdata.zi"
ln -s UTC "$zones/Zulu"
TZDIR=$zones expect "zone names, not the tables beside them nor their copies" \
  "$(lines Etc/GMT+1 Europe/Belgrade Europe/Berlin UTC Zulu)" --time-zone ""
TZDIR=$zones expect "a zone completes after --time-zone=" "Europe/Berlin" --time-zone = Europe/Ber
if [[ -f /usr/share/zoneinfo/Europe/Berlin ]]; then
  TZDIR='' expect "the system's zones are offered" "Europe/Berlin" --time-zone Europe/Berl
fi

unknown=()
for encoding in $(offered --encoding ""); do
  iconv -f "$encoding" -t UTF-8 </dev/null >/dev/null 2>&1 || unknown+=("$encoding")
done
if [[ -n $(offered --encoding "") && ${#unknown[@]} -eq 0 ]]; then
  echo "pass: every character set offered for --encoding is one iconv knows"
else
  echo "FAIL: character sets offered for --encoding that iconv does not know: ${unknown[*]:-none offered}"
  failures=$((failures + 1))
fi

loader=/usr/share/bash-completion/bash_completion
if [[ -r $loader ]]; then
  mkdir -p "$work/data/bash-completion/completions"
  cp "$completion" "$work/data/bash-completion/completions/vessory-export"
  found=$(XDG_DATA_DIRS=$work/data BASH_COMPLETION_USER_DIR=$work/none bash -c "
    source '$loader'; complete -r vessory-export 2>/dev/null
    __load_completion vessory-export && complete -p vessory-export" 2>&1)
  if [[ $found == *"-F _vessory_export vessory-export"* ]]; then
    echo "pass: bash-completion loads the function from the installed file name"
  else
    echo "FAIL: bash-completion did not load the completion: $found"
    failures=$((failures + 1))
  fi
else
  echo "skip: bash-completion is not installed; its loader was not tried"
fi

[[ $failures -eq 0 ]] && echo "completion: all checks pass"
exit $((failures > 0))

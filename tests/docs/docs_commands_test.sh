#!/usr/bin/env bash
# docs_commands_test.sh SOURCE-FOLDER BUILD-FOLDER
#
# Runs the commands the docs quote, so that they stay commands that work. A
# fenced block marked `sh` in README.md or docs/*.md holds such commands, one a
# line (a line ending in "\" goes on to the next; "#" lines are comments). Each
# names one of the project's tools, which are on the PATH from BUILD-FOLDER;
# they run in order, in a scratch folder of the doc's own where `resources/` is
# the source tree's. Synopses with placeholders (FILE, DIR) go in unmarked
# blocks. Fails when a command fails, names no tool, or no doc quotes any.
set -uo pipefail

source_dir=$(cd "$1" && pwd)
build_dir=$(cd "$2" && pwd)
tools=(kmftool rkseed rkcalc defc defdump formshot)

for tool in "${tools[@]}"; do
  PATH="$build_dir/tools/$tool:$PATH"
done
export PATH QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8

scratch_root=$(mktemp -d)
trap 'rm -rf "$scratch_root"' EXIT

failures=0
commands=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# Prints "LINE<TAB>COMMAND" for every command in the doc's sh blocks.
quoted_commands() {
  awk '
    /^```sh[[:space:]]*$/ { inside = 1; next }
    inside && /^```/ { inside = 0; next }
    !inside { next }
    pending != "" { pending = pending " " $0 } 
    pending == "" { start = FNR; pending = $0 }
    /\\$/ { sub(/[[:space:]]*\\$/, "", pending); next }
    { print start "\t" pending; pending = "" }
  ' "$1"
}

names_a_tool() {
  local first=${1%% *}
  local tool
  for tool in "${tools[@]}"; do
    [ "$first" = "$tool" ] && return 0
  done
  return 1
}

for doc in "$source_dir"/README.md "$source_dir"/docs/*.md; do
  name=${doc#"$source_dir"/}
  scratch="$scratch_root/$(basename "$doc" .md)"
  mkdir -p "$scratch"
  ln -s "$source_dir/resources" "$scratch/resources"
  while IFS=$'\t' read -r line command; do
    [[ -z "${command// /}" || "$command" == \#* ]] && continue
    commands=$((commands + 1))
    if ! names_a_tool "$command"; then
      fail "$name:$line: not a command of the project's tools: $command"
      continue
    fi
    if ! output=$(cd "$scratch" && bash -o pipefail -c "$command" 2>&1 >/dev/null); then
      fail "$name:$line: $command"
      [ -n "$output" ] && printf '%s\n' "$output" | sed 's/^/    /' >&2
    fi
  done < <(quoted_commands "$doc")
done

if [ "$commands" -eq 0 ]; then
  fail "no doc quotes a command in an sh block"
fi
echo "$commands quoted commands, $failures failed"
[ "$failures" -eq 0 ]

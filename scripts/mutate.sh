#!/bin/sh
# Mutation run: makes each mutant of scripts/mutants.txt (one small change
# to the sources) in a copy of the tree, rebuilds what it touches and runs
# the suites named for it, then the whole suite if those did not fail. A
# mutant is killed when a test fails; one that does not build is reported as
# such. Prints a table and exits 1 when a mutant survives. Not part of CI.
#   sh scripts/mutate.sh [name filter]
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh rsync ccache python3
top=$(pwd)
work=${K40_MUTATE_DIR:-/tmp/k40-mutate}
filter=${1:-}
mkdir -p "$work"
# A copy of the committed tree and the changes in it, built once.
rsync -a --delete --exclude '/build*' --exclude '/.git' "$top/" "$work/src/"
cmake -S "$work/src" -B "$work/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    $(command -v ccache >/dev/null && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache) >/dev/null
cmake --build "$work/build" -j"$(nproc)" >/dev/null
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
# The desktop tests need a window manager and take long; the others decide.
skip='^(restarts|tst_windowmanager)$'
results="$work/results.txt"
: >"$results"
killed=0; survived=0; broken=0
grep -v -e '^#' -e '^[[:space:]]*$' scripts/mutants.txt | while IFS= read -r line; do
    name=$(printf "%s\n" "$line" | awk -F' [|] ' '{print $1}')
    case "$name" in *"$filter"*) ;; *) continue ;; esac
    file=$(printf "%s\n" "$line" | awk -F' [|] ' '{print $2}')
    suites=$(printf "%s\n" "$line" | awk -F' [|] ' '{print $3}')
    from=$(printf "%s\n" "$line" | awk -F' [|] ' '{print $4}')
    to=$(printf "%s\n" "$line" | awk -F' [|] ' '{print $5}')
    target="$work/src/$file"
    cp "$target" "$work/original"
    if ! FROM="$from" TO="$to" python3 - "$target" <<'PY'
import os, sys
path = sys.argv[1]
text = open(path, encoding="utf-8").read()
old = os.environ["FROM"].replace("\\|", "|").replace("\\n", "\n")
new = os.environ["TO"].replace("\\|", "|").replace("\\n", "\n")
if text.count(old) != 1:
    sys.exit(1)
open(path, "w", encoding="utf-8").write(text.replace(old, new))
PY
    then
        echo "$name|not found in $file" >>"$results"
        continue
    fi
    # The named suites first, built alone: most mutants die there, and
    # relinking every program for each one would take most of the run.
    targets=$(for s in $(printf '%s\n' "$suites" | tr '|' ' '); do
        [ -e "$work/build/tests/$s" ] && printf '%s ' "$s"; done)
    verdict=survived
    if ! cmake --build "$work/build" -j"$(nproc)" --target ${targets:-all} >"$work/build.log" 2>&1; then
        verdict="does not build"
    elif ! (cd "$work/build" && ctest -j"$(nproc)" -R "^($suites)\$" -E "$skip" --timeout 120 >/dev/null 2>&1); then
        verdict="killed by $suites"
    elif ! cmake --build "$work/build" -j"$(nproc)" >"$work/build.log" 2>&1; then
        verdict="does not build"
    elif ! (cd "$work/build" && ctest -j"$(nproc)" -E "$skip" --timeout 120 >"$work/ctest.log" 2>&1); then
        verdict="killed by $(grep -o 'tst_[a-z0-9]*' "$work/ctest.log" | sort -u | tr '\n' ' ')"
    fi
    cp "$work/original" "$target"
    echo "$name|$verdict" >>"$results"
    echo "$name: $verdict"
done
cmake --build "$work/build" -j"$(nproc)" >/dev/null 2>&1 || true
echo
echo "| Mutant | Result |"
echo "|---|---|"
sed 's/^\(.*\)|\(.*\)$/| \1 | \2 |/' "$results"
grep -q '|survived$' "$results" && exit 1
exit 0

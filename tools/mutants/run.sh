#!/usr/bin/env bash
# Seeds each fault of tools/mutants/faults.txt into src/ in turn, rebuilds, and runs the tests that
# should notice it. A fault the tests pass with is a hole in the suite.
#
#   tools/mutants/run.sh [BUILD_DIR] [--only ID...] [--all-tests]
#
# BUILD_DIR (default build-mutants) is configured on first use. --only runs the named faults;
# --all-tests runs the whole suite for each fault instead of the fault's own regex. Exits non-zero
# when a fault was missed or could not be seeded or built.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$root"
build="build-mutants"
all_tests=0
only=()
while (($#)); do
    case $1 in
    --all-tests) all_tests=1 ;;
    --only)
        while (($# > 1)) && [[ $2 != --* ]]; do
            only+=("$2")
            shift
        done
        ;;
    -h | --help)
        sed -n '2,9p' "$0"
        exit 0
        ;;
    *) build=$1 ;;
    esac
    shift
done

# One display and one private bus for the whole run, as the suite expects.
if [[ -z ${ZENTREL_MUTANTS_SESSION:-} ]]; then
    export ZENTREL_MUTANTS_SESSION=1
    args=("$build")
    ((all_tests)) && args+=(--all-tests)
    ((${#only[@]})) && args+=(--only "${only[@]}")
    exec xvfb-run -a -s "-screen 0 1600x900x24 -nolisten tcp" \
        dbus-run-session --config-file=tests/support/session-bus.conf -- "$0" "${args[@]}"
fi

trim() {
    local text=$1
    text=${text#"${text%%[![:space:]]*}"}
    printf '%s' "${text%"${text##*[![:space:]]}"}"
}

# Fields: id | file | original line | replacement line | ctest regex. Only the two code lines may
# hold " | " themselves, so a line that splits into more than five fields is refused.
ids=() files=() originals=() replacements=() regexes=()
while IFS= read -r line || [[ -n $line ]]; do
    [[ $line =~ ^[[:space:]]*(#|$) ]] && continue
    IFS=$'\x1f' read -r -a fields <<<"${line// | /$'\x1f'}"
    id=$(trim "${fields[0]}")
    if ((${#only[@]})) && [[ " ${only[*]} " != *" $id "* ]]; then
        continue
    fi
    ids+=("$id")
    if ((${#fields[@]} != 5)); then
        files+=("") originals+=("") replacements+=("") regexes+=("")
        continue
    fi
    files+=("$(trim "${fields[1]}")") originals+=("$(trim "${fields[2]}")")
    replacements+=("$(trim "${fields[3]}")") regexes+=("$(trim "${fields[4]}")")
done <tools/mutants/faults.txt
((${#ids[@]})) || { echo "no faults selected" >&2; exit 2; }

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
if [[ ! -f $build/build.ninja ]]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENTREL_BUILD_BENCH=OFF "${launcher[@]}"
fi
echo "== building $build"
cmake --build "$build"

logs=$build/mutants
mkdir -p "$logs"
backup=$logs/original.bytes
seeded=""
restore() {
    if [[ -n $seeded ]]; then
        cp "$backup" "$seeded"
        touch "$seeded" # newer than the mutant's objects, so the next build compiles it again
        seeded=""
    fi
}
trap restore EXIT
trap 'exit 130' INT TERM

# Replaces the one line whose trimmed text is $2 with $3, keeping its indentation. A line that has
# since gained the opening brace of its body still matches, and the replacement gets the brace too.
seed() {
    python3 - "$@" <<'EOF'
import sys
path, original, replacement = sys.argv[1], sys.argv[2].encode(), sys.argv[3].encode()
lines = open(path, "rb").read().splitlines(keepends=True)
hits = [i for i, line in enumerate(lines) if line.strip() in (original, original + b" {")]
if len(hits) != 1:
    sys.exit(f"the original line occurs {len(hits)} times")
line = lines[hits[0]]
body = line.rstrip(b"\r\n")
if line.strip() != original:
    replacement += b" {"
lines[hits[0]] = body[: len(body) - len(body.lstrip())] + replacement + line[len(body):]
open(path, "wb").write(b"".join(lines))
EOF
}

ctest_select() {
    if ((all_tests)); then echo "."; else echo "$1"; fi
}

# Test names are target names, except for tests that run a command; those need everything built.
targets_for() {
    local names targets=() name
    names=$(ctest --test-dir "$build" -N -R "$1" | sed -n 's/^ *Test *#[0-9]*: //p')
    for name in $names; do
        if ninja -C "$build" -t query "$name" >/dev/null 2>&1; then targets+=("$name"); else targets=(all); break; fi
    done
    echo "${targets[@]}"
}

# A fault only counts as caught if its tests pass without it.
echo "== tests on the unchanged tree"
if ((all_tests)); then baseline=.; else baseline=$(IFS='|'; echo "${regexes[*]}"); fi
if ! ctest --test-dir "$build" -R "$baseline" --timeout 300 >"$logs/baseline.log" 2>&1; then
    echo "the selected tests fail without any fault; see $logs/baseline.log" >&2
    exit 2
fi

results=()
for i in "${!ids[@]}"; do
    id=${ids[$i]} file=${files[$i]} regex=$(ctest_select "${regexes[$i]}")
    log=$logs/$id.log
    start=$SECONDS
    : >"$log"
    if [[ -z $file ]]; then
        result=invalid detail="not five fields"
    elif [[ ! -f $file ]]; then
        result=invalid detail="no file $file"
    elif ! ctest --test-dir "$build" -N -R "$regex" | grep '^ *Test *#' >/dev/null; then
        result=invalid detail="no test matches $regex"
    else
        cp "$file" "$backup"
        seeded=$file
        if ! seed "$file" "${originals[$i]}" "${replacements[$i]}" 2>>"$log"; then
            result=invalid detail="$(tail -1 "$log")"
        elif read -r -a targets <<<"$(targets_for "$regex")" &&
            ! cmake --build "$build" --target "${targets[@]}" >>"$log" 2>&1; then
            result=invalid detail="does not build"
        elif ctest --test-dir "$build" -R "$regex" --timeout 120 --output-on-failure >>"$log" 2>&1; then
            result=MISSED detail="$regex passes"
        else
            result=caught detail="$(grep -o '[0-9]* tests failed out of [0-9]*' "$log" | tail -1 || true)"
        fi
        restore
    fi
    printf '%-40s %-7s %4ss  %s\n' "$id" "$result" $((SECONDS - start)) "$detail"
    results+=("$result")
done

echo
echo "== summary ($build/mutants/<id>.log holds each fault's build and test output)"
missed=0
for i in "${!ids[@]}"; do
    printf '%-40s %-7s %s\n' "${ids[$i]}" "${results[$i]}" "${files[$i]}"
    [[ ${results[$i]} == caught ]] || missed=$((missed + 1))
done
echo "caught $((${#ids[@]} - missed)) of ${#ids[@]}"
((missed == 0))

#!/usr/bin/env bash
# Plants the faults listed in tools/planted-faults.txt one at a time in a scratch copy of the tree,
# rebuilds it, runs the dev suite and reverts; a fault counts as caught when some test fails. The
# expected programs run first and the rest of the suite only when none of them failed. The scratch
# tree keeps its own build (through ccache), so putting a file back costs a cache hit, not a compile.
#
#   tools/planted-faults.sh [OPTIONS] [PATTERN...]   plant the rows whose names match a PATTERN
#                                                    (shell patterns: 'export/*'); all rows without
#   --list        the rows: name, files and the programs expected to fail
#   --check       only look for every row's text in today's sources (no build): stale rows
#   --uncovered   source files that no row plants a fault in and that are not listed as exempt
#   --tree DIR    the scratch copy (default: build/planted-faults in this tree)
#   --jobs N      parallel compile and test jobs (default 2)
#   --no-baseline skip the suite run on the unchanged tree (only after one that passed)
set -euo pipefail
shopt -u patsub_replacement 2>/dev/null || true # '&' in a replacement is text

repo=$(cd "$(dirname "$0")/.." && pwd)
rows_file="$repo/tools/planted-faults.txt"
tree="$repo/build/planted-faults"
jobs=2
mode=plant
baseline=1
patterns=()

usage() {
    sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//' >&2
    exit 2
}

while [ $# -gt 0 ]; do
    case "$1" in
    --list) mode=list ;;
    --check) mode=check ;;
    --uncovered) mode=uncovered ;;
    --tree) tree=$2; shift ;;
    --jobs) jobs=$2; shift ;;
    --no-baseline) baseline=0 ;;
    -h | --help) usage ;;
    -*) echo "unknown option $1" >&2; usage ;;
    *) patterns+=("$1") ;;
    esac
    shift
done

# ---------------------------------------------------------------------------------------------------
# The rows. A row starts with "fault NAME"; "expect" names the test programs expected to fail, "note"
# says why a row may be missed; each edit is "file PATH", an optional "after TEXT" (the search starts
# below the one line holding TEXT), "find TEXT" (a fragment of one line: the only such line, or the
# first after the anchor) and "put TEXT" (what replaces the fragment). "exempt PATH REASON" names a
# source file that needs no row.

names=() expects=() notes=()
edit_row=() edit_file=() edit_after=() edit_find=() edit_put=()
exempt_files=() exempt_reasons=()

fail_rows() {
    echo "$rows_file:$1: $2" >&2
    exit 2
}

read_rows() {
    local number=0 line key value file="" after=""
    while IFS= read -r line || [ -n "$line" ]; do
        number=$((number + 1))
        [[ $line =~ ^[[:space:]]*(#|$) ]] && continue
        [[ $line =~ ^([a-z]+)([[:space:]]+(.*))?$ ]] || fail_rows $number "not a row line: $line"
        key=${BASH_REMATCH[1]}
        value=${BASH_REMATCH[3]}
        [ "$key" = fault ] || [ "$key" = exempt ] || [ ${#names[@]} -gt 0 ] ||
            fail_rows $number "$key before the first fault"
        local row=$((${#names[@]} - 1))
        case "$key" in
        fault)
            names+=("$value") expects+=("") notes+=("")
            file="" after=""
            ;;
        exempt) exempt_files+=("${value%% *}") exempt_reasons+=("${value#* }") ;;
        expect) expects[row]=$value ;;
        note) notes[row]="${notes[row]:+${notes[row]} }$value" ;;
        file) file=$value after="" ;;
        after) after=$value ;;
        find)
            [ -n "$file" ] || fail_rows $number "find before file"
            edit_row+=("$row") edit_file+=("$file") edit_after+=("$after") edit_find+=("$value") edit_put+=("")
            after=""
            ;;
        put) edit_put[${#edit_put[@]} - 1]=$value ;;
        *) fail_rows $number "unknown key $key" ;;
        esac
    done <"$rows_file"
    local row
    for row in "${!names[@]}"; do
        [ -n "${expects[row]}" ] || { echo "row ${names[row]}: no expect line" >&2; exit 2; }
    done
}

selected() {
    local name=$1 pattern
    [ ${#patterns[@]} -eq 0 ] && return 0
    for pattern in "${patterns[@]}"; do
        # shellcheck disable=SC2053 # a pattern on purpose
        [[ $name == $pattern ]] && return 0
    done
    return 1
}

# The line (0-based) that edit e changes in the lines given, or a reason on standard error.
locate() {
    local e=$1 at=0 found=-1 count=0 i
    shift
    local -a lines=("$@")
    local after=${edit_after[e]} find=${edit_find[e]}
    if [ -n "$after" ]; then
        local anchor=-1 anchors=0
        for i in "${!lines[@]}"; do
            if [[ ${lines[i]} == *"$after"* ]]; then
                anchor=$i
                anchors=$((anchors + 1))
            fi
        done
        [ $anchors -eq 1 ] || { echo "anchor found $anchors times: $after" >&2; return 1; }
        at=$((anchor + 1))
        for ((i = at; i < ${#lines[@]}; ++i)); do
            if [[ ${lines[i]} == *"$find"* ]]; then
                echo "$i"
                return 0
            fi
        done
        echo "not found below the anchor: $find" >&2
        return 1
    fi
    for i in "${!lines[@]}"; do
        if [[ ${lines[i]} == *"$find"* ]]; then
            found=$i
            count=$((count + 1))
        fi
    done
    [ $count -eq 1 ] || { echo "found $count times: $find" >&2; return 1; }
    echo "$found"
}

# Applies row r's edits to the files under the given root; prints "file:line" of each edit, or fails.
plant() {
    local r=$1 root=$2 e f
    local -a files=()
    for e in "${!edit_row[@]}"; do
        [ "${edit_row[e]}" = "$r" ] || continue
        [[ " ${files[*]} " == *" ${edit_file[e]} "* ]] || files+=("${edit_file[e]}")
    done
    local -a planted_at=()
    for f in "${files[@]}"; do
        [ -f "$root/$f" ] || { echo "no such file: $f" >&2; return 1; }
        local -a lines=()
        mapfile -t lines <"$root/$f"
        local -a at=() which=()
        for e in "${!edit_row[@]}"; do
            if [ "${edit_row[e]}" != "$r" ] || [ "${edit_file[e]}" != "$f" ]; then
                continue
            fi
            local line
            line=$(locate "$e" "${lines[@]}" 2>&1) || { echo "$f: $line" >&2; return 1; }
            at+=("$line") which+=("$e")
        done
        # Every edit was located in the unchanged file; now they change it.
        local k
        for k in "${!at[@]}"; do
            e=${which[k]}
            lines[at[k]]=${lines[at[k]]/"${edit_find[e]}"/"${edit_put[e]}"}
            planted_at+=("$f:$((at[k] + 1))")
        done
        printf '%s\n' "${lines[@]}" >"$root/$f"
    done
    echo "${planted_at[*]}"
}

# ---------------------------------------------------------------------------------------------------

read_rows
rows=()
for r in "${!names[@]}"; do
    selected "${names[r]}" && rows+=("$r")
done
[ ${#rows[@]} -gt 0 ] || { echo "no row matches ${patterns[*]}" >&2; exit 2; }

row_files() {
    local r=$1 e out=()
    for e in "${!edit_row[@]}"; do
        [ "${edit_row[e]}" = "$r" ] || continue
        [[ " ${out[*]} " == *" ${edit_file[e]} "* ]] || out+=("${edit_file[e]}")
    done
    echo "${out[*]}"
}

case "$mode" in
list)
    for r in "${rows[@]}"; do
        printf '%-44s %-40s %s\n' "${names[r]}" "$(row_files "$r")" "${expects[r]}"
    done
    exit 0
    ;;
check)
    stale=0
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    for r in "${rows[@]}"; do
        for f in $(row_files "$r"); do
            mkdir -p "$scratch/$(dirname "$f")"
            [ -f "$repo/$f" ] && cp "$repo/$f" "$scratch/$f"
        done
        if places=$(plant "$r" "$scratch" 2>"$scratch/reason"); then
            printf '%-44s %s\n' "${names[r]}" "$places"
        else
            printf '%-44s TEXT NOT FOUND: %s\n' "${names[r]}" "$(cat "$scratch/reason")"
            stale=$((stale + 1))
        fi
        for f in $(row_files "$r"); do
            [ -f "$repo/$f" ] && cp "$repo/$f" "$scratch/$f"
        done
    done
    echo "${#rows[@]} rows, $stale stale"
    [ $stale -eq 0 ]
    exit
    ;;
uncovered)
    cd "$repo"
    missing=0
    while IFS= read -r f; do
        covered=0
        for e in "${!edit_file[@]}"; do
            [ "${edit_file[e]}" = "$f" ] && covered=1 && break
        done
        for x in "${exempt_files[@]}"; do
            [ "$x" = "$f" ] && covered=1 && break
        done
        if [ $covered -eq 0 ]; then
            echo "$f"
            missing=$((missing + 1))
        fi
    done < <(git ls-files 'src/*.cpp' 'src/*.h' | while IFS= read -r f; do
        # A header beside its own source file is that file's declarations.
        [[ $f == *.h && -f ${f%.h}.cpp ]] || echo "$f"
    done)
    echo "$missing source files (and headers without one) without a row or an exemption" >&2
    exit 0
    ;;
esac

# ---------------------------------------------------------------------------------------------------
# Planting.

mkdir -p "$tree"
tree=$(cd "$tree" && pwd)
logs="$tree/logs"
mkdir -p "$logs"

# The scratch tree takes this tree's files (committed or not, ignored ones left out); unchanged files
# keep their time stamps, so the scratch build redoes only what changed.
(
    cd "$repo"
    git ls-files -co --exclude-standard -z | while IFS= read -r -d '' f; do
        [ -f "$f" ] || continue
        if ! cmp -s "$f" "$tree/$f"; then
            mkdir -p "$tree/$(dirname "$f")"
            cp -p "$f" "$tree/$f"
        fi
    done
)

build_dir="$tree/build/dev"
if [ ! -f "$build_dir/build.ninja" ]; then
    echo "configuring the scratch tree $tree"
    (cd "$tree" && cmake --preset dev -DCMAKE_CXX_COMPILER_LAUNCHER=ccache) >"$logs/configure.log" 2>&1 ||
        { echo "configure failed: $logs/configure.log" >&2; exit 1; }
fi

build() { # targets (none: all)
    if [ $# -gt 0 ]; then
        cmake --build "$build_dir" -j "$jobs" --target "$@"
    else
        cmake --build "$build_dir" -j "$jobs"
    fi
}

run_tests() { # ctest arguments...; prints the failed tests' names
    local out status=0
    out=$(cd "$tree" && ctest --preset dev -j "$jobs" "$@" 2>&1) || status=$?
    printf '%s\n' "$out" >>"$current_log"
    printf '%s\n' "$out" | sed -n '/The following tests FAILED:/,$p' | sed -nE 's/^[[:space:]]+[0-9]+ - ([^ ]+) .*/\1/p'
    if [ $status -ne 0 ] && ! printf '%s\n' "$out" | grep -q 'The following tests FAILED:'; then
        echo "<ctest failed>"
    fi
}

current_log="$logs/baseline.log"
: >"$current_log"
start=$SECONDS
echo "building the unchanged tree"
build >>"$current_log" 2>&1 || { echo "the unchanged tree does not build: $current_log" >&2; exit 1; }

# The tests and the targets that build them: a program under the build folder is its own target.
declare -A target_of=()
while IFS= read -r line; do
    if [[ $line =~ ^[0-9]+:\ Test\ command:\ ([^ ]+) ]]; then
        command=${BASH_REMATCH[1]}
    elif [[ $line =~ Test\ +#[0-9]+:\ (.+)$ ]]; then
        name=${BASH_REMATCH[1]}
        if [[ $command == "$build_dir"/* ]]; then
            target_of[$name]=$(basename "$command")
        else
            target_of[$name]=all
        fi
    fi
done < <(cd "$tree" && ctest --preset dev -N -V 2>/dev/null)

for r in "${rows[@]}"; do
    for t in ${expects[r]}; do
        [ -n "${target_of[$t]:-}" ] || { echo "row ${names[r]}: no test named $t" >&2; exit 2; }
    done
done

if [ $baseline -eq 1 ]; then
    echo "running the suite on the unchanged tree"
    failed=$(run_tests)
    if [ -n "$failed" ]; then
        echo "the unchanged tree fails: $failed (see $current_log)" >&2
        exit 1
    fi
fi

# Whatever happens, the scratch files go back as they were before the row.
originals="$tree/originals"
planted_files=()
keep_originals() {
    local f
    planted_files=()
    for f in "$@"; do
        [ -f "$tree/$f" ] || continue # a row naming a file that is gone is reported as not found
        mkdir -p "$originals/$(dirname "$f")"
        cp -p "$tree/$f" "$originals/$f"
        planted_files+=("$f")
    done
}
restore() {
    local f
    for f in "${planted_files[@]}"; do
        cp "$originals/$f" "$tree/$f"
        touch "$tree/$f"
    done
    planted_files=()
}
trap restore EXIT

minutes() {
    local s=$1
    if [ "$s" -ge 3600 ]; then
        printf '%d h %02d min' $((s / 3600)) $((s % 3600 / 60))
    elif [ "$s" -ge 60 ]; then
        printf '%d min %02d s' $((s / 60)) $((s % 60))
    else
        printf '%d s' "$s"
    fi
}

passed=0
missed=() unfound=() unbuilt=() elsewhere=()
index=0
for r in "${rows[@]}"; do
    index=$((index + 1))
    name=${names[r]}
    row_start=$SECONDS
    current_log="$logs/${name//\//_}.log"
    : >"$current_log"
    label=$(printf '[%3d/%d] %s' $index ${#rows[@]} "$name")
    read -r -a files <<<"$(row_files "$r")"
    keep_originals "${files[@]}"
    if ! places=$(plant "$r" "$tree" 2>>"$current_log"); then
        restore
        echo "$label: text not found ($(tail -n 1 "$current_log"))"
        unfound+=("$name: $(tail -n 1 "$current_log")")
        continue
    fi
    read -r -a expected <<<"${expects[r]}"
    targets=()
    for t in "${expected[@]}"; do
        targets+=("${target_of[$t]}")
    done
    [[ " ${targets[*]} " == *" all "* ]] && targets=()
    caught=""
    if ! build "${targets[@]}" >>"$current_log" 2>&1; then
        restore
        echo "$label at $places: DID NOT BUILD ($(minutes $((SECONDS - row_start))); $current_log)"
        unbuilt+=("$name")
        continue
    fi
    regex="^($(IFS='|'; echo "${expected[*]}"))\$"
    caught=$(run_tests -R "$regex")
    where=expected
    if [ -z "$caught" ]; then
        if build >>"$current_log" 2>&1; then
            caught=$(run_tests -E "$regex")
            where=elsewhere
        else
            restore
            echo "$label at $places: DID NOT BUILD ($(minutes $((SECONDS - row_start))); $current_log)"
            unbuilt+=("$name")
            continue
        fi
    fi
    restore
    took=$(minutes $((SECONDS - row_start)))
    if [ -n "$caught" ]; then
        passed=$((passed + 1))
        caught=${caught//$'\n'/ }
        echo "$label at $places: caught by $caught ($took)"
        [ $where = expected ] || elsewhere+=("$name: expected ${expected[*]}, caught by $caught")
    else
        echo "$label at $places: MISSED ($took)${notes[r]:+ — ${notes[r]}}"
        missed+=("$name${notes[r]:+ — ${notes[r]}}")
    fi
done

failed=$((${#rows[@]} - passed))
echo
echo "$passed passed, $failed failed ($(minutes $((SECONDS - start))), $(uptime | sed 's/.*load average: /load /'))"
list() { # title, items...
    local title=$1
    shift
    [ $# -gt 0 ] || return 0
    echo "$title:"
    printf '  %s\n' "$@"
}
list "missed" "${missed[@]}"
list "text not found" "${unfound[@]}"
list "did not build" "${unbuilt[@]}"
list "caught, but not by the programs the row expects" "${elsewhere[@]}"
[ $failed -eq 0 ]

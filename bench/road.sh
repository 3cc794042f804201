#!/bin/bash
# Times quillet-export's whole road (decode, grey, export of black data at 122) on a 6000 x 4000
# photo-like PNG against bench/road_numpy.py doing the same road with PIL and numpy, checks that both
# write the same bytes, and prints the wall times, their ratio and the peak resident memory; then the
# peak resident memory of the road to the outline DXF and SVG against the squares, each run alone.
#
#   bench/road.sh [QUILLET_EXPORT]     (default build/release/bin/quillet-export)
# Environment: RUNS (default 3, medians are reported), PYTHON (default /usr/bin/python3),
# ROAD_DIR (working folder, default a fresh one under TMPDIR, removed at the end).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
exporter=$(realpath "${1:-$here/../build/release/bin/quillet-export}")
python=${PYTHON:-/usr/bin/python3}
runs=${RUNS:-3}
if [[ -n "${ROAD_DIR:-}" ]]; then
    work=$ROAD_DIR
    mkdir -p "$work"
else
    work=$(mktemp -d "${TMPDIR:-/tmp}/quillet-road.XXXXXX")
    trap 'rm -rf "$work"' EXIT
fi
picture=$work/photo.png

if [[ ! -f $picture ]]; then
    echo "drawing the 6000 x 4000 test picture..."
    "$python" - "$picture" <<'PY'
import sys
import numpy as np
from PIL import Image

# Photo-like: soft light over the frame, large smooth shapes with edges, fine grain.
height, width = 4000, 6000
y, x = np.mgrid[0:height, 0:width].astype(np.float32)
light = 128 + 70 * np.sin(x / 900 + y / 1300) * np.cos(y / 700)
rgb = np.empty((height, width, 3), np.float32)
for channel, (fx, fy, phase) in enumerate([(170, 230, 0.0), (210, 150, 1.3), (260, 190, 2.1)]):
    rgb[..., channel] = light + 35 * np.sin(x / fx + phase) * np.sin(y / fy - phase)
for cx, cy, radius, shade in [(1500, 1200, 700, -90), (4200, 2600, 1000, 70), (3000, 900, 400, -50)]:
    rgb[(x - cx) ** 2 + (y - cy) ** 2 < radius**2] += shade
rgb += np.random.default_rng(7).integers(-9, 10, size=(height, width, 3), dtype=np.int16)
Image.fromarray(np.clip(rgb, 0, 255).astype(np.uint8)).save(sys.argv[1])
PY
fi

now() { date +%s%N; }
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# run LABEL OUTPUT COMMAND...: wall seconds into $seconds, peak resident MiB into $mib
run() {
    local output=$2
    shift 2
    rm -f "$output"
    local start
    start=$(now)
    /usr/bin/time -f '%M' -o "$work/rss" "$@" >/dev/null
    seconds=$(awk -v a="$start" -v b="$(now)" 'BEGIN { printf "%.3f", (b - a) / 1e9 }')
    mib=$(awk '{ printf "%.0f", $1 / 1024 }' "$work/rss")
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
declare -a quillet_times numpy_times quillet_mibs numpy_mibs
for ((i = 1; i <= runs; i++)); do
    run quillet "$work/quillet.txt" "$exporter" --threshold 122 "$picture" "$work/quillet.txt"
    quillet_times+=("$seconds") quillet_mibs+=("$mib")
    run numpy "$work/numpy.txt" "$python" "$here/road_numpy.py" --threshold 122 "$picture" "$work/numpy.txt"
    numpy_times+=("$seconds") numpy_mibs+=("$mib")
done
echo "load average after:  $(cut -d' ' -f1-3 /proc/loadavg)"

if ! cmp -s "$work/quillet.txt" "$work/numpy.txt"; then
    echo "FAIL: the two point files differ" >&2
    exit 1
fi
size=$(stat -c %s "$work/quillet.txt")
decoded_mib=$(awk 'BEGIN { printf "%.1f", 6000 * 4000 * 4 / 1048576 }')
quillet=$(median "${quillet_times[@]}")
numpy=$(median "${numpy_times[@]}")
peak=$(printf '%s\n' "${quillet_mibs[@]}" | sort -g | tail -1)
echo "picture: 6000 x 4000 PNG of $(($(stat -c %s "$picture") / 1048576)) MiB, decoded ${decoded_mib} MiB"
echo "point files: identical, $size bytes, $((size / 24 - 1)) points"
echo "quillet-export wall: ${quillet_times[*]} s, median $quillet s"
echo "numpy script wall:   ${numpy_times[*]} s, median $numpy s"
awk -v q="$quillet" -v n="$numpy" 'BEGIN { printf "ratio quillet-export / numpy: %.2f (target <= 0.35)\n", q / n }'
echo "peak resident memory: quillet-export ${peak} MiB (target <= 480 MiB, 5 x the decoded picture);" \
    "numpy script $(printf '%s\n' "${numpy_mibs[@]}" | sort -g | tail -1) MiB"

# The drawings' road in processes of their own: outlines may hold at most 64 MiB more than squares.
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
for format in dxf svg; do
    declare -A drawing_mibs=()
    for shapes in squares outlines; do
        run "$shapes" "$work/drawing.$format" "$exporter" --shapes "$shapes" "$picture" "$work/drawing.$format"
        drawing_mibs[$shapes]=$mib
        echo "$format $shapes: ${seconds} s wall, peak ${mib} MiB, $(($(stat -c %s "$work/drawing.$format") / 1048576)) MiB written"
    done
    echo "$format: peak outlines - squares $((drawing_mibs[outlines] - drawing_mibs[squares])) MiB (target <= 64)"
done
rm -f "$work/drawing.dxf" "$work/drawing.svg"

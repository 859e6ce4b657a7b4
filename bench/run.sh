#!/usr/bin/env bash
# Build floor and hardclone when needed, then run the benchmark.
#   bash bench/run.sh [run.py options]     (see bench/README.md)
# BENCH_NO_BUILD=1 skips building hardclone (e.g. while another build runs).
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
work="$here/.work"
mkdir -p "$work"

for helper in floor run_stats; do
    if [ ! -x "$work/$helper" ] || [ "$here/$helper.c" -nt "$work/$helper" ]
    then
        cc -O2 -o "$work/$helper" "$here/$helper.c" || exit 1
    fi
done

if [ -n "${BENCH_NO_BUILD:-}" ]; then
    :
elif [ ! -f "$root/CMakeLists.txt" ]; then
    echo "run.sh: no CMakeLists.txt yet: hardclone not built" >&2
else
    build="$root/build/posix"
    if ! { cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release &&
           cmake --build "$build" --target hardclone; } >"$work/build.log" 2>&1
    then
        echo "run.sh: building hardclone failed (log: $work/build.log);" \
             "going on with whatever binary is there" >&2
        tail -n 5 "$work/build.log" >&2
    fi
fi

exec python3 "$here/run.py" --floor "$work/floor" \
    --run-stats "$work/run_stats" "$@"

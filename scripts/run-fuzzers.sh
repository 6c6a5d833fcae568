#!/bin/sh
# Runs fuzz targets built in BUILD_DIR: run-fuzzers.sh BUILD_DIR PARALLEL TARGET...
# Each target runs FUZZ_SECONDS (default 24) from its seeds and its corpus
# (BUILD_DIR/corpus/TARGET, where new inputs are kept), PARALLEL of them at
# once; a fault's input goes to BUILD_DIR/artifacts. Each session's output
# is in BUILD_DIR/fuzz-logs/TARGET.log; the log of a target that found a
# fault is printed, and the script then fails.
set -eu
build=$1
parallel=$2
shift 2
seconds=${FUZZ_SECONDS:-24}
max_len=${FUZZ_MAX_LEN:-393216}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
cd "$source_dir"

# Seed folders made of files from several places.
rm -rf "$build/seeds" "$build/plot-seeds" "$build/project-seeds"
mkdir -p "$build/seeds" "$build/plot-seeds" "$build/project-seeds" "$build/artifacts" "$build/fuzz-logs"
cp tests/data/*.tq4d examples/*.tq4d tests/data/fuzz-seeds/*.tq4d "$build/seeds/"
cp tests/data/*.tq4p tests/data/fuzz-seeds-plot/*.tq4p "$build/plot-seeds/"
cp tests/data/*.json examples/*.json tests/data/fuzz-seeds-projectfile/*.json "$build/project-seeds/"

run_one() {
    t=$1
    dict=tests/fuzz/engine_input.dict
    seeds=$build/seeds
    case $t in
      evaluator) dict=tests/fuzz/evaluator.dict; seeds=tests/data/fuzz-seeds-evaluator ;;
      convert|staged) seeds="$seeds tests/data/fuzz-seeds-older" ;;
      plotfile) dict=tests/fuzz/plot_file.dict; seeds=$build/plot-seeds ;;
      studypart) dict=tests/fuzz/study_part.dict; seeds=tests/data/fuzz-seeds-studypart ;;
      sections) dict=tests/fuzz/sections.dict; seeds="tests/data/fuzz-seeds-sections resources/sections" ;;
      projectfile) dict=tests/fuzz/project_file.dict; seeds=$build/project-seeds ;;
      studytext) dict=tests/fuzz/study_text.dict; seeds=tests/data/fuzz-seeds-studytext ;;
      measurements) dict=tests/fuzz/measurements.dict; seeds=tests/data/fuzz-seeds-measurements ;;
    esac
    mkdir -p "$build/corpus/$t"
    log=$build/fuzz-logs/$t.log
    # shellcheck disable=SC2086
    if "$build/bin/fuzz_$t" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 \
        -close_fd_mask=1 -print_final_stats=1 -artifact_prefix="$source_dir/$build/artifacts/$t-" \
        -dict="$dict" "$build/corpus/$t" $seeds >"$log" 2>&1; then
        echo "fuzz_$t: $seconds s, $(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$') runs, no fault"
    else
        echo "fuzz_$t: FAULT (log: $log)"
        tail -n 60 "$log"
        return 1
    fi
}

failed=0
if [ "$parallel" -le 1 ]; then
    for t in "$@"; do run_one "$t" || failed=1; done
else
    # One session per core; each reports when it ends.
    running=0
    pids=""
    for t in "$@"; do
        run_one "$t" &
        pids="$pids $!"
        running=$((running + 1))
        if [ "$running" -ge "$parallel" ]; then
            set -- $pids
            wait "$1" || failed=1
            shift
            pids="$*"
            running=$((running - 1))
        fi
    done
    for p in $pids; do wait "$p" || failed=1; done
fi
exit $failed

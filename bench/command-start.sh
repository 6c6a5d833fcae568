#!/bin/sh
# Whole-process times of the terraq command, side by side with yardsticks,
# in one run (rounds that alternate the programs, so that a busy machine
# slows them alike). Read by people, never asserted.
#
#   bench/command-start.sh BUILD_BIN_FOLDER [ROUNDS]
#
# Compares:
#   terraq --version                 with /bin/true
#   terraq run of the cantilever     with bench_engine_loader, a C program
#   sample                           that loads the engine and calls its
#                                    entry once on the same file
#   terraq run of the sample walls,  --jobs 1 against --jobs 2
#   six copies of each
#
# The files go to a new folder in TMPDIR. terraq run makes its outputs
# durable (fsync) before it puts them in place, as the loader's engine
# does not: on a disk whose flushes are slow, compare with TMPDIR=/dev/shm
# as well, where they cost nothing.
set -eu
bin=$(cd "${1:?the folder of the built programs}" && pwd)
rounds=${2:-200}
source=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp "$source/examples/cantilever-point-load.tq4d" "$work/wall.tq4d"
mkdir "$work/loader"
printf '%s\n' "$work/loader/wall.tq4d" "$work/loader/wall.tq4o" "$work/loader/wall.tq4p" \
  "$work/loader/wall.tq4r" > "$work/loader/names.dat"
cp "$work/wall.tq4d" "$work/loader/"
mkdir "$work/batch"
for k in 1 2 3 4 5 6; do
  for f in "$source"/examples/*.tq4d; do cp "$f" "$work/batch/$k-$(basename "$f")"; done
done

now() { date +%s%N; }
# Adds the nanoseconds of one run of "$@" to the variable named $1.
timed() {
  var=$1; shift
  start=$(now); "$@" >/dev/null 2>&1 || true; end=$(now)
  eval "$var=\$((\$$var + end - start))"
}

t_true=0 t_version=0 t_loader=0 t_run=0
cd "$work/loader"
i=0
while [ $i -lt "$rounds" ]; do
  timed t_true /bin/true
  timed t_version "$bin/terraq" --version
  timed t_loader "$bin/bench_engine_loader" "$bin/Terraq2013_DLL.so"
  timed t_run "$bin/terraq" run "$work/wall.tq4d"
  i=$((i + 1))
done
t_jobs1=0 t_jobs2=0
batchRounds=$(( rounds / 20 + 1 ))
i=0
while [ $i -lt $batchRounds ]; do
  timed t_jobs1 "$bin/terraq" run --jobs 1 "$work"/batch/*.tq4d
  timed t_jobs2 "$bin/terraq" run --jobs 2 "$work"/batch/*.tq4d
  i=$((i + 1))
done

per() { echo "$1 $2" | awk '{ printf "%.2f ms", $1 / $2 / 1e6 }'; }
ratio() { echo "$1 $2" | awk '{ printf "%.2f", $1 / $2 }'; }
echo "rounds: $rounds (batch of $(ls "$work"/batch/*.tq4d | wc -l) files: $batchRounds) in $work"
echo "/bin/true              $(per $t_true "$rounds")"
echo "terraq --version       $(per $t_version "$rounds")   $(ratio $t_version $t_true) x /bin/true"
echo "bench_engine_loader    $(per $t_loader "$rounds")"
echo "terraq run (one file)  $(per $t_run "$rounds")   $(ratio $t_run $t_loader) x the loader"
echo "batch --jobs 1         $(per $t_jobs1 $batchRounds)"
echo "batch --jobs 2         $(per $t_jobs2 $batchRounds)   $(ratio $t_jobs1 $t_jobs2) x faster than --jobs 1"

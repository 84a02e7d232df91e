#!/usr/bin/env bash
# A batch split into jobs, as the README's and the guide's recipes split it,
# merges into the summary one direct run writes, byte for byte: one job per
# file and several files per job (a Slurm array's tasks, run here as plain
# processes), and GNU Parallel with -k when it is installed. Twelve files,
# so that job 10 sorts after job 2 only because its number is zero-padded.
#   split_batch_test.sh PELODYN_CLI EXAMPLES_DIR
set -euo pipefail
cli=$1
examples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export PELODYN_HOME=$work/home HOME=$work/home
mkdir -p "$work/home"

# The study in a folder of its own for each way of running it, so that no
# run sees another's result files.
study() {
  mkdir -p "$1/studies"
  local i name
  for i in $(seq 1 12); do
    case $((i % 3)) in
      0) name=homogeneous-grid ;;
      1) name=layered-phreatic-loads ;;
      2) name=irregular-random ;;
    esac
    cp "$examples/$name.pdd" "$1/studies/$name-$i.pdd"
  done
  (cd "$1" && find studies -name '*.pdd' | sort > files.txt)
}

fail() {
  echo "$*" >&2
  exit 1
}

# One direct run of every file.
study "$work/direct"
cd "$work/direct"
mapfile -t files < files.txt
"$cli" analyse --quiet --threads 1 --summary direct.txt "${files[@]}" > /dev/null 2> direct.err
[[ -s direct.txt ]] || fail "the direct run wrote no summary"

# A Slurm array task, as the recipe's --wrap runs it: task SLURM_ARRAY_TASK_ID
# analyses lines ID*PER+1 to ID*PER+PER of files.txt; its output goes to
# result-%3a.jsonl and its messages to result-%3a.err.
array_job() {
  local per=$1 n tasks task out pids=() status=0
  n=$(wc -l < files.txt)
  tasks=$(((n + per - 1) / per))
  for ((task = 0; task < tasks; task++)); do
    out=$(printf 'result-%03d' "$task")
    SLURM_ARRAY_TASK_ID=$task SLURM_CPUS_PER_TASK=1 PER=$per bash -c \
      'sed -n "$((SLURM_ARRAY_TASK_ID * PER + 1)),$((SLURM_ARRAY_TASK_ID * PER + PER))p" files.txt |
         xargs -d "\n" "$0" analyse --json --quiet --threads "$SLURM_CPUS_PER_TASK"' "$cli" \
      > "$out.jsonl" 2> "$out.err" &
    pids+=($!)
  done
  # Every task's exit status, then the count of results against the files.
  for pid in "${pids[@]}"; do wait "$pid" || status=1; done
  ((status == 0)) || fail "a task failed: $(cat result-*.err)"
  [[ $(cat result-*.jsonl | wc -l) -eq $n ]] || fail "$(cat result-*.jsonl | wc -l) results for $n files"
  "$cli" summary --expect files.txt -o merged.txt result-*.jsonl
  cmp merged.txt "$work/direct/direct.txt" || fail "tasks of $per file(s): the merged summary differs"
}

for per in 1 5; do
  study "$work/array-$per"
  cd "$work/array-$per"
  array_job "$per"
done
# The order the recipe promises comes from the zero-padded numbers: job 10
# comes after job 2.
[[ $(cd "$work/array-1" && printf '%s\n' result-*.jsonl | sed -n 3p) == result-002.jsonl ]] || fail "glob order"

if command -v parallel > /dev/null; then
  study "$work/parallel"
  cd "$work/parallel"
  parallel --will-cite -k -j 2 --joblog jobs.log \
    "$cli" analyse --json --quiet --threads 1 {} :::: files.txt > results.jsonl
  [[ $(awk 'NR > 1 && $7 != 0' jobs.log | wc -l) -eq 0 ]] || fail "a job failed"
  [[ $(wc -l < results.jsonl) -eq $(wc -l < files.txt) ]] || fail "results and files differ in number"
  "$cli" summary --expect files.txt -o merged.txt results.jsonl
  cmp merged.txt "$work/direct/direct.txt" || fail "GNU Parallel: the merged summary differs"
else
  echo "GNU Parallel is not installed: its recipe was not tried"
fi
echo "every split merged into the direct run's summary"

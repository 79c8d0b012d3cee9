#!/usr/bin/env bash
# Builds the fuzzers with clang and runs each for a while on its seed corpus.
# Usage: tools/fuzz.sh [SECONDS-EACH] [NAME...]   (default 600 s; names: formula values
# database dbimport workflowjson bpmn). New inputs go to build-fuzz/corpus, never into the
# repository; a crash leaves its input in build-fuzz/crashes and fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"
shift || true
names=("$@")
[ ${#names[@]} -eq 0 ] && names=(formula values database dbimport workflowjson bpmn)

tools/deps.sh --fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "${names[@]/#/fuzz_}"

mkdir -p build-fuzz/crashes
status=0
for name in "${names[@]}"; do
  work="build-fuzz/corpus/$name"
  mkdir -p "$work"
  echo "== fuzz_$name for ${seconds} s"
  # Leaks are the sanitizer job's concern; fuzzing hunts crashes and wrong answers.
  if ! ASAN_OPTIONS=detect_leaks=0 "build-fuzz/tests/fuzz/fuzz_$name" \
       -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -print_final_stats=1 \
       -artifact_prefix="build-fuzz/crashes/$name-" "$work" "tests/fuzz/corpus/$name" \
       2> >(grep -E "^(#[0-9]+ +DONE|stat::number_of_executed_units|stat::new_units_added|==[0-9]+==ERROR|SUMMARY|artifact_prefix|Test unit written)" >&2); then
    echo "fuzz_$name found a fault; its input is in build-fuzz/crashes" >&2
    status=1
  fi
done
exit $status

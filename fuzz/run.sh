#!/usr/bin/env bash
# Builds the prompt line fuzzer with clang (libFuzzer, ASan, UBSan) and runs it.
#   fuzz/run.sh <build-dir> <seconds>
# Exits non-zero when the fuzzer finds a crash, a sanitizer report or a wrong answer.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${1:?usage: run.sh <build-dir> <seconds>}
seconds=${2:?usage: run.sh <build-dir> <seconds>}

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build"

# New inputs the fuzzer finds go to the build directory; the checked-in seeds stay as they are.
mkdir -p "$build/corpus"
cd "$build"
./fuzz_promptline -max_total_time="$seconds" -timeout=10 -max_len=65536 -print_final_stats=1 \
    -dict="$here/json.dict" "$build/corpus" "$here/corpus"

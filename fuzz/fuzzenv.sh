# Shared by the fuzz scripts (sourced): the targets, the build folder and how to build it.
fuzz_targets=(frame gateway addressbook timestamp deviceanswers pointtexts configfile modbuslist password
              logframes eventframes)
fuzz_build=${KVT_FUZZ_BUILD:-build-fuzz}

# True when clang can build the targets here.
fuzz_have_clang() { command -v clang >/dev/null 2>&1 && command -v clang++ >/dev/null 2>&1; }

# Configures and builds the targets and the seed generator in their own folder ($1: jobs), in
# unity batches and linked with lld where it is installed.
fuzz_build_targets() {
  local link=()
  if command -v ld.lld >/dev/null 2>&1; then
    link=(-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld -DCMAKE_SHARED_LINKER_FLAGS=-fuse-ld=lld
          -DCMAKE_MODULE_LINKER_FLAGS=-fuse-ld=lld)
  fi
  CC=clang CXX=clang++ cmake -S . -B "$fuzz_build" -G Ninja -DKVT_FUZZ=ON -DKVT_TESTS=OFF -DKVT_BENCH=OFF \
    -DKVT_UNITY=ON -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -gline-tables-only" \
    -DCMAKE_C_FLAGS_DEBUG="-O1 -gline-tables-only" "${link[@]}" > /dev/null
  cmake --build "$fuzz_build" -j "$1" --target fuzzers
}

# Sanitizer settings of every run: stop at the first report, with its stack.
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=0:detect_leaks=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=offscreen

#!/usr/bin/env bash
# The quantiser's vector kernels must hold no aligned vector move to or from the stack: Windows
# aligns a thread's stack to 4 bytes (32-bit) or 16 bytes (64-bit) only and GCC does not realign
# it for wider vectors, so such a move faults on Windows (Wine's stacks hide it).
#   check_kernel_stack_moves.sh SOURCES_DIR "CXXFLAGS" "KERNEL OPTIONS" -- OBJDUMP OBJECT...
# Checks this build's own kernel objects with OBJDUMP, and compiles the kernel sources of
# SOURCES_DIR again with both Windows compilers (64- and 32-bit) and the same options, so that the
# build that cannot run here is checked too.
set -uo pipefail
sources=${1:?sources dir}
cxxflags=${2-}
options=$3
shift 3
[ "${1:-}" = -- ] && shift
own_objdump=${1:?objdump}
shift
own_objects=("$@")
kernels=(NeuQuantKernelsSse2.cpp NeuQuantKernelsAvx2.cpp NeuQuantKernelsAvx512.cpp)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# Prints the aligned vector moves (SSE and AVX forms, masked AVX-512 ones and non-temporal
# stores included) whose memory operand is based on the stack or frame pointer, with their
# function.
aligned_stack_moves() {  # objdump object
  "$1" -d --no-show-raw-insn "$2" | awk '
    /^[0-9a-f]+ <.*>:$/ { fn = $2 }
    {
      line = $0
      sub(/^ *[0-9a-f]+:[ \t]*/, "", line)
      split(line, word, /[ \t]+/)
      if (word[1] ~ /^v?(movaps|movapd|movdqa|movdqa32|movdqa64|movntps|movntpd|movntdq|movntdqa)$/ &&
          line ~ /\(%(rsp|rbp|esp|ebp)[,)]/)
        print fn " " line
    }'
}

check_object() {  # objdump object label
  local found listing
  if ! listing=$("$1" -d --no-show-raw-insn "$2" 2>&1); then
    fail "$3: cannot disassemble $2: $listing"
    return
  fi
  if ! grep -qE '<[^>]*(Contest|Neighbours|Lookup)' <<<"$listing"; then
    fail "$3: no kernel function in $2"
    return
  fi
  found=$(aligned_stack_moves "$1" "$2")
  if [ -n "$found" ]; then
    fail "$3: aligned vector moves on the stack in $(basename "$2"):"
    echo "$found" | sed 's/^/    /'
  else
    echo "ok: $3 $(basename "$2")"
  fi
}

# 1. This build's objects, as linked into the program.
[ ${#own_objects[@]} -gt 0 ] || fail "no kernel objects given"
for object in "${own_objects[@]}"; do
  check_object "$own_objdump" "$object" "this build"
done

# 2. Both Windows compilers over the same sources and options. Some compilers already write every
# vector move unaligned and some do not; the options make it hold for all. A fixture of aligned
# stack moves must be found when assembled without them (so the check can fail) and be gone
# with them (so the options do their work).
for arch in x86_64 i686; do
  cxx=$arch-w64-mingw32-g++-posix
  objdump=$arch-w64-mingw32-objdump
  if ! command -v "$cxx" >/dev/null || ! command -v "$objdump" >/dev/null; then
    fail "$arch: $cxx or $objdump is missing"
    continue
  fi
  sp=%rsp
  [ $arch = i686 ] && sp=%esp
  printf '\t.text\nSpill:\n\tvmovdqa %%ymm0, 32(%s)\n\tvmovdqa32 %%zmm1, 64(%s)\n\tmovaps %%xmm2, 16(%s)\n\tret\n' \
    "$sp" "$sp" "$sp" >"$work/spill-$arch.s"
  # shellcheck disable=SC2086  # flag lists
  if "$cxx" -c "$work/spill-$arch.s" -o "$work/spill-$arch.o" 2>"$work/log" &&
     "$cxx" $options -c "$work/spill-$arch.s" -o "$work/spill-unaligned-$arch.o" 2>>"$work/log"; then
    [ "$(aligned_stack_moves "$objdump" "$work/spill-$arch.o" | wc -l)" -eq 3 ] ||
      fail "$arch: the check does not find the three aligned stack moves of the fixture"
    [ -z "$(aligned_stack_moves "$objdump" "$work/spill-unaligned-$arch.o")" ] ||
      fail "$arch: the kernel options leave aligned stack moves in the fixture"
  else
    fail "$arch: the fixture does not assemble: $(cat "$work/log")"
  fi
  for kernel in "${kernels[@]}"; do
    object=$work/${kernel%.cpp}-$arch.o
    # shellcheck disable=SC2086
    if "$cxx" -std=gnu++17 $cxxflags $options -I"$sources" -c "$sources/$kernel" -o "$object" 2>"$work/log"; then
      check_object "$objdump" "$object" "$arch"
    else
      fail "$arch: $kernel does not compile: $(cat "$work/log")"
    fi
  done
done

if [ $failures -gt 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "no aligned vector move on the stack in the kernels of either Windows build"

#!/usr/bin/env bash
# The program does its floating point on SSE2 in both Windows builds, so that truncations to whole
# pixels and milliseconds come out the same in the 32-bit release as in the 64-bit twin: the x87
# unit keeps 80-bit intermediates and rounds only when it stores. Runs on the build machine, so
# the release build is checked where 32-bit programs cannot run.
#   check_no_x87.sh OBJDUMP CXX "CXXFLAGS" -- OBJECT...
# Fails on any x87 instruction in the objects except the loads and stores through which the
# 32-bit calling convention returns a float or double in st(0) (fld, fstp, fldz, fld1).
# Fixtures show that the check tells the two apart and that CXXFLAGS keep arithmetic off x87.
set -uo pipefail
objdump=${1:?objdump}
cxx=${2:?compiler}
cxxflags=${3-}
shift 3
[ "${1:-}" = -- ] && shift
objects=("$@")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# Prints the x87 instructions of an object that do more than move a returned value, each with
# its function. Every x87 mnemonic starts with "f" (AT&T syntax, as objdump prints it).
x87_arithmetic() {  # object
  "$objdump" -d --no-show-raw-insn -C "$1" | awk '
    /^[0-9a-f]+ <.*>:$/ { fn = $0; sub(/^[0-9a-f]+ </, "", fn); sub(/>:$/, "", fn) }
    /^ *[0-9a-f]+:\t/ {
      line = $0
      sub(/^ *[0-9a-f]+:[ \t]*/, "", line)
      n = split(line, word, /[ \t]+/)
      op = word[1]
      if (op ~ /^(lock|rep|repz|repnz|data16|addr32)$/ && n > 1) op = word[2]
      if (op !~ /^f/) next
      if (op ~ /^(flds|fldl|fld|fstps|fstpl|fstp|fldz|fld1)$/) next
      print fn ": " line
    }'
}

# 1. A fixture with both kinds: the return moves pass, the arithmetic is found.
cat >"$work/fixture.s" <<'ASM'
	.text
Returns:
	fldl	4(%esp)
	fstpl	8(%esp)
	flds	4(%esp)
	fstps	8(%esp)
	fstp	%st(0)
	fldz
	fld1
	ret
Arithmetic:
	faddl	4(%esp)
	fmulp	%st, %st(1)
	fdivrs	8(%esp)
	fsubrp	%st, %st(1)
	fsqrt
	fildll	4(%esp)
	fistpl	8(%esp)
	fisttpl	8(%esp)
	fucomip	%st(1), %st
	fldt	4(%esp)
	fchs
	ret
ASM
if "$cxx" -c "$work/fixture.s" -o "$work/fixture.o" 2>"$work/log"; then
  found=$(x87_arithmetic "$work/fixture.o")
  [ "$(grep -c '^Returns' <<<"$found")" -eq 0 ] ||
    fail "the check reports the return moves of the fixture: $(grep '^Returns' <<<"$found" | tr '\n' ';')"
  [ "$(grep -c '^Arithmetic' <<<"$found")" -eq 11 ] ||
    fail "the check finds $(grep -c '^Arithmetic' <<<"$found") of the fixture's 11 x87 instructions"
else
  fail "the fixture does not assemble: $(cat "$work/log")"
fi

# 2. The same compiler with and without this build's flags over a computation that truncates.
cat >"$work/truncate.cpp" <<'CPP'
int Milliseconds(double seconds, int scale) { return static_cast<int>(seconds * 1000 * scale + 0.5); }
double Half(double value) { return value / 2; }
CPP
# shellcheck disable=SC2086  # a flag list
if "$cxx" -O2 -c "$work/truncate.cpp" -o "$work/plain.o" 2>"$work/log" &&
   "$cxx" -O2 $cxxflags -c "$work/truncate.cpp" -o "$work/flagged.o" 2>>"$work/log"; then
  [ -n "$(x87_arithmetic "$work/plain.o")" ] ||
    echo "note: $cxx computes on SSE without being told (a 64-bit compiler): the check of the compile flags proves nothing here"
  found=$(x87_arithmetic "$work/flagged.o")
  [ -z "$found" ] || fail "the flags \"$cxxflags\" leave x87 arithmetic: $(tr '\n' ';' <<<"$found")"
else
  fail "the fixture does not compile: $(cat "$work/log")"
fi

# 3. The program's own objects.
[ ${#objects[@]} -gt 0 ] || fail "no objects given"
checked=0
for object in "${objects[@]}"; do
  if ! "$objdump" -d "$object" >/dev/null 2>&1; then
    fail "cannot disassemble $object"
    continue
  fi
  found=$(x87_arithmetic "$object")
  if [ -n "$found" ]; then
    fail "x87 arithmetic in $(basename "$object"):"
    sed 's/^/    /' <<<"$found"
  fi
  checked=$((checked + 1))
done

if [ $failures -gt 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "no x87 arithmetic in the $checked objects of the program"

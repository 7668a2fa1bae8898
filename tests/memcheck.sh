#!/usr/bin/env bash
# valgrind's memcheck must find no error, whether a run ends with roots or stops on bad input;
# a program that did not run at all fails.
set -u
valgrind=$1 binary=$2
# 77: skipped, as CTest's SKIP_RETURN_CODE takes it.
if ! command -v "$valgrind" >/dev/null; then
  echo "SKIPPED every check: needs valgrind (Debian's valgrind package)"
  exit 77
fi
if [[ ! -x $binary ]]; then
  echo "FAIL cannot run $binary"
  exit 1
fi
passed=0 failed=0
for input in '1 -3 2' '1 0 1' '0 0 0' '1 2,5' 'abc' ''; do
  # valgrind reports on descriptor 3; the program's own messages are expected.
  out=$(printf '%s\n' "$input" | "$valgrind" -q --log-fd=3 --error-exitcode=99 --leak-check=full \
    --errors-for-leak-kinds=definite,indirect "$binary" 3>&2 2>/dev/null)
  status=$?
  # Every run, good input or bad, starts with the first prompt: without it,
  # the program did not run under valgrind and nothing was checked.
  if ((status == 99)); then
    echo "FAIL memcheck found errors for input '$input'"
    ((failed += 1))
  elif ((status > 1)) || [[ $out != 'Digite o Valor de A '* ]]; then
    echo "FAIL the program did not run under valgrind for input '$input' (status $status)"
    ((failed += 1))
  else
    ((passed += 1))
  fi
done
echo "$passed passed, $failed failed"
((failed == 0))

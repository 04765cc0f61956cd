# The tally of a test script under Wine, sourced after `work` is made and
# scripts/wine_session.sh is sourced: pass/fail count the checks, finish stops
# the session, keeps the work folder only when something failed, prints
# "N passed, M failed" and exits with the verdict.
passed=0
failed=0
pass() { echo "PASS: $1"; passed=$((passed + 1)); }
fail() { echo "FAIL: $1"; failed=$((failed + 1)); }

finish() {
  wine_session_stop
  if [ "$failed" -eq 0 ]; then rm -rf "$work"; else echo "Kept for inspection: $work"; fi
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit $?
}

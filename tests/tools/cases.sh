# shellcheck shell=bash
# The bookkeeping of the tool's case scripts. Source it; call begin_case NAME
# before each case, fail MESSAGE within it, cases_end SCRIPT-NAME last (it
# prints the summary line and returns the verdict). WORK is a scratch folder
# removed on exit; B is a CR LF line end; says TEXT looks for TEXT in $OUT.
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cases=0
failed_cases=0
failed_here=0
CASE=""
# shellcheck disable=SC2034  # B is for the scripts that source this
B=$'\r\n'
fail() { echo "FAIL $CASE: $*"; failed_here=1; }
begin_case() {
  failed_cases=$((failed_cases + failed_here))
  failed_here=0
  cases=$((cases + 1))
  CASE=$1
}
says() { grep -qF -- "$1" <<<"$OUT" || fail "does not say '$1'"$'\n'"$OUT"; }
cases_end() {
  begin_case end
  cases=$((cases - 1))
  echo "$1: $((cases - failed_cases)) passed, $failed_cases failed"
  [ "$failed_cases" -eq 0 ]
}

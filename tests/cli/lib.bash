# Shared by the command-line tests: a scratch folder, a failure flag and
# the two ways of checking a command. Source it after setting $tarn.
fail=0
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# expect DESCRIPTION EXPECTED COMMAND...: standard output and error together.
expect() {
  local what=$1 want=$2; shift 2
  local got
  got=$("$@" 2>&1)
  if [ "$got" != "$want" ]; then
    printf 'FAIL %s\n  want: %q\n  got:  %q\n' "$what" "$want" "$got"
    fail=1
  fi
}

# expect_out DESCRIPTION EXPECTED COMMAND...: standard output only; standard
# error is kept in $tmp/stderr.
expect_out() {
  local what=$1 want=$2; shift 2
  local got
  got=$("$@" 2>"$tmp/stderr")
  if [ "$got" != "$want" ]; then
    printf 'FAIL %s\n  want: %q\n  got:  %q\n' "$what" "$want" "$got"
    fail=1
  fi
}

# fail_if CONDITION DESCRIPTION: the condition is evaluated; true is a failure.
fail_if() { if eval "$1"; then echo "FAIL $2"; fail=1; fi; }

# finish NAME: reports and exits with the result.
finish() {
  [ $fail -eq 0 ] && echo "$1: all passed"
  exit $fail
}

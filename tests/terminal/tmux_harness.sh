# Sourced by the tmux tests: a scratch folder ($work), a tmux server on a
# socket of its own (tmuxc, with its configuration in $work/tmux.conf), and
# the checks. Nothing sleeps for a fixed time: poll tries a check every
# 20 ms for up to 10 s. Set harness_name before sourcing; a test may define
# describe_failure to add to what a failure shows.
work=$(mktemp -d)
socket="tamiral-$harness_name-$$"
# UTF-8 whatever the locale, or titles come back with "_" for accents.
tmuxc() { env -u TMUX LC_ALL=C.UTF-8 tmux -u -L "$socket" "$@"; }
cleanup() {
  tmuxc kill-server 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

cat > "$work/tmux.conf" <<'CONF'
set -g escape-time 0
set -g status off
set -g remain-on-exit on
set -g extended-keys on
set -g set-clipboard on
CONF

fail() {
  echo "FAIL ($harness_name): $*"
  echo "--- screen:"
  tmuxc capture-pane -p
  if declare -F describe_failure > /dev/null; then describe_failure; fi
  exit 1
}

# poll DESCRIPTION COMMAND...: waits until the command succeeds.
poll() {
  local what=$1 i
  shift
  for ((i = 0; i < 500; i++)); do
    "$@" && return 0
    sleep 0.02
  done
  fail "$what"
}
row_is() { [ "$(tmuxc capture-pane -p | sed -n "$1p")" = "$2" ]; }
has_line() { tmuxc capture-pane -p | grep -qxF -- "$1"; }

#!/usr/bin/env bash
# terminal_test.sh CASE ROTEIRO KEY_ECHO
# Drives the real programs in a terminal made by tmux: one tmux server per
# run, on a socket of its own. Nothing sleeps for a fixed time: each check
# polls the pane every 20 ms for up to 10 s. The programs run under a shell
# that, when they end, shows their exit status and the terminal modes, so a
# check can see that the terminal was given back.
set -u
case_name=$1
roteiro=$2
key_echo=$3

harness_name=$case_name
source "$(dirname "$0")/tmux_harness.sh"
mkdir -p "$work/config/Tamiral"
printf '[TRADUTOR]\r\nSAIDADEAUDIO=nenhuma\r\n[VIDEO]\r\nCORLETRA=14\r\nCORFUNDO=1\r\n' \
  > "$work/config/Tamiral/Tamiral.ini"

# Runs a program in a new tmux server, 80 x 25. Its pid goes to $work/pid.
start() {
  {
    echo '#!/usr/bin/env bash'
    echo 'ulimit -c 0'
    printf 'cd %q\n' "$work"
    printf 'export XDG_CONFIG_HOME=%q\n' "$work/config"
    printf 'bash -c '\''echo $$ > pid; exec "$@"'\'' program'
    printf ' %q' "$@"
    echo
    echo 'status=$?'
    echo 'modes=$(stty -a | tr " ;" "\n\n" | grep -xE -- "-?(icanon|echo|isig|ixon)" | sort | tr "\n" " ")'
    echo 'echo "saiu=$status $modes"'
    echo 'exec sleep 600'
  } > "$work/run.sh"
  chmod +x "$work/run.sh"
  tmuxc -f "$work/tmux.conf" new-session -d -x 80 -y 25 "$work/run.sh"
}

describe_failure() {
  echo "--- $(tmuxc display -p 'title=#{pane_title} alternate=#{alternate_on} cursor=#{cursor_flag}')"
}

format_is() { [ "$(tmuxc display -p "$1")" = "$2" ]; }
shows() { tmuxc capture-pane -p | grep -qF -- "$1"; }

# After the program: its status, the terminal's modes back, the alternate
# screen left, the caret visible, no mouse reports or keypad mode.
expect_given_back() {
  local status=$1
  poll "exit status $status and cooked modes" has_line "saiu=$status echo icanon isig ixon"
  poll "terminal given back" format_is \
    '#{alternate_on} #{cursor_flag} #{mouse_standard_flag} #{mouse_sgr_flag} #{keypad_flag} #{wrap_flag}' \
    "0 1 0 0 0 1"
}

# key KEYS... EXPECTED: one key, then its code on the next row of the echo.
echo_row=1
key() {
  local expected=${*: -1}
  tmuxc send-keys "${@:1:$#-1}"
  echo_row=$((echo_row + 1))
  poll "key ${*:1:$#-1} shown as $expected" row_is "$echo_row" "$expected"
}

case $case_name in
  text_colours_and_scroll)
    # Ends with a run-time error, which keeps the screen while it waits for Enter.
    cat > "$work/título.rot" <<'SCRIPT'
ESCREVE "Olá, terminal €"
SEJA a 1
ENQUANTO a <= 30
ESCREVE "linha " a
SOMA a 1
FIM ENQUANTO
SEJA b (10/0)
SCRIPT
    start "$roteiro" "título.rot"
    poll "error line shown" row_is 24 "7"
    poll "scrolled rows" row_is 1 "linha 8"
    row_is 23 "linha 30" || fail "row 23"
    tmuxc capture-pane -p -e | grep -qF $'\e[38;2;255;255;0m' || fail "yellow text (24-bit)"
    tmuxc capture-pane -p -e | grep -qF $'\e[48;2;0;0;255m' || fail "blue background (24-bit)"
    poll "title is the script's name" format_is '#{pane_title}' "título.rot"
    poll "caret shown at the cursor while Enter is awaited" format_is '#{cursor_flag} #{cursor_x},#{cursor_y}' "1 0,24"
    tmuxc send-keys Enter
    expect_given_back 1
    format_is '#{pane_title}' "título.rot" || fail "a failed run keeps its title"
    ;;
  normal_end)
    printf 'ESCREVE "Olá"\n' > "$work/fim.rot"
    start "$roteiro" fim.rot
    expect_given_back 0
    format_is '#{pane_title}' "Programa terminado" || fail "title at the end"
    ;;
  keys)
    start "$key_echo"
    poll "ready" row_is 1 "Pronto"
    poll "mouse reports asked for" format_is '#{mouse_standard_flag} #{mouse_sgr_flag}' "1 1"
    key F1 "#0#59"
    key C-Right "#0#116"
    key S-IC "#0#254 []"
    key -H 1b 5b 3c 36 34 3b 31 30 3b 35 4d "#0#72"      # wheel away from the user
    key -H 1b 5b 3c 36 35 3b 31 30 3b 35 4d "#0#80"      # wheel toward the user
    key -H 1b 5b 3c 30 3b 35 3b 35 4d 1b 5b 3c 30 3b 35 3b 35 6d "#13"  # left click
    key Escape "#27"
    key C-c "#3"
    key C-j "#10"
    key Enter "#13"
    key -l "ç" "#231"
    tmuxc set-buffer "colado é"
    tmuxc paste-buffer -p
    echo_row=$((echo_row + 1))
    poll "bracketed paste into the clipboard" row_is "$echo_row" "#0#254 [colado é]"
    poll "caret while a key is awaited" format_is '#{cursor_flag} #{cursor_x},#{cursor_y}' "1 0,$echo_row"
    key p "#112"
    poll "pause begun" shows "pausa"
    format_is '#{cursor_flag}' "0" || fail "caret hidden while nobody reads"
    poll "pause over" shows "fim da pausa"
    poll "caret back" format_is '#{cursor_flag}' "1"
    tmuxc send-keys q
    expect_given_back 0
    ;;
  SIGTERM | SIGHUP | SIGINT)
    start "$key_echo"
    poll "ready" row_is 1 "Pronto"
    kill -s "${case_name#SIG}" "$(cat "$work/pid")"
    expect_given_back $((128 + $(kill -l "${case_name#SIG}")))
    ;;
  crash)
    start "$key_echo"
    poll "ready" row_is 1 "Pronto"
    tmuxc send-keys c
    expect_given_back $((128 + $(kill -l SEGV)))
    ;;
  *)
    echo "unknown case $case_name"
    exit 2
    ;;
esac
echo "ok: $case_name"

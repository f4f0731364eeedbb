#!/usr/bin/env bash
# line_and_menu_test.sh ROTEIRO
# A script asks for a name with LE, offers a three-item menu and writes what
# was chosen; the keys are typed through tmux one at a time, and after each
# one the screen and the speech log are polled (every 20 ms, up to 10 s) for
# what the user sees and hears.
set -u
roteiro=$1

harness_name=line-menu
source "$(dirname "$0")/tmux_harness.sh"
mkdir -p "$work/config/Tamiral"
printf '[TRADUTOR]\r\nSAIDADEAUDIO=nenhuma\r\nREGISTRODAFALA=%s\r\n' "$work/fala.log" \
  > "$work/config/Tamiral/Tamiral.ini"
touch "$work/fala.log"

cat > "$work/escolha.rot" <<'SCRIPT'
ESCREVE "Nome: " &
LE $nome
MENU CRIA 3 5 22 7
MENU ADICIONA "maçã"
MENU ADICIONA "pera"
MENU ADICIONA "uva"
SEJA n 1
MENU EXECUTA n k t
MENU TERMINA
ESCREVE "Escolheu " t " para " $nome ", item " n
LE &
SCRIPT

{
  echo '#!/usr/bin/env bash'
  printf 'cd %q\n' "$work"
  printf 'export XDG_CONFIG_HOME=%q\n' "$work/config"
  printf '%q escolha.rot\n' "$roteiro"
  echo 'echo "saiu=$?"'
  echo 'exec sleep 600'
} > "$work/run.sh"
chmod +x "$work/run.sh"
tmuxc -f "$work/tmux.conf" new-session -d -x 80 -y 25 "$work/run.sh"

describe_failure() {
  echo "--- speech log:"
  cat "$work/fala.log"
}
cursor_at() { [ "$(tmuxc display -p '#{cursor_flag} #{cursor_x},#{cursor_y}')" = "1 $1" ]; }
# The speech log ends with these lines (one argument each).
heard_last() {
  local expected
  expected=$(printf '%s\n' "$@")
  [ "$(tail -n $# "$work/fala.log")" = "$expected" ]
}
# A cell's colours as tmux keeps them: the row with its escape sequences.
row_colours_have() { tmuxc capture-pane -p -e | sed -n "$1p" | grep -qF -- "$2"; }

poll "the prompt is said" heard_last "Nome: "
poll "the editor waits after the prompt" cursor_at "6,0"

# Each letter is shown and said as it is typed.
for letter in A n a; do
  tmuxc send-keys -l "$letter"
  poll "letter $letter echoed" heard_last "_$(printf '%d' "'$letter")"
done
poll "the typed name" row_is 1 "Nome: Ana"
tmuxc send-keys BSpace
poll "backspace says what it removed" heard_last "_DEL" "_97"
tmuxc send-keys -l a
poll "letter retyped" heard_last "_97"
tmuxc send-keys Enter

# The menu: the first item is said and shown in yellow; each move says the next.
poll "first item said" heard_last "maçã"
poll "menu drawn" row_is 5 "  maçã"
row_is 6 "  pera" || fail "second item drawn"
row_is 7 "  uva" || fail "third item drawn"
row_colours_have 5 $'\e[38;2;255;255;0m' || fail "the current item in yellow"
poll "cursor on the current item" cursor_at "2,4"
tmuxc send-keys Down
poll "second item said" heard_last "pera"
tmuxc send-keys Down
poll "third item said" heard_last "uva"
tmuxc send-keys Down
poll "the end beeps and says nothing" cursor_at "2,4"
tmuxc send-keys Up
poll "back on the third item" heard_last "uva" "uva"
tmuxc send-keys Up
poll "back on the second item" heard_last "pera"
tmuxc send-keys Enter

# TERMINA left the cursor at the box's first cell, where the answer goes.
poll "the choice is written" row_is 5 "  Escolheu pera para Ana, item 2"
poll "and said" heard_last "Escolheu pera para Ana, item 2"
for r in 6 7; do row_is "$r" "" || fail "menu row $r blanked"; done
tmuxc send-keys Enter
poll "program ended" has_line "saiu=0"

expected_log='Nome: 
_65
_110
_97
_DEL
_97
_97
maçã
pera
uva
uva
pera
Escolheu pera para Ana, item 2
Fim do script'
[ "$(cat "$work/fala.log")" = "$expected_log" ] || fail "the whole speech log"
echo "ok: line and menu"

#!/usr/bin/env bash
# demo_test.sh ROTEIRO DEMO
# The README's main job, as a user with eyes closed meets it: the demo runs
# in a tmux terminal, each menu entry is chosen with the arrows and Enter,
# and the speech log is polled (every 20 ms, up to 10 s) for what is heard.
# Its sound goes to a capture file, which must hold speech at the end.
set -u
roteiro=$1
demo=$2

harness_name=demo
source "$(dirname "$0")/tmux_harness.sh"
mkdir -p "$work/config/Tamiral"
printf '[TRADUTOR]\r\nSAIDADEAUDIO=arquivo:%s\r\nREGISTRODAFALA=%s\r\n' "$work/saida.wav" "$work/fala.log" \
  > "$work/config/Tamiral/Tamiral.ini"
touch "$work/fala.log"
printf 'cd %q && XDG_CONFIG_HOME=%q %q %q; echo "saiu=$?"; exec sleep 600\n' \
  "$work" "$work/config" "$roteiro" "$demo" > "$work/run.sh"
tmuxc -f "$work/tmux.conf" new-session -d -x 80 -y 25 "bash $work/run.sh"

describe_failure() {
  echo "--- speech log:"
  cat "$work/fala.log"
}
# heard N TEXT: the speech log has TEXT as its line N or later.
heard() { tail -n +"$1" "$work/fala.log" | grep -qxF -- "$2"; }
lines() { wc -l < "$work/fala.log"; }
# Types keys, then waits to hear TEXT after them.
press_and_hear() {
  local text=$1 from
  shift
  from=$(($(lines) + 1))
  for key in "$@"; do tmuxc send-keys "$key"; done
  poll "to hear \"$text\" after $*" heard "$from" "$text"
}

poll "the greeting" heard 1 "Olá! Bem-vindo ao Tamiral, um ambiente de roteiros que fala."
poll "the first menu entry" heard 1 "Escrever uma frase e ouvi-la de volta"
press_and_hear "Escreva uma frase e tecle Enter." Enter
press_and_hear "Você escreveu: bom dia" b o m Space d i a Enter
press_and_hear "Ouvir a hora" Down
press_and_hear "Agora são" Enter
press_and_hear "Tocar um som" Down
press_and_hear "sol" Enter
press_and_hear "Ver as cores da tela" Down
press_and_hear "Cor 15: branco" Enter
press_and_hear "Ver as cores da tela" x
press_and_hear "Sair" Down
press_and_hear "Até logo." Enter
poll "the demo to end with status 0" has_line "saiu=0"

# The capture holds speech: more than ten seconds, mostly away from silence.
samples=$(( $(stat -c %s "$work/saida.wav") - 44 ))
sounding=$(tail -c +45 "$work/saida.wav" | od -An -v -tu1 | tr -s ' ' '\n' | awk 'NF && ($1 > 130 || $1 < 126) { n++ } END { print n + 0 }')
[ "$samples" -gt 110250 ] && [ $(( sounding * 4 )) -gt "$samples" ] || fail "capture: $samples samples, $sounding sounding"
echo "demo: $(lines) lines heard, $samples samples captured"

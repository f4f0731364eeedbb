// Speech commands: FALA (say values), SOLETRA (spell one), BIPA (click or
// beep), FALAHORA (a time said with recorded words) and MENSAGEM (a recorded
// message played from a WAVE file).
#pragma once

#include <string_view>

#include "engine/runtime.h"

namespace tamiral {

bool cmdFala(Runtime& rt, std::string_view args);
bool cmdSoletra(Runtime& rt, std::string_view args);
bool cmdBipa(Runtime& rt, std::string_view args);
bool cmdFalaHora(Runtime& rt, std::string_view args);
bool cmdMensagem(Runtime& rt, std::string_view args);

}  // namespace tamiral

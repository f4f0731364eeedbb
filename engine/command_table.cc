#include "engine/command_table.h"

#include <string>
#include <unordered_map>

#include "commands/arithmetic.h"
#include "commands/byte_files.h"
#include "commands/encodings.h"
#include "commands/folder_commands.h"
#include "commands/lists.h"
#include "commands/strings.h"
#include "commands/text_files.h"
#include "console/menu_commands.h"
#include "console/screen_commands.h"
#include "console/talking_console.h"
#include "console/window_commands.h"
#include "engine/assignment.h"
#include "engine/cp1252.h"
#include "engine/flow.h"
#include "engine/text.h"
#include "speech/media_commands.h"
#include "speech/midi_commands.h"
#include "speech/speech_commands.h"
#include "speech/speech_config_command.h"

namespace tamiral {

namespace {

constexpr CommandHandler kLater = notAvailableYet;

// Every word of the language, grouped by family. Two words naming one
// command share its handler.
const CommandEntry kCommands[] = {
    // Assignment and random numbers.
    {"SEJA", cmdSeja},
    {"RANDOMIZA", cmdRandomiza},
    // Flow.
    {"SE", cmdSe},
    {"SENÃO"_cp, cmdSenao},
    {"SENAO", cmdSenao},
    {"ENQUANTO", cmdEnquanto},
    {"REPETE", cmdRepete},
    {"FIM", cmdFim},
    {"DESVIA", cmdDesvia},
    {"CHAMA", cmdChama},
    {"RETORNA", cmdRetorna},
    {"TERMINA", cmdTermina},
    // Strings and arithmetic.
    {"SOMA", cmdSoma},
    {"SUBTRAI", cmdSubtrai},
    {"MULTIPLICA", cmdMultiplica},
    {"DIVIDE", cmdDivide},
    {"CONCATENA", cmdConcatena},
    {"COPIA", cmdCopia},
    {"DELETA", cmdDeleta},
    {"SUBSTITUI", cmdSubstitui},
    // Text files and handles (ESCREVE and LÊ serve handles too).
    {"ABRE", cmdAbre},
    {"FECHA", cmdFecha},
    {"CHECA", cmdChecha},
    // File system.
    {"REMOVE", cmdRemove},
    {"RENOMEIA", cmdRenomeia},
    {"REPLICA", cmdReplica},
    {"DIR", cmdDir},
    {"BUSCA", cmdBusca},
    {"TAMARQ", cmdTamarq},
    {"HTAMARQ", cmdHtamarq},
    // Byte files.
    {"CRIABIN", cmdCriaBin},
    {"FECHABIN", cmdFechaBin},
    {"GRAVABYTES", cmdGravaBytes},
    {"ESCREVEBYTE", cmdEscreveByte},
    {"LEBYTE", cmdLeByte},
    {"LIMPABYTES", cmdLimpaBytes},
    // Lists.
    {"LISTA", cmdLista},
    // Encodings.
    {"CODBASE64", cmdCodBase64},
    {"DECODBASE64", cmdDecodBase64},
    {"CODARQBASE64", cmdCodArqBase64},
    {"DECODARQBASE64", cmdDecodArqBase64},
    {"ANSIPARAUTF8", cmdAnsiParaUtf8},
    {"UTF8PARAANSI", cmdUtf8ParaAnsi},
    {"REMOVEQUOTED", cmdRemoveQuoted},
    {"ADQUOTED", cmdAdQuoted},
    // Screen and keyboard.
    {"ESCREVE", cmdEscreve},
    {"LÊ"_cp, cmdLe},
    {"LE", cmdLe},
    {"TELA", cmdTela},
    {"COR", cmdCor},
    {"FUNDO", cmdFundo},
    {"TÍTULO"_cp, cmdTitulo},
    {"TITULO", cmdTitulo},
    {"DEBUG", cmdDebug},
    // Menus.
    {"MENU", cmdMenu},
    // Speech and sound.
    {"FALA", cmdFala},
    {"SOLETRA", cmdSoletra},
    {"FALAHORA", cmdFalaHora},
    {"BIPA", cmdBipa},
    {"TOCA", cmdToca},
    {"MCI", cmdMci},
    {"MIDI", cmdMidi},
    {"MENSAGEM", cmdMensagem},
    {"SINTCONFIG", cmdSintConfig},
    // Network.
    {"INTERNET", kLater},
    {"CONECTA", kLater},
    {"ATIVASSL", kLater},
    {"SERVE", kLater},
    {"OBSERVA", kLater},
    {"IP", kLater},
    {"HTTP", kLater},
    {"TRAZDAREDE", kLater},
    // Programs and processes.
    {"EXECUTA", kLater},
    {"EXISTEPROG", kLater},
    {"CMD", kLater},
    {"ESPERA", kLater},
    {"ENVIACMD", kLater},
    {"ALARME", kLater},
    {"HANDLE", kLater},
    // Keyboard and mouse automation.
    {"DIGITA", kLater},
    {"ACIONA", kLater},
    {"CLICA", kLater},
    {"SENSOR", kLater},
    // Windows and accessibility events.
    {"JANELA", kLater},
    {"CAPTURA", kLater},
    {"TRANSFERE", kLater},
    {"MSAA", kLater},
    // Screen images.
    {"IMAGEM", kLater},
};

using CommandIndex = std::unordered_map<std::string_view, const CommandEntry*>;

const CommandIndex& commandIndex() {
  static const CommandIndex index = [] {
    CommandIndex built;
    for (const CommandEntry& entry : kCommands) built.emplace(entry.word, &entry);
    return built;
  }();
  return index;
}

// The trace shows the word as the line split it: upper-cased by the ASCII rule.
void echoCommand(Runtime& rt, std::string_view word, std::string_view args) {
  std::string echo;
  echo.reserve(word.size() + 1 + args.size());
  for (char c : word) echo += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 0x20) : c;
  echo += ' ';
  echo += args;
  rt.console.writeLineAndSpeak(echo);
}

}  // namespace

std::span<const CommandEntry> commandTable() { return kCommands; }

const CommandEntry* findCommandEntry(std::string_view foldedWord) {
  auto found = commandIndex().find(foldedWord);
  return found == commandIndex().end() ? nullptr : found->second;
}

CommandHandler findCommand(std::string_view foldedWord) {
  const CommandEntry* entry = findCommandEntry(foldedWord);
  return entry ? entry->handler : nullptr;
}

bool dispatchCommand(Runtime& rt, std::string_view word, std::string_view args) {
  return runCommand(rt, findCommandEntry(upperPt(word)), word, trimBlanks(args));
}

bool runCommand(Runtime& rt, const CommandEntry* entry, std::string_view word, std::string_view args) {
  if (rt.run.debugTrace) echoCommand(rt, word, args);
  if (!entry) {
    rt.run.commandWord = {};
    rt.console.writeLineAndSpeak(std::string("Comando inválido: "_cp) + upperPt(word));
    return false;
  }
  rt.run.commandWord = entry->word;
  return entry->handler(rt, args);
}

bool notAvailableYet(Runtime& rt, std::string_view) {
  rt.console.writeLineAndSpeak(std::string("Comando ainda não disponível: "_cp) + std::string(rt.run.commandWord));
  return false;
}

}  // namespace tamiral

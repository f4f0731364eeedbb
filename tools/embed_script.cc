// embed_script SOURCE OUTPUT: turns a UTF-8 script into a C++ table of its
// lines in Windows-1252, so a program carries its script compiled in.
// Fails (and so fails the build) on text Windows-1252 cannot hold.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/cp1252.h"

namespace {

std::string cLiteral(const std::string& bytes) {
  std::string out = "\"";
  for (unsigned char c : bytes) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c >= 32 && c < 127) {
      out += static_cast<char>(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\%03o", c);
      out += escaped;
    }
  }
  return out + "\"";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: embed_script SOURCE OUTPUT\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  std::string source = buffer.str();
  if (!in || !tamiral::isValidUtf8(source)) {
    std::fprintf(stderr, "embed_script: %s is not readable UTF-8 text\n", argv[1]);
    return 1;
  }
  std::string out =
      "// Generated from " + std::string(argv[1]) + " by embed_script; do not edit.\n"
      "#include \"programs/embedded_script.h\"\n\nnamespace tamiral {\n\n"
      "using namespace std::string_view_literals;\n\nconst std::string_view kEmbeddedScript[] = {\n";
  size_t count = 0;
  std::string_view rest = source;
  while (!rest.empty()) {
    size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    std::string converted = tamiral::utf8ToCp1252(line);
    if (tamiral::cp1252ToUtf8(converted) != line) {
      std::fprintf(stderr, "%s:%zu: character not representable in Windows-1252\n", argv[1], count + 1);
      return 1;
    }
    out += "    " + cLiteral(converted) + "sv,\n";
    ++count;
  }
  if (count == 0) out += "    \"\"sv,\n";  // an array may not be empty
  out += "};\n\nconst size_t kEmbeddedScriptLines = " + std::to_string(count) + ";\n\n}  // namespace tamiral\n";
  std::ofstream file(argv[2], std::ios::binary);
  file << out;
  return file ? 0 : 1;
}

// Whole files and folders: REMOVE, RENOMEIA, REPLICA, DIR, BUSCA, TAMARQ,
// HTAMARQ.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "commands/folder_search.h"
#include "engine/runtime.h"

namespace tamiral {

bool cmdRemove(Runtime& rt, std::string_view args);
bool cmdRenomeia(Runtime& rt, std::string_view args);
bool cmdReplica(Runtime& rt, std::string_view args);
bool cmdDir(Runtime& rt, std::string_view args);
bool cmdBusca(Runtime& rt, std::string_view args);
bool cmdTamarq(Runtime& rt, std::string_view args);
bool cmdHtamarq(Runtime& rt, std::string_view args);

// A size in readable units: "1,50KB", "500,00 B", "3,00 MB" (separator given).
std::string readableSize(uint64_t bytes, char decimalSeparator);

}  // namespace tamiral

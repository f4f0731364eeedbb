// The one folder search in progress (BUSCA), kept between commands.
#pragma once

#include <vector>

#include "platform/file_system.h"

namespace tamiral {

struct FolderSearch {
  bool active = false;
  bool forFolders = false;
  std::vector<DirectoryEntry> entries;
  size_t next = 0;
};

}  // namespace tamiral

// The ten handles #0 to #9 a script reads and writes lines through: each a
// text file or (later) a network connection.
#pragma once

#include <array>
#include <memory>

#include "commands/text_file.h"

namespace tamiral {

struct HandleRecord {
  bool open = false;
  bool isConnection = false;
  std::unique_ptr<TextFile> file;
};

class HandleTable {
 public:
  static constexpr int kHandles = 10;

  HandleRecord& at(int handle) { return records_[static_cast<size_t>(handle)]; }
  // Closes whatever is open on the handle; false when data was lost.
  bool close(int handle);
  void closeAll();
  // Writes out what files hold in their buffers, leaving them open.
  void flushAll();

 private:
  std::array<HandleRecord, kHandles> records_;
};

}  // namespace tamiral

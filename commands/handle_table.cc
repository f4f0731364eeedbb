#include "commands/handle_table.h"

namespace tamiral {

bool HandleTable::close(int handle) {
  HandleRecord& record = at(handle);
  bool ok = !record.file || record.file->close();
  record = HandleRecord();
  return ok;
}

void HandleTable::flushAll() {
  for (HandleRecord& record : records_) {
    if (record.file) record.file->flush();
  }
}

void HandleTable::closeAll() {
  for (int handle = 0; handle < kHandles; ++handle) close(handle);
}

}  // namespace tamiral

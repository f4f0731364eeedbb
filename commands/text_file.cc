#include "commands/text_file.h"

namespace tamiral {

bool TextFile::fillReadBuffer() {
  readBuffer_.erase(0, readPos_);
  readPos_ = 0;
  size_t old = readBuffer_.size();
  readBuffer_.resize(old + kBufferSize);
  int64_t got = file_->read(readBuffer_.data() + old, kBufferSize);
  readBuffer_.resize(old + (got > 0 ? static_cast<size_t>(got) : 0));
  if (got < 0) readFailed_ = true;
  return got > 0;
}

int TextFile::readLine(std::string& line) {
  line.clear();
  if (!file_ || direction_ != Direction::kRead) return kIoNotOpenForInput;
  for (;;) {
    size_t end = readBuffer_.find('\n', readPos_);
    if (end != std::string::npos) {
      size_t length = end - readPos_;
      if (length > 0 && readBuffer_[end - 1] == '\r') --length;
      line.assign(readBuffer_, readPos_, length);
      readPos_ = end + 1;
      return kIoOk;
    }
    if (!fillReadBuffer()) break;
  }
  if (readPos_ == readBuffer_.size()) return readFailed_ ? kIoReadError : kIoEndOfFile;
  // A last line without its line end.
  line.assign(readBuffer_, readPos_, std::string::npos);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  readPos_ = readBuffer_.size();
  return kIoOk;
}

int TextFile::write(std::string_view text) {
  if (!file_ || direction_ != Direction::kWrite) return kIoNotOpenForOutput;
  writeBuffer_ += text;
  return writeBuffer_.size() >= kBufferSize ? flush() : (writeFailed_ ? kIoWriteError : kIoOk);
}

int TextFile::flush() {
  if (!file_ || direction_ != Direction::kWrite) return kIoNotOpenForOutput;
  if (writeBuffer_.empty()) return writeFailed_ ? kIoWriteError : kIoOk;
  if (!writeBuffer_.empty()) {
    int64_t put = file_->write(writeBuffer_.data(), writeBuffer_.size());
    if (put < 0 || static_cast<size_t>(put) < writeBuffer_.size()) writeFailed_ = true;
    writeBuffer_.clear();
  }
  return writeFailed_ ? kIoWriteError : kIoOk;
}

bool TextFile::close() {
  if (!file_) return true;
  bool ok = direction_ != Direction::kWrite || flush() == kIoOk;
  ok = file_->close() && ok;
  file_.reset();
  return ok;
}

}  // namespace tamiral

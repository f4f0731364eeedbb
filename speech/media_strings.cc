#include "speech/media_strings.h"

#include <vector>

#include "engine/text.h"

namespace tamiral {

namespace {

std::vector<std::string> splitWords(std::string_view text) {
  std::vector<std::string> words;
  for (text = trimBlanks(text); !text.empty(); text = trimLeadingBlanks(text)) {
    size_t end;
    if (text.front() == '"') {
      size_t close = text.find('"', 1);
      end = close == std::string_view::npos ? text.size() : close + 1;
      words.emplace_back(text.substr(1, (close == std::string_view::npos ? text.size() : close) - 1));
    } else {
      end = 0;
      while (end < text.size() && !isBlank(text[end])) ++end;
      words.emplace_back(text.substr(0, end));
    }
    text.remove_prefix(end);
  }
  return words;
}

std::optional<int64_t> number(std::string_view word) {
  if (word.empty() || word.size() > 12) return std::nullopt;
  int64_t value = 0;
  for (char c : word) {
    if (!isDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

bool isTypeName(std::string_view word) {
  if (word.empty()) return false;
  for (char c : word) {
    if (!isAsciiLetter(c) && !isDigit(c)) return false;
  }
  return true;
}

// The words after the verb and the device, consumed from the front.
class Words {
 public:
  explicit Words(std::vector<std::string> words, size_t first) : words_(std::move(words)), next_(first) {}

  bool done() {
    skipFlags();
    return next_ == words_.size();
  }
  bool take(std::string_view keyword) {
    skipFlags();
    if (next_ == words_.size() || !equalsKeyword(words_[next_], keyword)) return false;
    ++next_;
    return true;
  }
  std::optional<std::string> takeAny() {
    skipFlags();
    if (next_ == words_.size()) return std::nullopt;
    return words_[next_++];
  }
  std::optional<int64_t> takeNumber() {
    std::optional<std::string> word = takeAny();
    return word ? number(*word) : std::nullopt;
  }

 private:
  // "wait" and "notify" are accepted and change nothing: a play answers once
  // playing has started, and nobody listens for notifications.
  void skipFlags() {
    while (next_ < words_.size() && (equalsKeyword(words_[next_], "WAIT") || equalsKeyword(words_[next_], "NOTIFY")))
      ++next_;
  }

  std::vector<std::string> words_;
  size_t next_;
};

bool readOpen(Words& words, MediaCommand& command) {
  size_t bang = command.device.find('!');
  if (bang != std::string::npos && isTypeName(std::string_view(command.device).substr(0, bang))) {
    command.deviceType = command.device.substr(0, bang);
    command.device.erase(0, bang + 1);
  }
  while (!words.done()) {
    if (words.take("TYPE")) {
      std::optional<std::string> type = words.takeAny();
      if (!type) return false;
      command.deviceType = *type;
    } else if (words.take("ALIAS")) {
      std::optional<std::string> alias = words.takeAny();
      if (!alias) return false;
      command.alias = *alias;
    } else if (!words.take("SHAREABLE")) {
      return false;
    }
  }
  return !command.device.empty();
}

bool readPlay(Words& words, MediaCommand& command) {
  if (words.take("FROM")) {
    command.from = words.takeNumber();
    if (!command.from) return false;
  }
  return words.done();
}

bool readSeek(Words& words, MediaCommand& command) {
  if (!words.take("TO")) return false;
  if (words.take("START")) {
    command.seekTarget = MediaSeekTarget::kStart;
  } else if (words.take("END")) {
    command.seekTarget = MediaSeekTarget::kEnd;
  } else {
    std::optional<int64_t> position = words.takeNumber();
    if (!position) return false;
    command.position = *position;
  }
  return words.done();
}

bool readStatus(Words& words, MediaCommand& command) {
  if (words.take("MODE"))
    command.item = MediaStatusItem::kMode;
  else if (words.take("LENGTH"))
    command.item = MediaStatusItem::kLength;
  else if (words.take("POSITION"))
    command.item = MediaStatusItem::kPosition;
  else if (words.take("READY"))
    command.item = MediaStatusItem::kReady;
  else
    return false;
  return words.done();
}

bool readSetAudio(Words& words, MediaCommand& command) {
  if (words.take("LEFT"))
    command.channel = MediaChannel::kLeft;
  else if (words.take("RIGHT"))
    command.channel = MediaChannel::kRight;
  else
    words.take("ALL");
  if (!words.take("VOLUME") || !words.take("TO")) return false;
  std::optional<int64_t> volume = words.takeNumber();
  if (!volume) return false;
  command.volume = *volume;
  return words.done();
}

bool readWindow(Words& words) {
  if (!words.take("HANDLE") || !words.takeNumber()) return false;
  return words.done();
}

// Milliseconds are the only time format there is.
bool readSet(Words& words) {
  if (!words.take("TIME") || !words.take("FORMAT")) return false;
  if (!words.take("MILLISECONDS") && !words.take("MS")) return false;
  return words.done();
}

struct VerbName {
  std::string_view word;
  MediaVerb verb;
};
constexpr VerbName kVerbs[] = {
    {"OPEN", MediaVerb::kOpen},     {"CLOSE", MediaVerb::kClose},       {"PLAY", MediaVerb::kPlay},
    {"PAUSE", MediaVerb::kPause},   {"RESUME", MediaVerb::kResume},     {"STOP", MediaVerb::kStop},
    {"SEEK", MediaVerb::kSeek},     {"STATUS", MediaVerb::kStatus},     {"SETAUDIO", MediaVerb::kSetAudio},
    {"WINDOW", MediaVerb::kWindow}, {"SET", MediaVerb::kSet},
};

std::optional<MediaVerb> verbOf(std::string_view word) {
  for (const VerbName& name : kVerbs) {
    if (equalsKeyword(word, name.word)) return name.verb;
  }
  return std::nullopt;
}

bool readArguments(Words& words, MediaCommand& command) {
  switch (command.verb) {
    case MediaVerb::kOpen: return readOpen(words, command);
    case MediaVerb::kPlay: return readPlay(words, command);
    case MediaVerb::kSeek: return readSeek(words, command);
    case MediaVerb::kStatus: return readStatus(words, command);
    case MediaVerb::kSetAudio: return readSetAudio(words, command);
    case MediaVerb::kWindow: return readWindow(words);
    case MediaVerb::kSet: return readSet(words);
    case MediaVerb::kClose:
    case MediaVerb::kPause:
    case MediaVerb::kResume:
    case MediaVerb::kStop: return words.done();
  }
  return false;
}

}  // namespace

std::optional<MediaCommand> parseMediaCommand(std::string_view text) {
  std::vector<std::string> words = splitWords(text);
  if (words.size() < 2) return std::nullopt;
  std::optional<MediaVerb> verb = verbOf(words[0]);
  if (!verb) return std::nullopt;
  MediaCommand command;
  command.verb = *verb;
  command.device = words[1];
  Words rest(std::move(words), 2);
  if (!readArguments(rest, command)) return std::nullopt;
  return command;
}

}  // namespace tamiral

// MIDI to a port of the ALSA sequencer: a hardware synthesizer, a MIDI
// interface or a software synthesizer running as a sequencer client.
#include <alsa/asoundlib.h>

#include <string_view>

#include "platform/midi_output.h"

namespace tamiral {

namespace {

// Passes events on to whoever listens and plays nothing itself.
constexpr std::string_view kThroughClient = "Midi Through";

void quietErrorHandler(const char*, int, const char*, int, const char*, ...) {}

bool playsWhatItIsSent(snd_seq_port_info_t* port) {
  unsigned needed = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;
  if ((snd_seq_port_info_get_capability(port) & needed) != needed) return false;
  if (snd_seq_port_info_get_capability(port) & SND_SEQ_PORT_CAP_NO_EXPORT) return false;
  return (snd_seq_port_info_get_type(port) & SND_SEQ_PORT_TYPE_MIDI_GENERIC) != 0;
}

// The first port of another client that plays MIDI; nothing when none.
bool findPlayingPort(snd_seq_t* seq, snd_seq_addr_t& found) {
  snd_seq_client_info_t* client;
  snd_seq_port_info_t* port;
  snd_seq_client_info_alloca(&client);
  snd_seq_port_info_alloca(&port);
  int self = snd_seq_client_id(seq);
  snd_seq_client_info_set_client(client, -1);
  while (snd_seq_query_next_client(seq, client) >= 0) {
    int id = snd_seq_client_info_get_client(client);
    if (id == self || id == SND_SEQ_CLIENT_SYSTEM || snd_seq_client_info_get_name(client) == kThroughClient) continue;
    snd_seq_port_info_set_client(port, id);
    snd_seq_port_info_set_port(port, -1);
    while (snd_seq_query_next_port(seq, port) >= 0) {
      if (!playsWhatItIsSent(port)) continue;
      found.client = static_cast<unsigned char>(id);
      found.port = static_cast<unsigned char>(snd_seq_port_info_get_port(port));
      return true;
    }
  }
  return false;
}

// Short messages become sequencer events; other status bytes are ignored
// (and still count as delivered).
bool toEvent(uint32_t message, snd_seq_event_t& event) {
  int status = message & 0xFF;
  int channel = status & 0x0F;
  int data1 = (message >> 8) & 0x7F;
  int data2 = (message >> 16) & 0x7F;
  switch (status & 0xF0) {
    case 0x80: snd_seq_ev_set_noteoff(&event, channel, data1, data2); return true;
    case 0x90: snd_seq_ev_set_noteon(&event, channel, data1, data2); return true;
    case 0xB0: snd_seq_ev_set_controller(&event, channel, data1, data2); return true;
    case 0xC0: snd_seq_ev_set_pgmchange(&event, channel, data1); return true;
  }
  if (status == 0xFF) {
    event.type = SND_SEQ_EVENT_RESET;
    return true;
  }
  return false;
}

class SequencerOutput : public MidiOutput {
 public:
  ~SequencerOutput() override { close(); }

  bool open() override {
    close();
    snd_lib_error_set_handler(quietErrorHandler);
    if (snd_seq_open(&seq_, "default", SND_SEQ_OPEN_OUTPUT, 0) < 0) {
      seq_ = nullptr;
      return false;
    }
    snd_seq_set_client_name(seq_, "Tamiral");
    port_ = snd_seq_create_simple_port(seq_, "MIDI", SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
                                       SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    snd_seq_addr_t target{};
    if (port_ < 0 || !findPlayingPort(seq_, target) || snd_seq_connect_to(seq_, port_, target.client, target.port) < 0) {
      close();
      return false;
    }
    return true;
  }

  void close() override {
    if (seq_) snd_seq_close(seq_);
    seq_ = nullptr;
  }

  bool send(uint32_t message) override {
    if (!seq_) return false;
    snd_seq_event_t event;
    snd_seq_ev_clear(&event);
    if (!toEvent(message, event)) return true;
    snd_seq_ev_set_source(&event, port_);
    snd_seq_ev_set_subs(&event);
    snd_seq_ev_set_direct(&event);
    return snd_seq_event_output_direct(seq_, &event) >= 0;
  }

 private:
  snd_seq_t* seq_ = nullptr;
  int port_ = -1;
};

}  // namespace

std::unique_ptr<MidiOutput> makeSequencerMidiOutput() { return std::make_unique<SequencerOutput>(); }

}  // namespace tamiral

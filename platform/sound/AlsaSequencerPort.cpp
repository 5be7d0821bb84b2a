// The MIDI stream stand-in's system device: the first synthesizer port of
// the ALSA sequencer (a port that takes written events and subscriptions and
// calls itself a synthesizer, such as a sound card's wavetable or a software
// synthesizer), reached through a port of our own connected to it. Events go
// out directly, unscheduled: the stream's device thread keeps the time.

#include <alsa/asoundlib.h>

#include <memory>

#include "platform/sound/private/AlsaLibrary.h"
#include "platform/sound/private/MidiBackend.h"

namespace vellumry::mm {
namespace {

constexpr std::size_t kEncoderBufferSize = 256;
constexpr unsigned kWritablePort = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;
constexpr unsigned kSynthesizerTypes = SND_SEQ_PORT_TYPE_SYNTH | SND_SEQ_PORT_TYPE_SYNTHESIZER;

struct SequencerCloser {
    void operator()(snd_seq_t* sequencer) const { snd_seq_close(sequencer); }
};
struct EncoderFree {
    void operator()(snd_midi_event_t* encoder) const { snd_midi_event_free(encoder); }
};
struct ClientInfoFree {
    void operator()(snd_seq_client_info_t* info) const { snd_seq_client_info_free(info); }
};
struct PortInfoFree {
    void operator()(snd_seq_port_info_t* info) const { snd_seq_port_info_free(info); }
};

struct PortAddress {
    int client = -1;
    int port = -1;
};

PortAddress FindSynthesizer(snd_seq_t* sequencer)
{
    snd_seq_client_info_t* clientInfo = nullptr;
    snd_seq_port_info_t* portInfo = nullptr;
    if (snd_seq_client_info_malloc(&clientInfo) < 0)
        return {};
    std::unique_ptr<snd_seq_client_info_t, ClientInfoFree> ownedClient(clientInfo);
    if (snd_seq_port_info_malloc(&portInfo) < 0)
        return {};
    std::unique_ptr<snd_seq_port_info_t, PortInfoFree> ownedPort(portInfo);

    int self = snd_seq_client_id(sequencer);
    snd_seq_client_info_set_client(clientInfo, -1);
    while (snd_seq_query_next_client(sequencer, clientInfo) >= 0) {
        int client = snd_seq_client_info_get_client(clientInfo);
        if (client == SND_SEQ_CLIENT_SYSTEM || client == self)
            continue;
        snd_seq_port_info_set_client(portInfo, client);
        snd_seq_port_info_set_port(portInfo, -1);
        while (snd_seq_query_next_port(sequencer, portInfo) >= 0) {
            unsigned capability = snd_seq_port_info_get_capability(portInfo);
            unsigned type = snd_seq_port_info_get_type(portInfo);
            if ((capability & kWritablePort) == kWritablePort && !(capability & SND_SEQ_PORT_CAP_NO_EXPORT) &&
                (type & kSynthesizerTypes))
                return {client, snd_seq_port_info_get_port(portInfo)};
        }
    }
    return {};
}

class AlsaSequencerBackend : public MidiBackend {
public:
    AlsaSequencerBackend(std::unique_ptr<snd_seq_t, SequencerCloser> sequencer,
                         std::unique_ptr<snd_midi_event_t, EncoderFree> encoder, int port)
        : m_sequencer(std::move(sequencer)), m_encoder(std::move(encoder)), m_port(port)
    {
    }

    void Send(std::span<const std::uint8_t> message, double) override
    {
        if (message.empty())
            return;
        snd_seq_event_t event;
        snd_seq_ev_clear(&event);
        if (message[0] == 0xF0) {
            // ALSA only reads the bytes of a system-exclusive event.
            snd_seq_ev_set_sysex(&event, static_cast<unsigned>(message.size()), const_cast<std::uint8_t*>(message.data()));
        } else {
            snd_midi_event_reset_encode(m_encoder.get());
            if (snd_midi_event_encode(m_encoder.get(), message.data(), static_cast<long>(message.size()), &event) < 0 ||
                event.type == SND_SEQ_EVENT_NONE)
                return;
        }
        snd_seq_ev_set_source(&event, m_port);
        snd_seq_ev_set_subs(&event);
        snd_seq_ev_set_direct(&event);
        snd_seq_event_output_direct(m_sequencer.get(), &event);
    }

private:
    std::unique_ptr<snd_seq_t, SequencerCloser> m_sequencer;
    std::unique_ptr<snd_midi_event_t, EncoderFree> m_encoder;
    int m_port;
};

}  // namespace

MMRESULT OpenAlsaSequencer(std::unique_ptr<MidiBackend>& backend)
{
    QuietAlsaErrors();
    snd_seq_t* opened = nullptr;
    if (snd_seq_open(&opened, "default", SND_SEQ_OPEN_OUTPUT, 0) < 0)
        return MMSYSERR_NODRIVER;
    std::unique_ptr<snd_seq_t, SequencerCloser> sequencer(opened);
    snd_seq_set_client_name(sequencer.get(), "Vellumry");
    PortAddress synthesizer = FindSynthesizer(sequencer.get());
    if (synthesizer.client < 0)
        return MIDIERR_NODEVICE;
    int port = snd_seq_create_simple_port(sequencer.get(), "Vellumry music",
                                          SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
                                          SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    if (port < 0 || snd_seq_connect_to(sequencer.get(), port, synthesizer.client, synthesizer.port) < 0)
        return MIDIERR_NODEVICE;
    snd_midi_event_t* encoder = nullptr;
    if (snd_midi_event_new(kEncoderBufferSize, &encoder) < 0)
        return MMSYSERR_NOMEM;
    backend = std::make_unique<AlsaSequencerBackend>(std::move(sequencer),
                                                     std::unique_ptr<snd_midi_event_t, EncoderFree>(encoder), port);
    return MMSYSERR_NOERROR;
}

}  // namespace vellumry::mm

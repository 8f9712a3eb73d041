// Output.ini: plays through the sound device, or into paced silence when there is
// none or it stops answering, so that time and track ends still come.
#include "never_destroyed.h"
#include "silent_sink.h"
#include "sink_output.h"
#include "wave_out_sink.h"

namespace {

class WaveOutput final : public SinkOutput {
protected:
    Sink* OpenSink(int sampleRate, int channels, HANDLE wake) override {
        if (WaveOutSink::DeviceStuck()) return new SilentSink(sampleRate, channels, true);
        return new WaveOutSink(sampleRate, channels, wake);
    }
};

constinit NeverDestroyed<WaveOutput> instance;

}  // namespace

extern "C" OutputPlugin* GetInstance() {
    return &instance.object;
}

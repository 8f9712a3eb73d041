// Never linked: the build reads this object's table of operations to check that every
// operation of the input interface sits in its fixed slot, on the target's own ABI,
// whether or not the machine that builds it can run it (cmake/check_input_slots.py).
// Only the first operation is defined here, so the table is emitted in this object and
// every other entry names its operation.
#include "plugin_interface.h"

struct SlotProbe final : InputPlugin {
    void Reserved0() override;
    void SetOutput(OutputPlugin* output) override;
    void SetCallback(PlaybackCallback callback, void* user) override;
    int Open(const char* path, TrackInfo* info) override;
    void Close() override;
    PlayerState GetState() override;
    void Play() override;
    void Stop() override;
    void Pause() override;
    void Resume() override;
    void Seek(int seconds) override;
    void SetVolume(int first, int second) override;
};

void SlotProbe::Reserved0() {}

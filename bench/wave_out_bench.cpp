// What Wine itself costs a player buffered as Output.ini is, and nothing more: silence
// through waveOut in kBlockCount buffers of 1/kBlocksPerSecond s, each written again
// as it comes back, for the seconds given. bench/playback measures it.
//   wave_out_bench <seconds>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "sink.h"

int main(int argc, char** argv) {
    const DWORD seconds = argc > 1 ? static_cast<DWORD>(atoi(argv[1])) : 10;
    WAVEFORMATEX format{WAVE_FORMAT_PCM, 2, 44100, 44100 * 4, 4, 16, 0};
    HANDLE done = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HWAVEOUT device;
    if (waveOutOpen(&device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(done), 0, CALLBACK_EVENT) !=
        MMSYSERR_NOERROR) {
        fprintf(stderr, "no waveOut device\n");
        return 1;
    }
    const DWORD blockBytes = format.nAvgBytesPerSec / kBlocksPerSecond;
    std::vector<char> silence(static_cast<size_t>(blockBytes) * kBlockCount);
    WAVEHDR headers[kBlockCount]{};
    for (int i = 0; i < kBlockCount; ++i) {
        headers[i].lpData = silence.data() + static_cast<size_t>(i) * blockBytes;
        headers[i].dwBufferLength = blockBytes;
        waveOutPrepareHeader(device, &headers[i], sizeof(WAVEHDR));
        waveOutWrite(device, &headers[i], sizeof(WAVEHDR));
    }
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < seconds * 1000) {
        WaitForSingleObject(done, 1000);
        for (WAVEHDR& header : headers) {
            if (header.dwFlags & WHDR_DONE) waveOutWrite(device, &header, sizeof(WAVEHDR));
        }
    }
    waveOutReset(device);
    for (WAVEHDR& header : headers) waveOutUnprepareHeader(device, &header, sizeof(WAVEHDR));
    waveOutClose(device);
    return 0;
}

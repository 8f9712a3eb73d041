#include "wav_file.h"

#include <cstdint>

namespace {

#pragma pack(push, 1)
struct WavHeader {
    char riff[4] = {'R', 'I', 'F', 'F'};
    uint32_t riffSize = 36;
    char wave[4] = {'W', 'A', 'V', 'E'};
    char fmt[4] = {'f', 'm', 't', ' '};
    uint32_t fmtSize = 16;
    uint16_t formatTag = 1;
    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint32_t byteRate = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 16;
    char data[4] = {'d', 'a', 't', 'a'};
    uint32_t dataSize = 0;
};
#pragma pack(pop)
static_assert(sizeof(WavHeader) == 44);

}  // namespace

void WavFile::Name(const std::string& newPath) {
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    file = INVALID_HANDLE_VALUE;
    path = newPath;
}

void WavFile::Begin(int rate, int channelCount) {
    if (file != INVALID_HANDLE_VALUE || path.empty()) return;
    file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
    sampleRate = rate;
    channels = channelCount;
    dataBytes = 0;
    UpdateHeader();
}

void WavFile::Append(const char* pcm, size_t bytes) {
    if (file == INVALID_HANDLE_VALUE || bytes == 0) return;
    WriteAt(sizeof(WavHeader) + dataBytes, pcm, static_cast<DWORD>(bytes));
    dataBytes += static_cast<DWORD>(bytes);
}

void WavFile::UpdateHeader() {
    if (file == INVALID_HANDLE_VALUE) return;
    WavHeader header;
    header.riffSize = 36 + dataBytes;
    header.channels = static_cast<uint16_t>(channels);
    header.sampleRate = sampleRate;
    header.blockAlign = static_cast<uint16_t>(channels * 2);
    header.byteRate = sampleRate * header.blockAlign;
    header.dataSize = dataBytes;
    WriteAt(0, &header, sizeof(header));
}

void WavFile::WriteAt(DWORD offset, const void* data, DWORD bytes) {
    OVERLAPPED at{};
    at.Offset = offset;
    DWORD written;
    WriteFile(file, data, bytes, &written, &at);
}

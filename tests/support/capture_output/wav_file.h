// A 16-bit PCM WAV file written as the stream comes.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

class WavFile {
public:
    const std::string& Path() const { return path; }
    // Names the file for the next Begin; an empty name writes nothing. Closes the
    // file named before.
    void Name(const std::string& newPath);
    // Creates the file with this format unless it is open already.
    void Begin(int sampleRate, int channels);
    void Append(const char* pcm, size_t bytes);
    // Writes the sizes into the header, so the file is whole between streams.
    void UpdateHeader();

private:
    void WriteAt(DWORD offset, const void* data, DWORD bytes);

    std::string path;
    HANDLE file = INVALID_HANDLE_VALUE;
    int sampleRate = 0;
    int channels = 0;
    DWORD dataBytes = 0;
};

// Stand-ins for the tests of the play order and the transport: rows in a vector, and
// an input plug-in that records what it is asked and plays nothing.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "playback/interface/plugin_interface.h"
#include "playback/transport.h"
#include "playlist/play_order.h"
#include "playlist/playlist_entry.h"

inline bool GbkLeadByte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

class VectorRows final : public RowStore {
public:
    int RowCount() override { return static_cast<int>(entries.size()); }
    PlaylistEntry* RowEntry(int row) override { return entries.at(row).get(); }
    void DeleteAllRows() override { entries.clear(); }

    // Adds a row as AddFile does: titled as the file, at 128 kbit/s and 44.1 kHz.
    void Add(PlayOrder& order, const std::string& path) {
        entries.push_back(std::make_unique<PlaylistEntry>(path));
        entries.back()->info = {"", "", 0, 128, 44100, 200};
        TitleFromFileName(entries.back()->info.title, path.c_str(), sizeof(TrackInfo::title), GbkLeadByte);
        order.AppendRow(RowCount() - 1, RowCount() - 1);
    }

    std::vector<std::unique_ptr<PlaylistEntry>> entries;
};

class FakeInput final : public InputPlugin {
public:
    void Reserved0() override {}
    void SetOutput(OutputPlugin*) override { calls += "SetOutput "; }
    void SetCallback(PlaybackCallback, void*) override { calls += "SetCallback "; }
    int Open(const char* path, TrackInfo* info) override {
        calls += "Open(" + std::string(path) + ") ";
        if (!opens || refused.count(path) != 0) return 0;
        *info = reported;
        return 1;
    }
    void Close() override {
        calls += "Close ";
        state = PlayerState::Stopped;
    }
    PlayerState GetState() override {
        calls += "GetState ";
        return state;
    }
    void Play() override {
        calls += "Play ";
        state = PlayerState::Playing;
    }
    void Stop() override {
        calls += "Stop ";
        state = PlayerState::Stopped;
    }
    void Pause() override {
        calls += "Pause ";
        if (state == PlayerState::Playing) state = PlayerState::Paused;
    }
    void Resume() override {
        calls += "Resume ";
        if (state == PlayerState::Paused) state = PlayerState::Playing;
    }
    void Seek(int seconds) override {
        calls += "Seek(" + std::to_string(seconds) + ") ";
        if (seekEnds) state = PlayerState::Stopped;  // the track ran out meanwhile
    }
    void SetVolume(int, int) override {}

    std::string calls;
    PlayerState state = PlayerState::Stopped;
    bool opens = true;
    bool seekEnds = false;
    std::set<std::string> refused;
    TrackInfo reported = {"Song", "Artist", 0, 128, 44100, 200};
};

// Ownership of GDI handles: a bitmap or region deleted with its owner, a memory
// device context deleted with its scope, and an object selected into a context for
// the length of a scope.
#pragma once

#include <windows.h>

#include <utility>

template <typename Handle>
class GdiHandle {
public:
    GdiHandle() = default;
    explicit GdiHandle(Handle handle) : handle(handle) {}
    ~GdiHandle() { reset(); }
    GdiHandle(GdiHandle&& other) noexcept : handle(std::exchange(other.handle, nullptr)) {}
    GdiHandle& operator=(GdiHandle&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle, nullptr));
        return *this;
    }

    Handle get() const { return handle; }
    explicit operator bool() const { return handle != nullptr; }
    void reset(Handle replacement = nullptr) {
        if (handle != nullptr) DeleteObject(handle);
        handle = replacement;
    }

private:
    Handle handle = nullptr;
};

class MemoryDc {
public:
    explicit MemoryDc(HDC compatibleWith) : dc(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDc() {
        if (dc != nullptr) DeleteDC(dc);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;

    operator HDC() const { return dc; }

private:
    HDC dc;
};

class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc(dc), previous(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(dc, previous); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc;
    HGDIOBJ previous;
};

// Holds an SRW lock exclusively for a scope.
#pragma once

#include <windows.h>

class Locked {
public:
    explicit Locked(SRWLOCK& lock) : lock(lock) { AcquireSRWLockExclusive(&lock); }
    ~Locked() { ReleaseSRWLockExclusive(&lock); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

private:
    SRWLOCK& lock;
};

// The reader thread at the exit: a read that hangs (a share that stopped answering)
// does not hold the program up.
#include <gtest/gtest.h>
#include <windows.h>

#include "playlist/detail_reader.h"

namespace {

HANDLE entered = CreateEventA(nullptr, TRUE, FALSE, nullptr);
HANDLE released = CreateEventA(nullptr, TRUE, FALSE, nullptr);

int HangingDescribe(const char*, TrackInfo*) {
    SetEvent(entered);
    WaitForSingleObject(released, INFINITE);
    return 0;
}

TEST(DetailReader, StopsWithinItsWaitWhileAReadHangs) {
    auto queue = std::make_shared<DetailQueue>();
    DetailReader reader;
    reader.Start(queue, &HangingDescribe, ".", nullptr, 0);
    queue->Add({1, "audio\\tone1s.mp3", {}});
    ASSERT_EQ(WaitForSingleObject(entered, 5000), WAIT_OBJECT_0);
    const DWORD asked = GetTickCount();
    reader.Stop();
    EXPECT_LT(GetTickCount() - asked, 200u);
    SetEvent(released);
}

}  // namespace

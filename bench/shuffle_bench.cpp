// The Random order's shuffle beside the rejection procedure it replaces (draw
// rand() % n until a row not yet taken comes up, scanning the rows taken so far).
// Under Wine: plugin-free, but with the target's C library and its 15-bit rand().
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "playlist/play_order.h"

namespace {

double Seconds() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / frequency.QuadPart;
}

std::vector<int> Rejection(int n) {
    srand(1700000000u);
    std::vector<int> order;
    while (static_cast<int>(order.size()) < n) {
        const int r = rand() % n;
        bool taken = false;
        for (int row : order) taken = taken || row == r;
        if (!taken) order.push_back(r);
    }
    return order;
}

template <typename Shuffle>
double Time(Shuffle shuffle) {
    const double start = Seconds();
    const size_t size = shuffle().size();
    const double took = Seconds() - start;
    return size > 0 ? took * 1000 : -1;
}

}  // namespace

int main() {
    printf("%8s %14s %14s\n", "rows", "shuffle ms", "rejection ms");
    for (int n : {1000, 10000, 100000}) {
        const double ours = Time([n] { return ShuffledRows(n, 1700000000u); });
        if (n <= 10000) {
            printf("%8d %14.3f %14.1f\n", n, ours, Time([n] { return Rejection(n); }));
        } else {
            // rand() stops at 32767: the rejection procedure never ends past 32768 rows.
            printf("%8d %14.3f %14s\n", n, ours, "never ends");
        }
    }
    return 0;
}

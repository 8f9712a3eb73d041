#include "playlist/play_order.h"

#include <ctime>
#include <numeric>
#include <utility>

namespace {

// SplitMix64: small, fast and the same everywhere.
uint64_t NextRandom(uint64_t& state) {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// Uniform in 0 .. bound - 1: draws that would favour the low values are redrawn.
uint64_t Below(uint64_t bound, uint64_t& state) {
    const uint64_t unfair = (0 - bound) % bound;  // 2^64 mod bound
    for (;;) {
        const uint64_t draw = NextRandom(state);
        if (draw >= unfair) return draw % bound;
    }
}

}  // namespace

int64_t PlayOrder::CalendarSeconds() {
    return static_cast<int64_t>(std::time(nullptr));
}

std::vector<int> ShuffledRows(int n, uint64_t seed) {
    std::vector<int> rows(n > 0 ? n : 0);
    std::iota(rows.begin(), rows.end(), 0);
    uint64_t state = seed;
    for (int i = n - 1; i > 0; --i) std::swap(rows[i], rows[Below(static_cast<uint64_t>(i) + 1, state)]);
    return rows;
}

void PlayOrder::SetMode(RowStore& rows, int bits) {
    const int n = rows.RowCount();
    mode = bits;
    if (n == 0) return;
    std::vector<int> rebuilt(n);
    if (bits & Random) {
        rebuilt = ShuffledRows(n, static_cast<uint64_t>(clock()));
    } else {
        std::iota(rebuilt.begin(), rebuilt.end(), 0);
    }
    // Entries past the rows (left by deleted rows) are kept as they were.
    if (order.size() < rebuilt.size()) order.resize(rebuilt.size());
    std::copy(rebuilt.begin(), rebuilt.end(), order.begin());
}

int PlayOrder::CurrentNumber(RowStore& rows) const {
    const int n = rows.RowCount();
    if (n == 0) return 0;
    const int at = position < 0 ? 0 : position >= n ? n - 1 : position;
    const int row = at < static_cast<int>(order.size()) ? order[at] : at;
    return (row >= 0 && row < n ? row : at) + 1;
}

PlaylistEntry* PlayOrder::CurrentEntry(RowStore& rows) const {
    const int number = CurrentNumber(rows);
    return number == 0 ? nullptr : rows.RowEntry(number - 1);
}

int PlayOrder::Rewind(RowStore& rows) {
    if (rows.RowCount() == 0) return 0;
    SetMode(rows, mode);
    position = 0;
    return 1;
}

int PlayOrder::StepNext(RowStore& rows) {
    const int n = rows.RowCount();
    if (n == 0) return 0;
    if (++position < n) return 1;
    if ((mode & Loop) == 0) {
        position = n - 1;
        return 0;
    }
    position = 0;
    SetMode(rows, mode);
    return 1;
}

int PlayOrder::StepPrevious(RowStore& rows) {
    const int n = rows.RowCount();
    if (n == 0) return 0;
    if (--position >= 0) return 1;
    if ((mode & Loop) == 0) {
        position = 0;
        return 0;
    }
    position = n - 1;
    SetMode(rows, mode);
    return 1;
}

void PlayOrder::ClearPlaylist(RowStore& rows) {
    rows.DeleteAllRows();
    order.clear();
    order.shrink_to_fit();
    position = 0;
}

void PlayOrder::RowsDeleted(RowStore& rows, const std::vector<int>& deleted) {
    const int n = rows.RowCount();
    const int before = n + static_cast<int>(deleted.size());
    std::vector<bool> gone(before, false);
    for (int row : deleted) gone[row] = true;
    std::vector<int> below(before + 1, 0);  // deleted rows below each index
    for (int row = 0; row < before; ++row) below[row + 1] = below[row] + (gone[row] ? 1 : 0);

    std::vector<int> kept;
    std::vector<bool> seen(n, false);
    int newPosition = position < 0 ? 0 : n;
    for (int i = 0; i < before && i < static_cast<int>(order.size()); ++i) {
        if (i == position) newPosition = static_cast<int>(kept.size());
        const int row = order[i];
        if (row < 0 || row >= before || gone[row] || seen[row - below[row]]) continue;
        seen[row - below[row]] = true;
        kept.push_back(row - below[row]);
    }
    // Whatever the array missed comes last, in list order.
    for (int row = 0; row < n; ++row) {
        if (!seen[row]) kept.push_back(row);
    }
    order = std::move(kept);
    position = n == 0 ? 0 : newPosition < n ? newPosition : n - 1;
}

void PlayOrder::AppendRow(int rowCountBefore, int row) {
    order.resize(static_cast<size_t>(rowCountBefore) + 1);
    order[rowCountBefore] = row;
}

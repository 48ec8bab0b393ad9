#pragma once
// Bounds-checked tables indexed (column, row), as the shared tables are addressed.

#include <array>
#include <stdexcept>
#include <string>

namespace engine {

template <typename T, int Cols, int Rows>
class Table {
public:
    static constexpr int kColumns = Cols;  // columns 0 .. Cols - 1
    static constexpr int kRows = Rows;     // rows 0 .. Rows - 1

    T& operator()(int col, int row) { return cells_[index(col, row)]; }
    const T& operator()(int col, int row) const { return cells_[index(col, row)]; }
    void clear() { cells_.fill(T{}); }

private:
    static size_t index(int col, int row) {
        if (col < 0 || col >= Cols || row < 0 || row >= Rows)
            throw std::out_of_range("table index (" + std::to_string(col) + ", " + std::to_string(row) +
                                    ") out of range");
        return static_cast<size_t>(row) * Cols + static_cast<size_t>(col);
    }
    std::array<T, static_cast<size_t>(Cols) * Rows> cells_{};
};

// One-dimensional bounds-checked buffer, slots 0 .. N - 1.
template <typename T, int N>
class Slots {
public:
    static constexpr int kSize = N;
    T& operator[](int i) { return cells_[index(i)]; }
    const T& operator[](int i) const { return cells_[index(i)]; }
    void clear() { cells_.fill(T{}); }

private:
    static size_t index(int i) {
        if (i < 0 || i >= N) throw std::out_of_range("slot " + std::to_string(i) + " out of range");
        return static_cast<size_t>(i);
    }
    std::array<T, N> cells_{};
};

// (1, r) time in decimal hours, (2, r) height in metres; rows from 1, 10 minutes apart.
using CurveTable = Table<double, 3, 501>;
// (1, r) time, (2, r) contribution of one constituent or term, metres.
using LayerTable = Table<double, 3, 201>;
// (1, k) time, (2, k) height of the k-th high or low water, k = 1 to 15.
using EventTable = Table<double, 3, 16>;
// (1, k) "hh:mm", (2, k) height text.
using EventTextTable = Table<std::string, 3, 16>;
// Lines of the day list, from 1.
using DayTextBuffer = Slots<std::string, 301>;

// Seven layers in the order M2, S2, K1, O1, F4, F6, Z0.
using LayerSet = std::array<LayerTable, 7>;

}  // namespace engine

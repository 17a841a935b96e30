#pragma once

#include <cstddef>
#include <vector>

namespace tesvid {

// A square grid of nodes (0..n, 0..n), created whole and zero-filled.
// Storage is column by column: node (i, j) is element i * (n + 1) + j, so the
// second index is contiguous in memory (the solver's inner loop runs along j).
template <typename T>
class Grid2D {
public:
    Grid2D() = default;
    explicit Grid2D(int n) { Create(n); }

    // Re-creates the grid with every element zero; the old content is discarded.
    void Create(int n) {
        n_ = n;
        data_.assign(static_cast<std::size_t>(n + 1) * static_cast<std::size_t>(n + 1), T{});
    }
    void Release() {
        n_ = 0;
        data_.clear();
        data_.shrink_to_fit();
    }

    bool Exists() const { return !data_.empty(); }
    int N() const { return n_; }
    int Stride() const { return n_ + 1; }
    std::size_t Size() const { return data_.size(); }
    bool Contains(int i, int j) const { return Exists() && i >= 0 && j >= 0 && i <= n_ && j <= n_; }

    std::size_t Index(int i, int j) const {
        return static_cast<std::size_t>(i) * static_cast<std::size_t>(n_ + 1) +
               static_cast<std::size_t>(j);
    }
    T& operator()(int i, int j) { return data_[Index(i, j)]; }
    const T& operator()(int i, int j) const { return data_[Index(i, j)]; }

    T* Data() { return data_.data(); }
    const T* Data() const { return data_.data(); }
    std::vector<T>& Vector() { return data_; }
    const std::vector<T>& Vector() const { return data_; }

    bool operator==(const Grid2D&) const = default;

private:
    int n_ = 0;
    std::vector<T> data_;
};

}  // namespace tesvid

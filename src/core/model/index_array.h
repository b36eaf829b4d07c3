#pragma once
// Arrays indexed as the chemistry is written: 0..n and 0..n x 0..m, where the
// model uses 1..n and element 0 is allocated but not used for model data.

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <memory>

namespace tarn {

// A one-dimensional array with the index range 0..upper (upper + 1 elements).
// Resize() discards the contents (every element becomes T{}); ResizeKeep()
// keeps the elements of the common range.
template <typename T>
class Array1 {
 public:
  Array1() = default;
  explicit Array1(int upper) { Resize(upper); }
  Array1(const Array1& other) { CopyFrom(other); }
  Array1& operator=(const Array1& other) {
    if (this != &other) CopyFrom(other);
    return *this;
  }
  Array1(Array1&&) noexcept = default;
  Array1& operator=(Array1&&) noexcept = default;

  void Resize(int upper) {
    size_ = upper < 0 ? 0 : static_cast<std::size_t>(upper) + 1;
    data_ = std::make_unique<T[]>(size_);
  }
  void ResizeKeep(int upper) {
    Array1 grown(upper);
    std::size_t n = std::min(size_, grown.size_);
    for (std::size_t i = 0; i < n; ++i) grown.data_[i] = std::move(data_[i]);
    *this = std::move(grown);
  }
  void Fill(const T& value) { std::fill(data_.get(), data_.get() + size_, value); }

  // Highest valid index, or -1 when the array is empty.
  int Upper() const { return static_cast<int>(size_) - 1; }
  bool Empty() const { return size_ == 0; }

  T& operator()(int i) {
    assert(i >= 0 && static_cast<std::size_t>(i) < size_);
    return data_[static_cast<std::size_t>(i)];
  }
  const T& operator()(int i) const {
    assert(i >= 0 && static_cast<std::size_t>(i) < size_);
    return data_[static_cast<std::size_t>(i)];
  }
  T* Data() { return data_.get(); }
  const T* Data() const { return data_.get(); }

 private:
  // Keeps the storage when the sizes match (no allocation).
  void CopyFrom(const Array1& other) {
    if (size_ != other.size_ || !data_) {
      size_ = other.size_;
      data_ = std::make_unique<T[]>(size_);
    }
    std::copy(other.data_.get(), other.data_.get() + size_, data_.get());
  }

  std::size_t size_ = 0;
  std::unique_ptr<T[]> data_;
};

// A two-dimensional array with the index ranges 0..upper1 x 0..upper2, stored
// row by row (the second index runs fastest).
template <typename T>
class Array2 {
 public:
  Array2() = default;
  Array2(int upper1, int upper2) { Resize(upper1, upper2); }
  Array2(const Array2& other) { CopyFrom(other); }
  Array2& operator=(const Array2& other) {
    if (this != &other) CopyFrom(other);
    return *this;
  }
  Array2(Array2&&) noexcept = default;
  Array2& operator=(Array2&&) noexcept = default;

  void Resize(int upper1, int upper2) {
    rows_ = upper1 < 0 ? 0 : static_cast<std::size_t>(upper1) + 1;
    cols_ = upper2 < 0 ? 0 : static_cast<std::size_t>(upper2) + 1;
    data_ = std::make_unique<T[]>(rows_ * cols_);
  }
  void ResizeKeep(int upper1, int upper2) {
    Array2 grown(upper1, upper2);
    std::size_t r = std::min(rows_, grown.rows_);
    std::size_t c = std::min(cols_, grown.cols_);
    for (std::size_t i = 0; i < r; ++i)
      for (std::size_t j = 0; j < c; ++j) grown.data_[i * grown.cols_ + j] = std::move(data_[i * cols_ + j]);
    *this = std::move(grown);
  }
  void Fill(const T& value) { std::fill(data_.get(), data_.get() + rows_ * cols_, value); }

  int Upper1() const { return static_cast<int>(rows_) - 1; }
  int Upper2() const { return static_cast<int>(cols_) - 1; }

  T& operator()(int i, int j) {
    assert(i >= 0 && static_cast<std::size_t>(i) < rows_);
    assert(j >= 0 && static_cast<std::size_t>(j) < cols_);
    return data_[static_cast<std::size_t>(i) * cols_ + static_cast<std::size_t>(j)];
  }
  const T& operator()(int i, int j) const {
    assert(i >= 0 && static_cast<std::size_t>(i) < rows_);
    assert(j >= 0 && static_cast<std::size_t>(j) < cols_);
    return data_[static_cast<std::size_t>(i) * cols_ + static_cast<std::size_t>(j)];
  }
  // Row i as contiguous memory (elements 0..Upper2()).
  T* Row(int i) { return data_.get() + static_cast<std::size_t>(i) * cols_; }
  const T* Row(int i) const { return data_.get() + static_cast<std::size_t>(i) * cols_; }

 private:
  void CopyFrom(const Array2& other) {
    rows_ = other.rows_;
    cols_ = other.cols_;
    data_ = std::make_unique<T[]>(rows_ * cols_);
    std::copy(other.data_.get(), other.data_.get() + rows_ * cols_, data_.get());
  }

  std::size_t rows_ = 0;
  std::size_t cols_ = 0;
  std::unique_ptr<T[]> data_;
};

}  // namespace tarn

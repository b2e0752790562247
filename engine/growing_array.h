#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <new>
#include <span>
#include <type_traits>

namespace talveron {

/// An array of trivially copyable values that grows at its end only. Its storage grows with
/// std::realloc, which hands a large block's pages over to the grown block instead of copying
/// them: a table of millions of entries neither copies itself nor stands in memory twice while
/// it grows, and its pages are touched once. Throws std::bad_alloc when memory runs out.
template <class T>
class GrowingArray {
    static_assert(std::is_trivially_copyable_v<T>, "the storage is moved by realloc");

public:
    GrowingArray() = default;
    GrowingArray(const GrowingArray&) = delete;
    GrowingArray& operator=(const GrowingArray&) = delete;
    ~GrowingArray() { std::free(data_); }

    void push_back(const T& value) {
        if (size_ == capacity_) grow();
        data_[size_++] = value;
    }
    /// Appends the values at once.
    void append(std::span<const T> values) {
        while (capacity_ - size_ < values.size()) grow();
        std::copy(values.begin(), values.end(), data_ + size_);
        size_ += values.size();
    }
    std::size_t size() const { return size_; }
    T& operator[](std::size_t index) { return data_[index]; }
    const T& operator[](std::size_t index) const { return data_[index]; }
    std::span<const T> view() const { return {data_, size_}; }

private:
    static constexpr std::size_t kFirstCapacity = 64;

    void grow() {
        if (capacity_ > SIZE_MAX / 2 / sizeof(T)) throw std::bad_alloc();
        const std::size_t capacity = capacity_ == 0 ? kFirstCapacity : capacity_ * 2;
        void* grown = std::realloc(data_, capacity * sizeof(T));
        if (grown == nullptr) throw std::bad_alloc();
        data_ = static_cast<T*>(grown);
        capacity_ = capacity;
    }

    T* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace talveron

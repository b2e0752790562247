#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <string_view>

namespace talveron {

/// The temporary output files that runs have created and not yet renamed or removed, kept so that
/// a process that must end at once (a second interrupt) can remove them from a signal handler.
/// add() and remove() may be called from any thread; removeAll() is async-signal-safe.
class TemporaryFileList {
public:
    /// Room for `capacity` files at a time; a file beyond that, or with a longer path than the
    /// system allows, is simply not listed.
    explicit TemporaryFileList(std::size_t capacity);
    ~TemporaryFileList();
    TemporaryFileList(const TemporaryFileList&) = delete;
    TemporaryFileList& operator=(const TemporaryFileList&) = delete;

    /// Lists the file; returns its slot for remove(), or -1 when it could not be listed.
    int add(std::string_view path) noexcept;
    void remove(int slot) noexcept;
    /// Unlinks every listed file. Only async-signal-safe calls.
    void removeAll() noexcept;

private:
    enum State : int { Free, Writing, Listed };
    struct Slot;

    std::size_t capacity_;
    std::unique_ptr<Slot[]> slots_;
};

}  // namespace talveron

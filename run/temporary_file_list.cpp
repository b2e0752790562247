#include "run/temporary_file_list.h"

#include <limits.h>
#include <unistd.h>

#include <cstring>

namespace talveron {

struct TemporaryFileList::Slot {
    std::atomic<int> state{Free};
    char path[PATH_MAX];
};

TemporaryFileList::TemporaryFileList(std::size_t capacity)
    : capacity_(capacity), slots_(std::make_unique<Slot[]>(capacity)) {}

TemporaryFileList::~TemporaryFileList() = default;

int TemporaryFileList::add(std::string_view path) noexcept {
    if (path.size() >= PATH_MAX) return -1;
    for (std::size_t index = 0; index < capacity_; ++index) {
        Slot& slot = slots_[index];
        int expected = Free;
        if (!slot.state.compare_exchange_strong(expected, Writing)) continue;
        std::memcpy(slot.path, path.data(), path.size());
        slot.path[path.size()] = '\0';
        slot.state.store(Listed);
        return static_cast<int>(index);
    }
    return -1;
}

void TemporaryFileList::remove(int slot) noexcept {
    if (slot >= 0 && static_cast<std::size_t>(slot) < capacity_) slots_[slot].state.store(Free);
}

void TemporaryFileList::removeAll() noexcept {
    for (std::size_t index = 0; index < capacity_; ++index) {
        if (slots_[index].state.load() == Listed) ::unlink(slots_[index].path);
    }
}

}  // namespace talveron

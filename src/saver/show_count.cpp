#include "saver/show_count.h"

#include <new>
#include <utility>

namespace orv::saver {
namespace {

class CountLock {
  public:
    explicit CountLock(platform::ShowSlots& slots) : slots_(slots), held_(slots.LockCount()) {}
    ~CountLock() {
        if (held_) slots_.UnlockCount();
    }
    CountLock(const CountLock&) = delete;
    CountLock& operator=(const CountLock&) = delete;

  private:
    platform::ShowSlots& slots_;
    bool held_;
};

} // namespace

int ShowCount::OtherShows(int own) const {
    int others = 0;
    for (int slot = 0; slot < kShowSlots; ++slot)
        if (slot != own && slots_.HeldByOther(slot)) ++others;
    return others;
}

std::optional<int> ShowCount::Count(bool in) {
    if (counted_ == in) return std::nullopt;
    try {
        const CountLock lock(slots_);
        counted_ = in;
        if (!in) {
            slots_.Release();
            return OtherShows(std::exchange(slot_, -1));
        }
        for (int slot = 0; slot < kShowSlots && slot_ < 0; ++slot)
            if (slots_.Hold(slot)) slot_ = slot;
        return OtherShows(slot_);
    } catch (const std::bad_alloc&) {
        return 0; // as if alone, as before there was a count
    }
}

} // namespace orv::saver

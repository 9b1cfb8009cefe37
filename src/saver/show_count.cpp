#include "saver/show_count.h"

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
    const CountLock lock(slots_);
    counted_ = in;
    if (!in) {
        slots_.Release();
        return OtherShows(std::exchange(slot_, -1));
    }
    for (int slot = 0; slot < kShowSlots && slot_ < 0; ++slot)
        if (slots_.Hold(slot)) slot_ = slot;
    return OtherShows(slot_);
}

} // namespace orv::saver

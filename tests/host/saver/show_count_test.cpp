#include "saver/show_count.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <new>

namespace orv::saver {
namespace {

// The named slots of one system, as each process of ours sees them.
struct System {
    std::map<int, int> holders; // slot -> process
    bool lockFree = true;
    bool outOfMemory = false;
};
class FakeSlots : public platform::ShowSlots {
  public:
    FakeSlots(System& system, int process) : system_(system), process_(process) {}
    bool LockCount() override { return system_.lockFree; }
    void UnlockCount() override {}
    bool Hold(int slot) override {
        if (system_.outOfMemory) throw std::bad_alloc();
        return system_.holders.try_emplace(slot, process_).second;
    }
    void Release() override {
        std::erase_if(system_.holders, [&](auto& h) { return Mine(h); });
    }
    bool HeldByOther(int slot) override {
        const auto it = system_.holders.find(slot);
        return it != system_.holders.end() && !Mine(*it);
    }

  private:
    bool Mine(const std::pair<const int, int>& h) const { return h.second == process_; }
    System& system_;
    int process_;
};

struct Process {
    Process(System& system, int id) : slots(system, id) {}
    FakeSlots slots;
    ShowCount count{slots};
};

TEST(ShowCount, EachShowSeesTheOthersThatAreCountedIn) {
    System system;
    std::map<int, std::unique_ptr<Process>> processes;
    const auto count = [&](int id, bool in) {
        auto& p = processes[id];
        if (!p) p = std::make_unique<Process>(system, id);
        return p->count.Count(in);
    };
    constexpr std::optional<int> kNoChange;
    const struct {
        int process;
        bool in;
        std::optional<int> others;
    } steps[] = {
        {1, true, 0},          {1, true, kNoChange},  {2, true, 1}, {3, true, 2},  {2, false, 2},
        {2, false, kNoChange}, {4, false, kNoChange}, {2, true, 2}, {3, false, 2}, {2, false, 1},
    };
    for (const auto& s : steps)
        EXPECT_EQ(count(s.process, s.in), s.others) << s.process << (s.in ? " in" : " out");

    // A process that ends lets go of its slot without counting out.
    std::erase_if(system.holders, [](auto& h) { return h.second == 1; });
    EXPECT_EQ(count(5, true), 0);

    // Beyond the slots a show is counted but unseen; without the lock the
    // count goes on.
    for (int slot = 1; slot < kShowSlots; ++slot)
        system.holders[slot] = 100 + slot;
    system.lockFree = false;
    EXPECT_EQ(count(6, true), kShowSlots);
    EXPECT_EQ(count(5, false), kShowSlots - 1) << "6 holds no slot";
    EXPECT_EQ(count(6, false), kShowSlots - 1);

    system.outOfMemory = true;
    EXPECT_EQ(count(7, true), 0) << "as if alone";
}

} // namespace
} // namespace orv::saver

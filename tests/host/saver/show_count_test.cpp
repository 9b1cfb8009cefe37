#include "saver/show_count.h"

#include <gtest/gtest.h>

#include <map>

namespace orv::saver {
namespace {

std::map<int, int> holders; // slot -> process, of the whole system
bool lockFree = true;

// One process of ours with its count, as it sees the system's slots.
struct Process : platform::ShowSlots {
    explicit Process(int id) : id(id) {}
    bool LockCount() override { return lockFree; }
    void UnlockCount() override {}
    bool Hold(int slot) override { return holders.try_emplace(slot, id).second; }
    void Release() override {
        std::erase_if(holders, [&](auto& h) { return h.second == id; });
    }
    bool HeldByOther(int slot) override { return holders.contains(slot) && holders[slot] != id; }
    int id;
    ShowCount count{*this};
};

TEST(ShowCount, EachShowSeesTheOthersCountedIn) {
    std::map<int, Process> p;
    for (int id = 1; id <= 7; ++id)
        p.try_emplace(id, id);
    const std::optional<int> none;
    const struct {
        int process;
        bool in;
        std::optional<int> others;
    } steps[] = {{1, true, 0},     {1, true, none},  {2, true, 1}, {3, true, 2},  {2, false, 2},
                 {2, false, none}, {4, false, none}, {2, true, 2}, {3, false, 2}, {2, false, 1}};
    for (const auto& s : steps)
        EXPECT_EQ(p.at(s.process).count.Count(s.in), s.others) << s.process << s.in;

    holders.clear(); // process 1 ended without counting out
    EXPECT_EQ(p.at(5).count.Count(true), 0);
    for (int slot = 1; slot < kShowSlots; ++slot) // all others taken; no lock
        holders[slot] = 100;
    lockFree = false;
    EXPECT_EQ(p.at(6).count.Count(true), kShowSlots) << "counted, holding no slot";
    EXPECT_EQ(p.at(5).count.Count(false), kShowSlots - 1) << "6 is not seen";
}

} // namespace
} // namespace orv::saver

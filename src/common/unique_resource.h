// One RAII template for every handle the program holds, so the clean-up rule
// lives in one place; the Windows layer gives it the traits of each handle
// type (win32/unique_handle.h). Move-only: a copy would release twice. Every
// value the traits call invalid counts as empty.
#pragma once
#include <utility>

namespace orv {

// Traits: `Handle`, `Valid(h)` and `Close(h)`. The close function is the
// system's own (its result is of no use at clean-up).
template <typename Traits> class unique_any {
  public:
    using Handle = typename Traits::Handle;
    unique_any() = default;
    explicit unique_any(Handle h) noexcept : h_(Traits::Valid(h) ? h : Handle{}) {}
    unique_any(unique_any&& other) noexcept : h_(other.release()) {}
    unique_any& operator=(unique_any&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    unique_any(const unique_any&) = delete;
    unique_any& operator=(const unique_any&) = delete;
    ~unique_any() { reset(); }

    Handle get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != Handle{}; }
    Handle release() noexcept { return std::exchange(h_, Handle{}); }
    void reset(Handle h = Handle{}) noexcept {
        const Handle old = std::exchange(h_, Traits::Valid(h) ? h : Handle{});
        if (old != Handle{}) Traits::Close(old);
    }

  private:
    Handle h_{};
};

// The traits of a handle whose only invalid value is its zero.
template <typename H, auto CloseFn> struct NullTraits {
    using Handle = H;
    static bool Valid(H h) noexcept { return h != H{}; }
    static void Close(H h) noexcept { CloseFn(h); }
};

} // namespace orv

#pragma once
// Entity handles start low and only grow: a plain array by handle finds an entity's data in one
// step, where a search tree takes a dozen pointer hops with a few hundred peds about. Handles
// beyond the array's reach (none the world makes; a plug-in may pass anything) are simply
// not in it, and the owner looks them up the slow way.
#include <cstddef>
#include <cstdint>
#include <vector>

template <typename T>
class HandleIndex {
  public:
    // Far beyond any world's handles: the array would hold 128 MB of pointers there.
    static constexpr std::int64_t REACH = std::int64_t{1} << 24;

    static bool covers(std::int32_t handle) { return handle >= 0 && handle < REACH; }

    T* get(std::int32_t handle) const {
        const auto at = static_cast<std::size_t>(handle);
        return covers(handle) && at < slots_.size() ? slots_[at] : nullptr;
    }
    void set(std::int32_t handle, T* value) {
        if (!covers(handle)) {
            return;
        }
        const auto at = static_cast<std::size_t>(handle);
        if (at >= slots_.size()) {
            slots_.resize(at + 1, nullptr);
        }
        slots_[at] = value;
    }
    void clear(std::int32_t handle) {
        if (covers(handle) && static_cast<std::size_t>(handle) < slots_.size()) {
            slots_[static_cast<std::size_t>(handle)] = nullptr;
        }
    }

  private:
    std::vector<T*> slots_;
};

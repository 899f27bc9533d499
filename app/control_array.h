#pragma once
// A control array: elements named "cmdExit(3)", reached as cmdExit(3), all
// sharing one handler that receives the index.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kippurun {

template <class T>
class ControlArray {
  public:
    ControlArray(std::string_view name, int count) {
        elements_.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i)
            elements_.push_back(
                std::make_unique<T>(std::string(name) + "(" + std::to_string(i) + ")"));
    }

    // Throws std::out_of_range for an index outside the array.
    T& operator()(int index) { return *elements_.at(static_cast<std::size_t>(index)); }
    const T& operator()(int index) const { return *elements_.at(static_cast<std::size_t>(index)); }
    int size() const { return static_cast<int>(elements_.size()); }

  private:
    std::vector<std::unique_ptr<T>> elements_;
};

}  // namespace kippurun

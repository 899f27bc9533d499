#include "app/qt/start_ahead.h"

#include <system_error>
#include <utility>

#include <fontconfig/fontconfig.h>

namespace kippurun {

namespace {

// A thread running `work`, or none where the system has none to give.
template <typename Work>
std::thread startThread(Work work) {
    try {
        return std::thread(std::move(work));
    } catch (const std::system_error&) {
        return {};
    }
}

}  // namespace

FontsAhead::FontsAhead() : thread_(startThread([] { FcInit(); })) {}

void FontsAhead::wait() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace kippurun

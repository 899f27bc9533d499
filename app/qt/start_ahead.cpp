#include "app/qt/start_ahead.h"

#include <system_error>
#include <utility>

#include <fontconfig/fontconfig.h>

#include <QBuffer>
#include <QImageReader>

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

ImagePluginsAhead::ImagePluginsAhead()
    : thread_(startThread([] {
          // Asking whether a PNG can be read makes Qt load every image-format
          // plugin to ask it first; the answer itself does not matter.
          QBuffer nothing;
          nothing.open(QIODevice::ReadOnly);
          QImageReader reader(&nothing, "png");
          static_cast<void>(reader.canRead());
      })) {}

ImagePluginsAhead::~ImagePluginsAhead() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace kippurun

#pragma once
// Work of the window's start that waits for nothing of the window's, done
// on the second core while the main thread connects to the window system
// and builds the form: fontconfig reads its configuration and font caches,
// which the main thread would otherwise do at the first font it looks up.
// Nothing here changes what the window shows; without a thread it is all
// done where it always was.
#include <thread>

namespace kippurun {

// fontconfig's set-up, started before QApplication is made.
class FontsAhead {
  public:
    FontsAhead();
    ~FontsAhead() { wait(); }
    FontsAhead(const FontsAhead&) = delete;
    FontsAhead& operator=(const FontsAhead&) = delete;

    // Before the first font is looked up.
    void wait();

  private:
    std::thread thread_;
};

}  // namespace kippurun

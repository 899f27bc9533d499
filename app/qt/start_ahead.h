#pragma once
// Work of the window's start that waits for nothing of the window's, done
// on the second core while the main thread connects to the window system,
// builds the form and paints it:
// - fontconfig reads its configuration and font caches (the main thread
//   would otherwise do it at the first font it looks up);
// - Qt's image-format plugins are loaded: Qt asks each of them before it
//   reads a PNG image itself, and the style reads one (the frame of a group
//   of controls) at the first frame.
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

// The image-format plugins, loaded once QApplication is made (the plugins'
// folders are the application's); made after it, so that it is gone before
// QApplication goes.
class ImagePluginsAhead {
  public:
    ImagePluginsAhead();
    ~ImagePluginsAhead();
    ImagePluginsAhead(const ImagePluginsAhead&) = delete;
    ImagePluginsAhead& operator=(const ImagePluginsAhead&) = delete;

  private:
    std::thread thread_;
};

}  // namespace kippurun

#pragma once
// Work of the window's start that waits for nothing of the window's, done
// on the second core while the main thread connects to the window system
// and builds the form:
// - fontconfig reads its configuration and font caches (the main thread
//   would otherwise do it at the first font it looks up);
// - the image the style draws a group frame from is read (Qt looks through
//   its image-format plugins' folder before it reads any image).
// Nothing here changes what the window shows; without a thread it is all
// done where it always was.
#include <thread>

#include <QImage>

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

// The group frame's image, read once QApplication is made (the plugins'
// folders are the application's); made after it, so that it is gone before
// QApplication goes.
class FrameImageAhead {
  public:
    FrameImageAhead();
    ~FrameImageAhead() { take(); }
    FrameImageAhead(const FrameImageAhead&) = delete;
    FrameImageAhead& operator=(const FrameImageAhead&) = delete;

    // The image, once read; empty when no thread read it.
    QImage take();

  private:
    QImage image_;
    std::thread thread_;
};

}  // namespace kippurun

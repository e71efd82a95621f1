#pragma once
// What a job tells whoever runs it while it works: the status texts the
// window shows on its status line, the progress bar, the picture of a stage
// (the window previews it) and a moment to keep a window responsive. Every
// method may be left alone; the default does nothing.
#include <string>

namespace velkor {

class cAlphaDibSection;

class Progress {
 public:
  virtual ~Progress() = default;
  // `repaint`: shown at once (false: with the next repaint).
  virtual void Status(const std::string& /*text*/, bool /*repaint*/ = true) {}
  virtual void Bar(bool /*visible*/) {}
  virtual void Fraction(float /*percent*/) {}  // 0..100
  virtual void Picture(const cAlphaDibSection& /*picture*/) {}
  virtual void Yield() {}
  // Frames rendered so far, of `total`.
  virtual void Frames(int /*done*/, int /*total*/) {}
  // Something the job went on without (an unreadable 2D frame).
  virtual void Warning(const std::string& /*text*/) {}
};

}  // namespace velkor

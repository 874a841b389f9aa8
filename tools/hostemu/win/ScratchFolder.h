#pragma once
#include <string>

// A fresh folder under %TEMP% that is the current directory while it lives;
// emptied and removed, and the previous directory restored, at its end. Its
// log may hold a full API token, so it is removed on Ctrl+C, Ctrl+Break and a
// closed console window too (a console control handler), not only at the end.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    bool ready() const { return !path_.empty(); }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
    std::string previous_;
};

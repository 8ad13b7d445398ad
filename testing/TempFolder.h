#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it.

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <string>
#include <system_error>

#include "platform/rtl/System.h"

class TempFolder {
public:
  TempFolder() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "rtl-test-XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr)
      throw std::system_error(errno, std::generic_category(), "cannot create a temporary folder");
    path_ = tmpl;
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }
  // Full name of a file in the folder, as UTF-8 and as String.
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  String FileS(const std::string& name) const { return UTF8ToString(File(name)); }

  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(File(name), std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(File(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // Runs Work on another thread and waits up to ten seconds for it. False when it has not
  // finished: a reader stuck opening the FIFO Fifo (a name in the folder) is released first,
  // so that the thread ends.
  template <class F>
  bool Finishes(F Work, const std::string& Fifo) const {
    auto done = std::async(std::launch::async, Work);
    if (done.wait_for(std::chrono::seconds(10)) == std::future_status::ready) return true;
    int fd = ::open(File(Fifo).c_str(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0) ::close(fd);
    done.wait();
    return false;
  }

private:
  std::string path_;
};

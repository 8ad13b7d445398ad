#pragma once
// Test helpers for the settings file: reading a key back with an independent reader
// (crudini), and making file permissions count for this thread also when tests run as root.

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <string>

// The value of Key in Section as crudini reads it ("<missing>" when it has none).
inline std::string CrudiniGet(const std::string& File, const std::string& Section, const std::string& Key) {
  std::string cmd = "crudini --get '" + File + "' '" + Section + "' '" + Key + "' 2>/dev/null";
  FILE* p = ::popen(cmd.c_str(), "r");
  if (p == nullptr) return "<no crudini>";
  std::string out;
  char buf[256];
  while (size_t n = ::fread(buf, 1, sizeof buf, p)) out.append(buf, n);
  int status = ::pclose(p);
  if (status != 0) return "<missing>";
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

// While alive, this thread's file access follows the permission bits, as an ordinary
// user's does: the capabilities that let root write any file are off (and back after).
class FilePermissionsApply {
public:
  FilePermissionsApply() {
    ::syscall(SYS_capget, &header_, saved_);
    __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
    reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER));
    ::syscall(SYS_capset, &header_, reduced);
  }
  ~FilePermissionsApply() { ::syscall(SYS_capset, &header_, saved_); }
  FilePermissionsApply(const FilePermissionsApply&) = delete;
  FilePermissionsApply& operator=(const FilePermissionsApply&) = delete;

private:
  __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct saved_[2]{};
};

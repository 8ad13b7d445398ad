// File names, folders, the executable's path and operating-system errors.
#include <cerrno>
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>
#include <string>
#include <vector>

#include "platform/rtl/SysUtils.h"

#include "platform/rtl/ScopeGuard.h"

namespace {

std::string Native(const String& s) { return StringToUTF8(s); }

// Index just after the last path delimiter (0 when there is none).
size_t NameStart(const String& f) {
  size_t p = f.rfind(PathDelim);
  return p == String::npos ? 0 : p + 1;
}

// Index of the extension's dot, or npos.
size_t ExtStart(const String& f) {
  size_t p = f.rfind(u'.');
  return (p == String::npos || p < NameStart(f)) ? String::npos : p;
}

bool StatMode(const String& path, mode_t type) {
  struct stat st;
  return !path.empty() && ::stat(Native(path).c_str(), &st) == 0 && (st.st_mode & S_IFMT) == type;
}

}  // namespace

String ExtractFilePath(const String& FileName) { return FileName.substr(0, NameStart(FileName)); }

String ExtractFileDir(const String& FileName) {
  size_t start = NameStart(FileName);
  if (start == 0) return String();
  if (start == 1) return String(1, PathDelim);  // the root keeps its delimiter
  return FileName.substr(0, start - 1);
}

String ExtractFileName(const String& FileName) { return FileName.substr(NameStart(FileName)); }

String ExtractFileExt(const String& FileName) {
  size_t p = ExtStart(FileName);
  return p == String::npos ? String() : FileName.substr(p);
}

String ChangeFileExt(const String& FileName, const String& Extension) {
  size_t p = ExtStart(FileName);
  return (p == String::npos ? FileName : FileName.substr(0, p)) + Extension;
}

String IncludeTrailingPathDelimiter(const String& s) {
  return (!s.empty() && s.back() == PathDelim) ? s : s + PathDelim;
}

String ExcludeTrailingPathDelimiter(const String& s) {
  return (s.size() > 1 && s.back() == PathDelim) ? s.substr(0, s.size() - 1) : s;
}

String ExpandFileName(const String& FileName) {
  String full = (!FileName.empty() && FileName[0] == PathDelim) ? FileName
                                                                : IncludeTrailingPathDelimiter(GetCurrentDir()) + FileName;
  std::vector<String> parts;
  size_t i = 0;
  while (i <= full.size()) {
    size_t e = full.find(PathDelim, i);
    if (e == String::npos) e = full.size();
    String part = full.substr(i, e - i);
    if (part == u"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != u".") {
      parts.push_back(part);
    }
    i = e + 1;
  }
  String r;
  for (const String& p : parts) r += PathDelim + p;
  if (r.empty() || (!FileName.empty() && FileName.back() == PathDelim)) r += PathDelim;
  return r;
}

bool FileExists(const String& FileName) {
  struct stat st;
  return !FileName.empty() && ::stat(Native(FileName).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const String& Directory) { return StatMode(Directory, S_IFDIR); }

std::string ReadFileBytes(const String& FileName, int64_t MaxBytes) {
  auto fail = [&](const String& why) { throw EFOpenError(u"Cannot open file \"" + FileName + u"\". " + why); };
  const std::string path = Native(FileName);
  // Checked before opening: opening a FIFO blocks, and opening a device acts on it.
  struct stat st;
  if (path.empty()) fail(SysErrorMessage(ENOENT));
  if (::stat(path.c_str(), &st) != 0) fail(SysErrorMessage(errno));
  if (!S_ISREG(st.st_mode)) fail(u"It is not a regular file.");
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) fail(SysErrorMessage(errno));
  std::string bytes;
  {
    TScopeGuard restore([&] { ::close(fd); });
    // Checked again on the open file, which may have been replaced meanwhile.
    if (::fstat(fd, &st) != 0) fail(SysErrorMessage(errno));
    if (!S_ISREG(st.st_mode)) fail(u"It is not a regular file.");
    const String tooLarge = u"It is larger than " + IntToStr(MaxBytes) + u" bytes.";
    if (st.st_size > MaxBytes) fail(tooLarge);
    bytes.resize(static_cast<size_t>(st.st_size));
    size_t done = 0;
    // Read to the end, however the size changes meanwhile, but never past the bound.
    for (;;) {
      if (done == bytes.size()) {
        if (static_cast<int64_t>(done) > MaxBytes) fail(tooLarge);
        bytes.resize(done + std::min<size_t>(65536, static_cast<size_t>(MaxBytes - static_cast<int64_t>(done)) + 1));
      }
      ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
      if (n < 0) {
        if (errno == EINTR) continue;
        fail(SysErrorMessage(errno));
      }
      if (n == 0) break;
      done += static_cast<size_t>(n);
    }
    bytes.resize(done);
  }
  return bytes;
}

bool CreateDir(const String& Dir) { return !Dir.empty() && ::mkdir(Native(Dir).c_str(), 0777) == 0; }

bool RemoveDir(const String& Dir) { return !Dir.empty() && ::rmdir(Native(Dir).c_str()) == 0; }

bool ForceDirectories(const String& Dir) {
  if (Dir.empty()) throw EInOutError(u"Unable to create directory");
  String d = ExcludeTrailingPathDelimiter(Dir);
  if (DirectoryExists(d)) return true;
  String parent = ExtractFileDir(d);
  if (!parent.empty() && parent != d && !ForceDirectories(parent)) return false;
  return CreateDir(d) || (errno == EEXIST && DirectoryExists(d));
}

bool DeleteFile(const String& FileName) {
  return !FileName.empty() && !DirectoryExists(FileName) && ::unlink(Native(FileName).c_str()) == 0;
}

bool RenameFile(const String& OldName, const String& NewName) {
  if (OldName.empty() || NewName.empty()) return false;
  const std::string from = Native(OldName), to = Native(NewName);
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // File systems without the no-replace flag: check, then rename.
  struct stat st;
  if (::lstat(to.c_str(), &st) == 0) {
    errno = EEXIST;
    return false;
  }
  return ::rename(from.c_str(), to.c_str()) == 0;
}

String GetCurrentDir() {
  std::vector<char> buf(PATH_MAX);
  while (!::getcwd(buf.data(), buf.size())) {
    if (errno != ERANGE) return String();
    buf.resize(buf.size() * 2);
  }
  return UTF8ToString(buf.data());
}

bool SetCurrentDir(const String& Dir) { return !Dir.empty() && ::chdir(Native(Dir).c_str()) == 0; }

String GetModuleFileName() {
  std::vector<char> buf(PATH_MAX);
  while (true) {
    ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
    if (n < 0) return String();
    if (static_cast<size_t>(n) < buf.size()) return UTF8ToString(std::string_view(buf.data(), static_cast<size_t>(n)));
    buf.resize(buf.size() * 2);
  }
}

String ExeName() { return GetModuleFileName(); }

namespace {

// The command line as the kernel recorded it (NUL-separated).
std::vector<String> CommandLine() {
  std::vector<String> args;
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  std::string arg;
  while (std::getline(in, arg, '\0')) args.push_back(UTF8ToString(arg));
  return args;
}

}  // namespace

int ParamCount() {
  static const int count = static_cast<int>(CommandLine().size()) - 1;
  return count < 0 ? 0 : count;
}

String ParamStr(int Index) {
  if (Index == 0) return ExeName();
  static const std::vector<String> args = CommandLine();
  return (Index > 0 && Index < static_cast<int>(args.size())) ? args[static_cast<size_t>(Index)] : String();
}

String SysErrorMessage(int ErrorCode) {
  char buf[256];
  // The GNU variant returns the text, which may not be in buf.
  const char* text = ::strerror_r(ErrorCode, buf, sizeof buf);
  return UTF8ToString(text ? text : "");
}

void RaiseLastOSError(int ErrorCode) {
  if (ErrorCode == 0) throw EOSError(u"A call to an OS function failed", 0);
  throw EOSError(u"System Error.  Code: " + IntToStr(ErrorCode) + u".\n" + SysErrorMessage(ErrorCode), ErrorCode);
}

void RaiseLastOSError() { RaiseLastOSError(errno); }

// Streams: the abstract stream, file, memory and string streams.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"

// ---------------------------------------------------------------------------
// TStream

int64_t TStream::Size() {
  int64_t pos = Seek(0, soCurrent);
  int64_t size = Seek(0, soEnd);
  Seek(pos, soBeginning);
  return size;
}

void TStream::SetSize(int64_t) {}

void TStream::ReadBuffer(void* Buffer, int32_t Count) {
  if (Count > 0 && Read(Buffer, Count) != Count) throw EReadError(u"Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, int32_t Count) {
  if (Count > 0 && Write(Buffer, Count) != Count) throw EWriteError(u"Stream write error");
}

int64_t TStream::CopyFrom(TStream* Source, int64_t Count) {
  if (Count == 0) {
    Source->SetPosition(0);
    Count = Source->Size();
  }
  const int64_t total = Count;
  std::vector<uint8_t> buf(static_cast<size_t>(std::min<int64_t>(Count, 64 * 1024)) + 1);
  while (Count > 0) {
    int32_t n = static_cast<int32_t>(std::min<int64_t>(Count, static_cast<int64_t>(buf.size())));
    Source->ReadBuffer(buf.data(), n);
    WriteBuffer(buf.data(), n);
    Count -= n;
  }
  return total;
}

// ---------------------------------------------------------------------------
// TFileStream

namespace {

String FileErrorText(const char* what, const String& name, int err) {
  return UTF8ToString(what) + u" \"" + name + u"\". " + SysErrorMessage(err);
}

}  // namespace

void SaveFileReplacing(const String& FileName, const void* Data, size_t Size) {
  auto fail = [&](int err) { throw EFCreateError(FileErrorText("Cannot create file", FileName, err)); };
  std::string target = StringToUTF8(FileName);
  if (target.empty()) fail(ENOENT);
  // A link is followed: the file it names is replaced, the link stays.
  if (char* real = ::realpath(target.c_str(), nullptr)) {
    target = real;
    ::free(real);
  }
  struct stat st {};
  const bool exists = ::stat(target.c_str(), &st) == 0;
  if (exists && !S_ISREG(st.st_mode)) fail(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
  if (exists) {
    // A file that may not be written is not replaced either (opened, not truncated, to ask).
    int probe = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (probe < 0) fail(errno);
    ::close(probe);
  }

  // The new file beside the old one, so the rename stays on one file system.
  static std::atomic<unsigned> serial{0};
  std::string temp;
  int fd = -1;
  for (int attempt = 0; fd < 0; ++attempt) {
    temp = target + "." + std::to_string(::getpid()) + "-" + std::to_string(serial++) + ".tmp";
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && (errno != EEXIST || attempt > 100)) fail(errno);
  }
  auto abandon = [&](int err) {
    ::close(fd);
    ::unlink(temp.c_str());
    fail(err);
  };
  if (exists) {
    // The replacement keeps the old file's permissions and, where allowed, its owner.
    [[maybe_unused]] int owned = ::fchown(fd, st.st_uid, st.st_gid);
    if (::fchmod(fd, st.st_mode & 07777) != 0) abandon(errno);
  }
  const char* p = static_cast<const char*>(Data);
  for (size_t done = 0; done < Size;) {
    ssize_t n = ::write(fd, p + done, Size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) abandon(n < 0 ? errno : ENOSPC);
    done += static_cast<size_t>(n);
  }
  // Some file systems report a full disk only when the data goes out.
  if (::fsync(fd) != 0 && errno != EINVAL) abandon(errno);
  if (::close(fd) != 0) {
    int err = errno;
    ::unlink(temp.c_str());
    fail(err);
  }
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    int err = errno;
    ::unlink(temp.c_str());
    fail(err);
  }
}

TFileStream::TFileStream(const String& FileName, uint16_t Mode) : FFileName(FileName) {
  const std::string path = StringToUTF8(FileName);
  int flags = O_CLOEXEC;
  const bool create = (Mode & fmCreate) == fmCreate;
  if (create) {
    flags |= O_RDWR | O_CREAT | O_TRUNC;
  } else {
    switch (Mode & 3) {
      case fmOpenWrite: flags |= O_WRONLY; break;
      case fmOpenReadWrite: flags |= O_RDWR; break;
      default: flags |= O_RDONLY; break;
    }
  }
  int fd = path.empty() ? -1 : ::open(path.c_str(), flags, 0666);
  int err = path.empty() ? ENOENT : errno;
  if (fd >= 0) {
    // A folder opens for reading on this system but is no file.
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
      ::close(fd);
      fd = -1;
      err = EISDIR;
    }
  }
  if (fd < 0) {
    if (create) throw EFCreateError(FileErrorText("Cannot create file", FileName, err));
    throw EFOpenError(FileErrorText("Cannot open file", FileName, err));
  }
  FHandle = fd;
}

TFileStream::~TFileStream() {
  if (FHandle >= 0) ::close(FHandle);
}

int32_t TFileStream::Read(void* Buffer, int32_t Count) {
  if (Count <= 0) return 0;
  auto* p = static_cast<uint8_t*>(Buffer);
  int32_t done = 0;
  while (done < Count) {
    ssize_t n = ::read(FHandle, p + done, static_cast<size_t>(Count - done));
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EReadError(FileErrorText("Cannot read file", FFileName, errno));
    }
    if (n == 0) break;
    done += static_cast<int32_t>(n);
  }
  return done;
}

int32_t TFileStream::Write(const void* Buffer, int32_t Count) {
  if (Count <= 0) return 0;
  const auto* p = static_cast<const uint8_t*>(Buffer);
  int32_t done = 0;
  while (done < Count) {
    ssize_t n = ::write(FHandle, p + done, static_cast<size_t>(Count - done));
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EWriteError(FileErrorText("Cannot write file", FFileName, errno));
    }
    done += static_cast<int32_t>(n);
  }
  return done;
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int whence = Origin == soCurrent ? SEEK_CUR : Origin == soEnd ? SEEK_END : SEEK_SET;
  off_t r = ::lseek(FHandle, static_cast<off_t>(Offset), whence);
  if (r < 0) throw EStreamError(FileErrorText("Cannot seek in file", FFileName, errno));
  return static_cast<int64_t>(r);
}

void TFileStream::SetSize(int64_t NewSize) {
  if (::ftruncate(FHandle, static_cast<off_t>(NewSize)) != 0)
    throw EStreamError(FileErrorText("Cannot change the size of file", FFileName, errno));
  if (Position() > NewSize) Seek(NewSize, soBeginning);
}

// ---------------------------------------------------------------------------
// TMemoryStream

int32_t TMemoryStream::Read(void* Buffer, int32_t Count) {
  const int64_t size = static_cast<int64_t>(FData.size());
  if (Count <= 0 || FPosition >= size) return 0;
  int32_t n = static_cast<int32_t>(std::min<int64_t>(Count, size - FPosition));
  std::memcpy(Buffer, FData.data() + FPosition, static_cast<size_t>(n));
  FPosition += n;
  return n;
}

int32_t TMemoryStream::Write(const void* Buffer, int32_t Count) {
  if (Count <= 0) return 0;
  const int64_t end = FPosition + Count;
  if (end > static_cast<int64_t>(FData.size())) FData.resize(static_cast<size_t>(end));
  std::memcpy(FData.data() + FPosition, Buffer, static_cast<size_t>(Count));
  FPosition = end;
  return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int64_t base = Origin == soCurrent ? FPosition : Origin == soEnd ? static_cast<int64_t>(FData.size()) : 0;
  int64_t pos = base + Offset;
  if (pos < 0) throw EStreamError(u"Invalid stream position");
  FPosition = pos;
  return FPosition;
}

void TMemoryStream::SetSize(int64_t NewSize) {
  if (NewSize < 0) NewSize = 0;
  FData.resize(static_cast<size_t>(NewSize));
  if (FPosition > NewSize) FPosition = NewSize;
}

void TMemoryStream::Clear() {
  FData.clear();
  FData.shrink_to_fit();
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
  Stream->SetPosition(0);
  int64_t size = Stream->Size();
  std::vector<uint8_t> data(static_cast<size_t>(size));
  if (size > 0) Stream->ReadBuffer(data.data(), static_cast<int32_t>(size));
  FData.swap(data);
  FPosition = 0;
}

void TMemoryStream::LoadFromFile(const String& FileName) {
  TFileStream fs(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&fs);
}

void TMemoryStream::SaveToStream(TStream* Stream) {
  if (!FData.empty()) Stream->WriteBuffer(FData.data(), static_cast<int32_t>(FData.size()));
}

void TMemoryStream::SaveToFile(const String& FileName) {
  TFileStream fs(FileName, fmCreate);
  SaveToStream(&fs);
}

// ---------------------------------------------------------------------------
// TStringStream

TStringStream::TStringStream(const String& AString) {
  std::string bytes = StringToUTF8(AString);
  FData.assign(bytes.begin(), bytes.end());
}

String TStringStream::DataString() const {
  return UTF8ToString(std::string_view(reinterpret_cast<const char*>(FData.data()), FData.size()));
}

String TStringStream::ReadString(int32_t Count) {
  std::string bytes(static_cast<size_t>(std::max(Count, 0)), '\0');
  int32_t n = Read(bytes.data(), Count);
  bytes.resize(static_cast<size_t>(std::max(n, 0)));
  return UTF8ToString(bytes);
}

void TStringStream::WriteString(const String& AString) {
  std::string bytes = StringToUTF8(AString);
  Write(bytes.data(), static_cast<int32_t>(bytes.size()));
}

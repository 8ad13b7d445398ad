// Global memory blocks and streams over them.
#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <unordered_map>
#include <vector>

#include "platform/win/Ole.h"

namespace {

struct TGlobalBlock {
  std::vector<uint8_t> bytes;
  int locks = 0;
};

// Handles are the blocks' addresses, checked against the table before any use, so a freed or
// made-up handle is refused instead of followed.
std::mutex& TableLock() {
  static std::mutex m;
  return m;
}
std::unordered_map<const void*, std::unique_ptr<TGlobalBlock>>& Table() {
  static std::unordered_map<const void*, std::unique_ptr<TGlobalBlock>> t;
  return t;
}

TGlobalBlock* Find(HGLOBAL Mem) {
  auto it = Table().find(Mem);
  return it == Table().end() ? nullptr : it->second.get();
}

uint8_t kEmptyBlock = 0;

// Larger blocks are refused up front: no caller moves more through one block than a stream's
// 32-bit counts can, and asking the allocator for absurd sizes is not a way to find out.
constexpr SIZE_T kMaxBlock = SIZE_T(1) << 32;

}  // namespace

HGLOBAL GlobalAlloc(UINT, SIZE_T Bytes) {
  if (Bytes > kMaxBlock) return nullptr;
  auto block = std::make_unique<TGlobalBlock>();
  try {
    block->bytes.resize(Bytes);
  } catch (const std::bad_alloc&) {
    return nullptr;
  } catch (const std::length_error&) {
    return nullptr;
  }
  std::lock_guard<std::mutex> lock(TableLock());
  HGLOBAL handle = block.get();
  Table().emplace(handle, std::move(block));
  return handle;
}

HGLOBAL GlobalReAlloc(HGLOBAL Mem, SIZE_T Bytes, UINT) {
  std::lock_guard<std::mutex> lock(TableLock());
  TGlobalBlock* b = Find(Mem);
  // A locked block keeps its address: its holder may be using it.
  if (b == nullptr || b->locks > 0 || Bytes > kMaxBlock) return nullptr;
  try {
    b->bytes.resize(Bytes);
  } catch (const std::bad_alloc&) {
    return nullptr;
  } catch (const std::length_error&) {
    return nullptr;
  }
  return Mem;
}

void* GlobalLock(HGLOBAL Mem) {
  std::lock_guard<std::mutex> lock(TableLock());
  TGlobalBlock* b = Find(Mem);
  if (b == nullptr) return nullptr;
  ++b->locks;
  return b->bytes.empty() ? &kEmptyBlock : b->bytes.data();
}

BOOL GlobalUnlock(HGLOBAL Mem) {
  std::lock_guard<std::mutex> lock(TableLock());
  TGlobalBlock* b = Find(Mem);
  if (b == nullptr || b->locks == 0) return FALSE;
  --b->locks;
  return b->locks > 0 ? TRUE : FALSE;
}

SIZE_T GlobalSize(HGLOBAL Mem) {
  std::lock_guard<std::mutex> lock(TableLock());
  TGlobalBlock* b = Find(Mem);
  return b == nullptr ? 0 : b->bytes.size();
}

HGLOBAL GlobalFree(HGLOBAL Mem) {
  std::lock_guard<std::mutex> lock(TableLock());
  auto it = Table().find(Mem);
  if (it == Table().end()) return Mem;
  Table().erase(it);
  return nullptr;
}

namespace {

// The block and the size of the stream's bytes, shared by a stream and its clones.
struct THGlobalData {
  HGLOBAL mem = nullptr;
  bool deleteOnRelease = false;
  uint64_t size = 0;
  std::mutex lock;
  ~THGlobalData() {
    if (deleteOnRelease) GlobalFree(mem);
  }
};

class THGlobalStream : public TInterfacedObject<IStream> {
public:
  explicit THGlobalStream(std::shared_ptr<THGlobalData> Data, uint64_t Position = 0)
      : FData(std::move(Data)), FPosition(Position) {}

  HRESULT Read(void* Buffer, ULONG Count, ULONG* Done) override {
    if (Done) *Done = 0;
    if (Buffer == nullptr && Count > 0) return STG_E_INVALIDPOINTER;
    std::lock_guard<std::mutex> lock(FData->lock);
    uint64_t n = FPosition >= FData->size ? 0 : std::min<uint64_t>(Count, FData->size - FPosition);
    if (n > 0) {
      auto* p = static_cast<const uint8_t*>(GlobalLock(FData->mem));
      if (p == nullptr) return E_UNEXPECTED;
      std::memcpy(Buffer, p + FPosition, n);
      GlobalUnlock(FData->mem);
      FPosition += n;
    }
    if (Done) *Done = static_cast<ULONG>(n);
    return S_OK;
  }

  HRESULT Write(const void* Buffer, ULONG Count, ULONG* Done) override {
    if (Done) *Done = 0;
    if (Buffer == nullptr && Count > 0) return STG_E_INVALIDPOINTER;
    if (Count == 0) return S_OK;
    std::lock_guard<std::mutex> lock(FData->lock);
    uint64_t end = FPosition + Count;
    if (end > FData->size) {
      HRESULT hr = Resize(end);
      if (FAILED(hr)) return hr;
    }
    auto* p = static_cast<uint8_t*>(GlobalLock(FData->mem));
    if (p == nullptr) return E_UNEXPECTED;
    std::memcpy(p + FPosition, Buffer, Count);
    GlobalUnlock(FData->mem);
    FPosition = end;
    if (Done) *Done = Count;
    return S_OK;
  }

  HRESULT Seek(LARGE_INTEGER Move, DWORD Origin, ULARGE_INTEGER* NewPosition) override {
    std::lock_guard<std::mutex> lock(FData->lock);
    int64_t base;
    switch (Origin) {
      case STREAM_SEEK_SET: base = 0; break;
      case STREAM_SEEK_CUR: base = static_cast<int64_t>(FPosition); break;
      case STREAM_SEEK_END: base = static_cast<int64_t>(FData->size); break;
      default: return STG_E_INVALIDFUNCTION;
    }
    int64_t pos;
    if (__builtin_add_overflow(base, Move, &pos) || pos < 0) return STG_E_INVALIDFUNCTION;
    FPosition = static_cast<uint64_t>(pos);
    if (NewPosition) *NewPosition = FPosition;
    return S_OK;
  }

  HRESULT SetSize(ULARGE_INTEGER NewSize) override {
    std::lock_guard<std::mutex> lock(FData->lock);
    return Resize(NewSize);
  }

  HRESULT CopyTo(IStream* Dest, ULARGE_INTEGER Count, ULARGE_INTEGER* Copied, ULARGE_INTEGER* Stored) override {
    if (Copied) *Copied = 0;
    if (Stored) *Stored = 0;
    if (Dest == nullptr) return STG_E_INVALIDPOINTER;
    uint8_t buffer[65536];
    uint64_t left = Count;
    while (left > 0) {
      ULONG got = 0, put = 0;
      HRESULT hr = Read(buffer, static_cast<ULONG>(std::min<uint64_t>(left, sizeof buffer)), &got);
      if (FAILED(hr)) return hr;
      if (got == 0) break;
      if (Copied) *Copied += got;
      hr = Dest->Write(buffer, got, &put);
      if (Stored) *Stored += put;
      if (FAILED(hr)) return hr;
      left -= got;
    }
    return S_OK;
  }

  HRESULT Commit(DWORD) override { return S_OK; }
  HRESULT Revert() override { return S_OK; }
  HRESULT LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
  HRESULT UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }

  HRESULT Stat(STATSTG* Out, DWORD Flag) override {
    if (Out == nullptr) return STG_E_INVALIDPOINTER;
    if (Flag > STATFLAG_NONAME) return STG_E_INVALIDFLAG;
    std::lock_guard<std::mutex> lock(FData->lock);
    *Out = STATSTG{};
    Out->type = STGTY_STREAM;
    Out->cbSize = FData->size;
    return S_OK;
  }

  HRESULT Clone(IStream** Stream) override {
    if (Stream == nullptr) return STG_E_INVALIDPOINTER;
    std::lock_guard<std::mutex> lock(FData->lock);
    *Stream = new THGlobalStream(FData, FPosition);
    return S_OK;
  }

  HGLOBAL Block() const { return FData->mem; }

protected:
  bool Supports(REFIID Riid) const override { return Riid == IID_ISequentialStream || Riid == IID_IStream; }

private:

  // Caller holds FData->lock.
  HRESULT Resize(uint64_t NewSize) {
    if (NewSize > SIZE_MAX) return STG_E_MEDIUMFULL;
    if (NewSize > GlobalSize(FData->mem) && GlobalReAlloc(FData->mem, static_cast<SIZE_T>(NewSize), GMEM_MOVEABLE) == nullptr)
      return E_OUTOFMEMORY;
    FData->size = NewSize;
    return S_OK;
  }

  std::shared_ptr<THGlobalData> FData;
  uint64_t FPosition;
};

}  // namespace

HRESULT CreateStreamOnHGlobal(HGLOBAL Mem, BOOL DeleteOnRelease, IStream** Stream) {
  if (Stream == nullptr) return E_INVALIDARG;
  *Stream = nullptr;
  auto data = std::make_shared<THGlobalData>();
  if (Mem == nullptr) {
    Mem = GlobalAlloc(GMEM_MOVEABLE, 0);
    if (Mem == nullptr) return E_OUTOFMEMORY;
    data->size = 0;
  } else {
    std::lock_guard<std::mutex> lock(TableLock());
    TGlobalBlock* b = Find(Mem);
    if (b == nullptr) return E_INVALIDARG;
    data->size = b->bytes.size();
  }
  data->mem = Mem;
  data->deleteOnRelease = DeleteOnRelease != FALSE;
  *Stream = new THGlobalStream(std::move(data));
  return S_OK;
}

HRESULT GetHGlobalFromStream(IStream* Stream, HGLOBAL* Mem) {
  if (Mem == nullptr) return E_INVALIDARG;
  *Mem = nullptr;
  auto* s = dynamic_cast<THGlobalStream*>(Stream);
  if (s == nullptr) return E_INVALIDARG;
  *Mem = s->Block();
  return S_OK;
}

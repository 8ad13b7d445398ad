// Global memory blocks and the streams over them.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/win/Ole.h"

namespace {

// Releases a COM reference at the end of the scope.
template <typename T>
struct TRef {
  T* p = nullptr;
  ~TRef() { if (p) p->Release(); }
  T* operator->() const { return p; }
};

std::string ReadAll(IStream* s) {
  std::string out;
  char buf[7];
  ULONG got = 0;
  while (SUCCEEDED(s->Read(buf, sizeof buf, &got)) && got > 0) out.append(buf, got);
  return out;
}

}  // namespace

TEST(OleGlobalMemory, BlocksAreZeroedLockedCountedAndRefusedOnceFreed) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, 16);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(GlobalSize(h), 16u);
  auto* p = static_cast<uint8_t*>(GlobalLock(h));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(p), 16), std::string(16, '\0'));
  std::memcpy(p, "abcd", 4);
  EXPECT_EQ(GlobalLock(h), p);
  EXPECT_EQ(GlobalUnlock(h), TRUE);   // still locked once
  // A locked block keeps its address: it cannot be resized under its holder.
  EXPECT_EQ(GlobalReAlloc(h, 64, GMEM_MOVEABLE), nullptr);
  EXPECT_EQ(GlobalUnlock(h), FALSE);
  EXPECT_EQ(GlobalUnlock(h), FALSE);  // not locked at all
  ASSERT_EQ(GlobalReAlloc(h, 64, GMEM_MOVEABLE), h);
  EXPECT_EQ(GlobalSize(h), 64u);
  EXPECT_EQ(std::memcmp(GlobalLock(h), "abcd", 4), 0);
  GlobalUnlock(h);
  EXPECT_EQ(GlobalFree(h), nullptr);
  // Freed and made-up handles are refused, not followed.
  EXPECT_EQ(GlobalLock(h), nullptr);
  EXPECT_EQ(GlobalSize(h), 0u);
  EXPECT_EQ(GlobalFree(h), h);
  int local = 0;
  EXPECT_EQ(GlobalLock(&local), nullptr);
  // An empty block is a block, and a size no memory can hold is refused.
  HGLOBAL empty = GlobalAlloc(GMEM_MOVEABLE, 0);
  EXPECT_NE(GlobalLock(empty), nullptr);
  GlobalUnlock(empty);
  GlobalFree(empty);
  EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, SIZE_MAX / 2), nullptr);
  EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, (SIZE_T(1) << 32) + 1), nullptr);
}

TEST(OleStream, ReadWriteSeekAndGrowOverTheBlock) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 4);
  std::memcpy(GlobalLock(h), "WXYZ", 4);
  GlobalUnlock(h);
  TRef<IStream> s;
  ASSERT_EQ(CreateStreamOnHGlobal(h, TRUE, &s.p), S_OK);
  HGLOBAL under = nullptr;
  EXPECT_EQ(GetHGlobalFromStream(s.p, &under), S_OK);
  EXPECT_EQ(under, h);

  STATSTG st;
  ASSERT_EQ(s->Stat(&st, STATFLAG_NONAME), S_OK);
  EXPECT_EQ(st.cbSize, 4u);
  EXPECT_EQ(st.type, STGTY_STREAM);
  EXPECT_EQ(ReadAll(s.p), "WXYZ");

  ULONG n = 0;
  ASSERT_EQ(s->Write("0123456789", 10, &n), S_OK);  // past the end: the block grows
  EXPECT_EQ(n, 10u);
  EXPECT_GE(GlobalSize(h), 14u);
  ULARGE_INTEGER pos = 0;
  struct Case {
    LARGE_INTEGER move;
    DWORD origin;
    HRESULT hr;
    ULARGE_INTEGER pos;
  };
  for (const Case& c : {Case{2, STREAM_SEEK_SET, S_OK, 2}, Case{3, STREAM_SEEK_CUR, S_OK, 5},
                        Case{-1, STREAM_SEEK_END, S_OK, 13}, Case{-20, STREAM_SEEK_CUR, STG_E_INVALIDFUNCTION, 13},
                        Case{0, 7, STG_E_INVALIDFUNCTION, 13}, Case{INT64_MAX, STREAM_SEEK_END, STG_E_INVALIDFUNCTION, 13},
                        Case{100, STREAM_SEEK_SET, S_OK, 100}}) {
    EXPECT_EQ(s->Seek(c.move, c.origin, &pos), c.hr) << c.move;
    ULARGE_INTEGER now = 0;
    s->Seek(0, STREAM_SEEK_CUR, &now);
    EXPECT_EQ(now, c.pos) << c.move;
  }
  char b[4];
  ASSERT_EQ(s->Read(b, 4, &n), S_OK);  // past the end: nothing
  EXPECT_EQ(n, 0u);

  s->Seek(0, STREAM_SEEK_SET, nullptr);
  EXPECT_EQ(ReadAll(s.p), "WXYZ0123456789");
  ASSERT_EQ(s->SetSize(6), S_OK);
  s->Seek(0, STREAM_SEEK_SET, nullptr);
  EXPECT_EQ(ReadAll(s.p), "WXYZ01");

  // A clone reads the same bytes from its own position; the block lives while either does.
  s->Seek(2, STREAM_SEEK_SET, nullptr);
  TRef<IStream> c;
  ASSERT_EQ(s->Clone(&c.p), S_OK);
  s->Release();
  s.p = nullptr;
  EXPECT_EQ(ReadAll(c.p), "YZ01");
  EXPECT_NE(GlobalLock(h), nullptr);
  GlobalUnlock(h);
  c->Release();
  c.p = nullptr;
  EXPECT_EQ(GlobalLock(h), nullptr);  // freed with the last stream
}

TEST(OleStream, NewBlocksCopyToInterfacesAndRefusals) {
  TRef<IStream> a, b;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &a.p), S_OK);
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &b.p), S_OK);
  std::string big(200000, 'q');
  big[199999] = 'e';
  ASSERT_EQ(a->Write(big.data(), ULONG(big.size()), nullptr), S_OK);
  a->Seek(0, STREAM_SEEK_SET, nullptr);
  ULARGE_INTEGER copied = 0, stored = 0;
  ASSERT_EQ(a->CopyTo(b.p, 1u << 30, &copied, &stored), S_OK);
  EXPECT_EQ(copied, big.size());
  EXPECT_EQ(stored, big.size());
  b->Seek(0, STREAM_SEEK_SET, nullptr);
  EXPECT_EQ(ReadAll(b.p), big);

  void* unk = nullptr;
  ASSERT_EQ(a->QueryInterface(IID_IUnknown, &unk), S_OK);
  static_cast<IUnknown*>(unk)->Release();
  EXPECT_EQ(a->QueryInterface(IID_IPicture, &unk), E_NOINTERFACE);
  EXPECT_EQ(unk, nullptr);

  int local = 0;
  IStream* none = nullptr;
  EXPECT_EQ(CreateStreamOnHGlobal(&local, TRUE, &none), E_INVALIDARG);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, nullptr), E_INVALIDARG);
  EXPECT_EQ(a->Write(nullptr, 4, nullptr), STG_E_INVALIDPOINTER);
  EXPECT_EQ(a->Stat(nullptr, 0), STG_E_INVALIDPOINTER);
  EXPECT_EQ(a->LockRegion(0, 1, 0), STG_E_INVALIDFUNCTION);

  // A block locked by someone else cannot grow under them.
  HGLOBAL h = nullptr;
  GetHGlobalFromStream(a.p, &h);
  GlobalLock(h);
  a->Seek(0, STREAM_SEEK_END, nullptr);
  ULONG n = 9;
  EXPECT_EQ(a->Write("x", 1, &n), E_OUTOFMEMORY);
  EXPECT_EQ(n, 0u);
  GlobalUnlock(h);
  EXPECT_EQ(a->Write("x", 1, &n), S_OK);
}

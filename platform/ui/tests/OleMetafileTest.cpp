// The OLE picture loader reading metafiles through the class library's metafile reader.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/ui/Metafile.h"
#include "platform/win/Ole.h"
#include "testing/MemorySurface.h"

namespace {

HRESULT Load(const std::string& bytes, IPicture** picture) {
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  std::copy(bytes.begin(), bytes.end(), static_cast<char*>(GlobalLock(mem)));
  GlobalUnlock(mem);
  IStream* stream = nullptr;
  CreateStreamOnHGlobal(mem, TRUE, &stream);
  HRESULT hr = OleLoadPicture(stream, LONG(bytes.size()), FALSE, IID_IPicture, reinterpret_cast<void**>(picture));
  stream->Release();
  return hr;
}

struct TPictureRef {
  IPicture* p = nullptr;
  ~TPictureRef() { if (p) p->Release(); }
};

}  // namespace

TEST(OleMetafile, MetafilesPlayThroughTheClassLibrarysReader) {
  RegisterMetafileFormats();
  for (bool enhanced : {true, false}) {
    SCOPED_TRACE(enhanced ? "EMF" : "WMF");
    TMetafile meta;
    meta.SetWidth(40);
    meta.SetHeight(20);
    {
      TMetafileCanvas canvas(&meta, nullptr);
      canvas.Brush()->SetColor(clRed);
      canvas.FillRect(TRect(0, 0, 40, 10));
      canvas.Brush()->SetColor(clBlue);
      canvas.FillRect(TRect(0, 10, 40, 20));
    }
    meta.SetEnhanced(enhanced);
    TMemoryStream ms;
    meta.SaveToStream(&ms);
    TPictureRef pic;
    ASSERT_EQ(Load(std::string(static_cast<const char*>(ms.Memory()), size_t(ms.Size())), &pic.p), S_OK);
    short type = 0;
    pic.p->get_Type(&type);
    EXPECT_EQ(type, enhanced ? PICTYPE_ENHMETAFILE : PICTYPE_METAFILE);
    OLE_XSIZE_HIMETRIC hw = 0;
    OLE_YSIZE_HIMETRIC hh = 0;
    pic.p->get_Width(&hw);
    pic.p->get_Height(&hh);
    EXPECT_EQ(MulDiv(hw, 96, 2540), 40);
    EXPECT_EQ(MulDiv(hh, 96, 2540), 20);
    TMemorySurface s(100, 60);
    ASSERT_EQ(pic.p->Render(s.dc, 10, 10, 80, 40, 0, hh, hw, -hh, nullptr), S_OK);
    EXPECT_EQ(s.At(50, 15), RGB(255, 0, 0));
    EXPECT_EQ(s.At(50, 45), RGB(0, 0, 255));
    EXPECT_EQ(s.At(50, 5), RGB(255, 255, 255));
    EXPECT_EQ(s.At(50, 55), RGB(255, 255, 255));
  }
  // Damaged metafile data is refused.
  IPicture* bad = nullptr;
  EXPECT_EQ(Load(std::string("\xD7\xCD\xC6\x9A", 4) + std::string(60, '\x7F'), &bad), CTL_E_INVALIDPICTURE);
}

// Pictures of the chart: bitmap, metafiles and JPEG files, the clipboard and the printer.
#include <algorithm>
#include <cmath>

#include "platform/chart/Chart.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Jpeg.h"
#include "platform/ui/Metafile.h"
#include "platform/ui/Printers.h"

namespace {

// The picture size: the control's, or a usable default for a chart never laid out.
TRect PictureRect(const TChart* c) {
  int w = c->Width() > 0 ? c->Width() : 400;
  int h = c->Height() > 0 ? c->Height() : 250;
  return TRect(0, 0, w, h);
}

// A picture file is encoded in memory and then replaces the file whole: a failing write (a
// full disk, a read-only folder) leaves an existing file as it was.
void SaveGraphic(TGraphic& G, const String& FileName) {
  TMemoryStream data;
  G.SaveToStream(&data);
  SaveFileReplacing(FileName, data.Memory(), static_cast<size_t>(data.Size()));
}

}  // namespace

void TChart::RenderMetafile(TMetafile& M) {
  TRect r = PictureRect(this);
  M.SetWidth(r.Width());
  M.SetHeight(r.Height());
  TMetafileCanvas canvas(&M, nullptr);
  Draw(&canvas, r);
}

void TChart::SaveToBitmapFile(const String& FileName) {
  TRect r = PictureRect(this);
  TBitmap bmp(r.Width(), r.Height());
  bmp.SetPixelFormat(pf24bit);
  Draw(bmp.Canvas(), r);
  SaveGraphic(bmp, FileName);
}

void TChart::SaveToMetafile(const String& FileName) {
  TMetafile m;
  RenderMetafile(m);
  m.SetEnhanced(false);
  SaveGraphic(m, FileName);
}

void TChart::SaveToMetafileEnh(const String& FileName) {
  TMetafile m;
  RenderMetafile(m);
  m.SetEnhanced(true);
  SaveGraphic(m, FileName);
}

void TChart::SaveToJPEGFile(const String& FileName, int Quality) {
  TRect r = PictureRect(this);
  TBitmap bmp(r.Width(), r.Height());
  Draw(bmp.Canvas(), r);
  TJPEGImage jpeg;
  jpeg.SetCompressionQuality(Quality);
  jpeg.SetProgressiveEncoding(false);
  jpeg.Assign(&bmp);
  SaveGraphic(jpeg, FileName);
}

void TChart::CopyToClipboardBitmap() {
  TRect r = PictureRect(this);
  TBitmap bmp(r.Width(), r.Height());
  Draw(bmp.Canvas(), r);
  Clipboard()->Assign(&bmp);
}

void TChart::CopyToClipboardMetafile(bool Enhanced) {
  TMetafile m;
  RenderMetafile(m);
  m.SetEnhanced(Enhanced);
  Clipboard()->Assign(&m);
}

void TChart::Print() {
  // Recorded at the control's size and played onto the page, so text and lines keep their
  // proportions at the printer's resolution.
  TMetafile m;
  RenderMetafile(m);
  TPrinter* printer = Printer();
  printer->BeginDoc();
  // A page that fails is not left half-printed.
  TScopeGuard abortPage([&] {
    if (printer->Printing()) printer->Abort();
  });
  const int pw = printer->PageWidth(), ph = printer->PageHeight();
  const double scale = std::min(double(pw) / m.Width(), double(ph) / m.Height());
  const int w = int(std::lround(m.Width() * scale)), h = int(std::lround(m.Height() * scale));
  // Centred across the page, at its top.
  printer->Canvas()->StretchDraw(Bounds((pw - w) / 2, 0, w, h), &m);
  printer->EndDoc();
  abortPage.Dismiss();
}

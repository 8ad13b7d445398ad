// Images of tagged text (IMG) from an image list, the shell's icons, a picture container or
// the picture cache, and the page background (BODY BACKGROUND).
#include <algorithm>

#include "controls/HtmlTextRender_p.h"
#include "controls/PictureContainer.h"
#include "controls/VevAzez.h"
#include "platform/ui/ImgList.h"
#include "platform/win/Shell.h"

namespace {

bool Contains(const String& Up, const char16_t* Part) { return Up.find(Part) != String::npos; }

// The picture a container name (no ':') or a URL ("://") names; a URL is loaded into the cache
// once and found there on later calls.
THTMLPicture* FindPicture(const String& Source, TPictureContainer* Container, THTMLPictureCache* Cache) {
  THTMLPicture* Picture = nullptr;
  if (Source.find(u':') == String::npos && Container) Picture = Container->FindPicture(Source);
  if (Source.find(u"://") != String::npos && Cache) {
    if (!Cache->FindPicture(Source)) {
      THTMLPicture* New = Cache->AddPicture();
      New->SetAsynch(false);
      New->LoadFromURL(Source);
      // A source that loads nothing stays in the cache as an empty picture, found next time.
      if (New->ID() != Source) New->SetID(Source);
    }
    Picture = Cache->FindPicture(Source);
  }
  return Picture;
}

int Scaled(int64_t V, int Dpi) { return MulDiv(static_cast<int32_t>(std::clamp<int64_t>(V, 0, MaxItemExtent)), Dpi, 96); }

}  // namespace

void DrawShellIcon(TCanvas* Canvas, int32_t X, int32_t Y, TSize& Size, double Scale, bool Print, bool Draw, bool Large,
                   const String& Path) {
  Size = TSize(0, 0);
  int32_t Number = 0;
  // Icon numbers of another system's lists mean nothing here: no icon.
  if (TryStrToInt(Path, Number)) return;
  SHFILEINFOW Info;
  const DWORD Attributes = FILE_ATTRIBUTE_NORMAL;
  UINT Flags = SHGFI_SYSICONINDEX | (Large ? SHGFI_LARGEICON : SHGFI_SMALLICON);
  if (!FileExists(Path) && !DirectoryExists(Path)) Flags |= SHGFI_USEFILEATTRIBUTES;
  auto List = reinterpret_cast<HIMAGELIST>(SHGetFileInfo(Path.c_str(), Attributes, &Info, sizeof Info, Flags));
  int W = 0, H = 0;
  if (!ImageList_GetIconSize(List, &W, &H)) return;
  Size = TSize(W, H);
  if (!Draw || !Canvas) return;
  if (!Print) {
    ImageList_Draw(List, Info.iIcon, Canvas->Handle(), X, Y, ILD_TRANSPARENT);
    return;
  }
  TBitmap Bitmap(W, H);
  ImageList_Draw(List, Info.iIcon, Bitmap.Canvas()->Handle(), 0, 0, ILD_TRANSPARENT);
  Canvas->StretchDraw(TRect(X, Y, X + static_cast<int>(Round(W * Scale)), Y + static_cast<int>(Round(H * Scale))),
                      &Bitmap);
}

void THtmlRender::ImageTag(std::u16string_view Tag) {
  const int32_t Number = ++FImageCounter;
  // Sources keep their letter case: file names on this system depend on it.
  String Source = HtmlTagValue(Tag, u"SRC", true);
  if (UpperCase(String(Tag)).find(u"ALT") != String::npos && FHoveredImage == Number)
    Source = HtmlTagValue(Tag, u"ALT", true);
  const int32_t W = LeadingInt(HtmlTagValue(Tag, u"WIDTH", false));
  const int32_t H = LeadingInt(HtmlTagValue(Tag, u"HEIGHT", false));
  const String Up = UpperCase(Source);
  const int X = Coord(FX), Y = FLineRect.Top;
  HDC DC = C->Handle();
  const int DpiX = GetDeviceCaps(DC, LOGPIXELSX), DpiY = GetDeviceCaps(DC, LOGPIXELSY);
  TSize Size(0, 0);

  if (Contains(Up, u"IDX:") && A.Images) {
    const int32_t N = LeadingInt(Source.substr(std::min<size_t>(4, Source.size())));
    TCustomImageList* L = A.Images;
    if (N >= 0 && N < L->Count()) {
      Size = TSize(MulDiv(L->Width(), DpiX, 96), MulDiv(L->Height(), DpiY, 96));
      if (Painting() && !A.PrintMode) {
        L->Draw(C, X, Y, N, true);
      } else if (Painting()) {
        TBitmap Bitmap;
        L->GetBitmap(N, &Bitmap);
        C->StretchDraw(TRect(X, Y, X + static_cast<int>(Round(L->Width() * A.PrintScale)),
                             Y + static_cast<int>(Round(L->Height() * A.PrintScale))),
                       &Bitmap);
      }
    }
  }
  if (Contains(Up, u"SSYS:") || Contains(Up, u"LSYS:")) {
    TSize Icon;
    DrawShellIcon(C, X, Y, Icon, A.PrintScale, A.PrintMode, Painting(), Contains(Up, u"LSYS:"),
                  Source.substr(std::min<size_t>(5, Source.size())));
    Size = TSize(MulDiv(Icon.cx, DpiX, 96), MulDiv(Icon.cy, DpiY, 96));
  }

  THTMLPicture* Picture = FindPicture(Source, A.PicContainer, A.PictureCache);
  if (Picture && !Picture->Empty()) {
    const int PW = Picture->Width(), PH = Picture->Height();
    int64_t DW = PW, DH = PH;
    if (W > 0 && H > 0) {
      DW = W;
      DH = H;
    } else if (W > 0) {
      DW = W;
      DH = PW > 0 ? Round(static_cast<double>(PH) * W / PW) : 0;
    } else if (H > 0) {
      DH = H;
      DW = PH > 0 ? Round(static_cast<double>(PW) * H / PH) : 0;
    }
    DW = std::clamp<int64_t>(DW, 0, MaxItemExtent);
    DH = std::clamp<int64_t>(DH, 0, MaxItemExtent);
    const bool Sized = W > 0 || H > 0;
    if (Painting() && Sized) {
      Picture->SetStretch(true);
      C->StretchDraw(TRect(X, Y, X + static_cast<int>(DW), Y + static_cast<int>(DH)), Picture);
    } else if (Painting()) {
      if (Picture->FrameCount() > 1) {
        // The largest frame's area in the background colour, under the current frame.
        const TColor Pen = C->Pen()->Color();
        const TColor Brush = BrushColorOrNone();
        FillBand(TRect(X, Y, X + Picture->MaxWidth(), Y + Picture->MaxHeight()), FBrushColor);
        C->Pen()->SetColor(Pen);
        SetBrushColor(C, Brush);
      }
      C->Draw(X + Picture->FrameXPos(), Y + Picture->FrameYPos(), Picture);
    }
    Size = Sized ? TSize(Scaled(DW, DpiX), Scaled(DH, DpiY))
                 : TSize(Scaled(Picture->MaxWidth(), DpiX), Scaled(Picture->MaxHeight(), DpiY));
  }

  Size.cx = std::clamp(Size.cx, 0, MaxItemExtent);
  Size.cy = std::clamp(Size.cy, 0, MaxItemExtent);
  const int64_t Offset = FLineWidth;
  if (!FitItem(Size.cx, Size.cy)) {
    --FImageCounter;  // counted again on the next line
    return;
  }
  const int64_t X1 = OffsetX();
  if (Offset < X1 && X1 < Offset + Size.cx && FLineRect.Top < A.HitY && A.HitY < FLineRect.Top + Size.cy &&
      FAnchor.Open) {
    FItemHit = true;
    A.HitHref = FAnchor.Href;
    A.HitTitle = FAnchor.Title;
    FHoveredImage = Number;
  }

  const String Align = HtmlTagValue(Tag, u"ALIGN", false);
  if (Align.starts_with(u"TOP"))
    FBaseline = FLineHeight - FontHeight();
  else if (Align.starts_with(u"MIDDLE"))
    FBaseline = (FLineHeight - FontHeight()) / 2;
}

void THtmlRender::BodyBackground(const String& Source) {
  THTMLPicture* Picture = FindPicture(Source, A.PicContainer, A.PictureCache);
  if (!Picture || Picture->Empty()) return;
  const int PW = Picture->Width(), PH = Picture->Height();
  if (PW <= 0 || PH <= 0) return;
  HDC DC = C->Handle();
  // The caller's clipping comes back afterwards.
  HRGN Saved = CreateRectRgn(0, 0, 0, 0);
  const bool HadClip = GetClipRgn(DC, Saved) == 1;
  HRGN Clip = CreateRectRgn(A.Rect.Left, A.Rect.Top, A.Rect.Right, A.Rect.Bottom);
  SelectClipRgn(DC, Clip);
  // Only the tiles that show are drawn.
  TRect Visible;
  if (IntersectRect(&Visible, &A.Rect, &FClip)) {
    const int64_t I0 = (static_cast<int64_t>(Visible.Left) - A.Rect.Left) / PW;
    const int64_t J0 = (static_cast<int64_t>(Visible.Top) - A.Rect.Top) / PH;
    for (int64_t Y = A.Rect.Top + J0 * PH; Y < Visible.Bottom; Y += PH)
      for (int64_t X = A.Rect.Left + I0 * PW; X < Visible.Right; X += PW)
        C->Draw(static_cast<int>(X), static_cast<int>(Y), Picture);
  }
  SelectClipRgn(DC, HadClip ? Saved : nullptr);
  DeleteObject(Clip);
  DeleteObject(Saved);
}

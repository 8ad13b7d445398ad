#pragma once
// Colours, fonts, pens, brushes, the canvas over a device context, and the picture classes
// (graphic, bitmap, icon, picture holder with its registry of file formats).

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/System.h"
#include "platform/rtl/Types.h"
#include "platform/win/Gdi.h"

// ---- colours: 0x00BBGGRR; system colours have the high byte 0xFF and the colour index below ----
using TColor = int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;

constexpr TColor SysColor(int index) { return static_cast<TColor>(0xFF000000u | static_cast<uint32_t>(index)); }
constexpr TColor clScrollBar = SysColor(COLOR_SCROLLBAR);
constexpr TColor clBackground = SysColor(COLOR_BACKGROUND);
constexpr TColor clActiveCaption = SysColor(COLOR_ACTIVECAPTION);
constexpr TColor clInactiveCaption = SysColor(COLOR_INACTIVECAPTION);
constexpr TColor clMenu = SysColor(COLOR_MENU);
constexpr TColor clWindow = SysColor(COLOR_WINDOW);
constexpr TColor clWindowFrame = SysColor(COLOR_WINDOWFRAME);
constexpr TColor clMenuText = SysColor(COLOR_MENUTEXT);
constexpr TColor clWindowText = SysColor(COLOR_WINDOWTEXT);
constexpr TColor clCaptionText = SysColor(COLOR_CAPTIONTEXT);
constexpr TColor clActiveBorder = SysColor(COLOR_ACTIVEBORDER);
constexpr TColor clInactiveBorder = SysColor(COLOR_INACTIVEBORDER);
constexpr TColor clAppWorkSpace = SysColor(COLOR_APPWORKSPACE);
constexpr TColor clHighlight = SysColor(COLOR_HIGHLIGHT);
constexpr TColor clHighlightText = SysColor(COLOR_HIGHLIGHTTEXT);
constexpr TColor clBtnFace = SysColor(COLOR_BTNFACE);
constexpr TColor clBtnShadow = SysColor(COLOR_BTNSHADOW);
constexpr TColor clGrayText = SysColor(COLOR_GRAYTEXT);
constexpr TColor clBtnText = SysColor(COLOR_BTNTEXT);
constexpr TColor clInactiveCaptionText = SysColor(COLOR_INACTIVECAPTIONTEXT);
constexpr TColor clBtnHighlight = SysColor(COLOR_BTNHIGHLIGHT);
constexpr TColor cl3DDkShadow = SysColor(COLOR_3DDKSHADOW);
constexpr TColor cl3DLight = SysColor(COLOR_3DLIGHT);
constexpr TColor clInfoText = SysColor(COLOR_INFOTEXT);
constexpr TColor clInfoBk = SysColor(COLOR_INFOBK);
constexpr TColor clHotLight = SysColor(COLOR_HOTLIGHT);
constexpr TColor clGradientActiveCaption = SysColor(COLOR_GRADIENTACTIVECAPTION);
constexpr TColor clGradientInactiveCaption = SysColor(COLOR_GRADIENTINACTIVECAPTION);
constexpr TColor clMenuHighlight = SysColor(COLOR_MENUHILIGHT);
constexpr TColor clMenuBar = SysColor(COLOR_MENUBAR);
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// The RGB value of a colour: system colours resolved through the palette; clNone gives white
// and clDefault black (what they stand for when something must be drawn).
int32_t ColorToRGB(TColor Color);
// The class library's colour names ("clBlack" .. "clWindowText"): the first name of a value
// in the library's lookup order, and the value of a name (case-insensitive). False when none.
bool ColorToIdent(TColor Color, String& Ident);
bool IdentToColor(const String& Ident, TColor& Color);

// ---- fonts, pens, brushes ----
enum TFontStyle : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = Set<TFontStyle>;
enum TFontPitch : uint8_t { fpDefault, fpVariable, fpFixed };
using TFontCharset = uint8_t;
using TFontName = String;

enum TPenStyle : uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode : uint8_t {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
  pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
enum TBrushStyle : uint8_t { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBitmap;
class TCanvas;
class TGraphic;

// Base of fonts, pens and brushes: OnChange fires after every change of a property.
class TGraphicsObject : public TPersistent {
public:
  String ClassName() const override { return u"TGraphicsObject"; }
  TNotifyEvent OnChange;

protected:
  virtual void Changed();
};

class TFont : public TGraphicsObject {
public:
  TFont();
  ~TFont() override;
  String ClassName() const override { return u"TFont"; }
  void Assign(TPersistent* Source) override;

  // The GDI font of the current properties (owned by the font; recreated after changes).
  HFONT Handle();
  // Takes the properties of an existing font handle (the handle stays the caller's).
  void SetHandle(HFONT Value);

  const String& Name() const { return FName; }
  void SetName(const String& Value);
  // Points at PixelsPerInch (96): Height = -MulDiv(Size, 96, 72).
  int Size() const;
  void SetSize(int Value);
  // Pixels; negative = character height, positive = cell height.
  int Height() const { return FHeight; }
  void SetHeight(int Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  const TFontStyles& Style() const { return FStyle; }
  void SetStyle(const TFontStyles& Value);
  TFontCharset Charset() const { return FCharset; }
  void SetCharset(TFontCharset Value);
  TFontPitch Pitch() const { return FPitch; }
  void SetPitch(TFontPitch Value);
  // Tenths of a degree, counter-clockwise.
  int Orientation() const { return FOrientation; }
  void SetOrientation(int Value);
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int Value) { FPixelsPerInch = Value > 0 ? Value : 96; }

protected:
  void Changed() override;

private:
  String FName = u"MS Sans Serif";
  int FHeight = -11;
  TColor FColor = clWindowText;
  TFontStyles FStyle;
  TFontCharset FCharset = DEFAULT_CHARSET;
  TFontPitch FPitch = fpDefault;
  int FOrientation = 0;
  int FPixelsPerInch = 96;
  HFONT FHandle = nullptr;
};

class TPen : public TGraphicsObject {
public:
  TPen() = default;
  ~TPen() override;
  String ClassName() const override { return u"TPen"; }
  void Assign(TPersistent* Source) override;

  HPEN Handle();
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode Value);

protected:
  void Changed() override;

private:
  TColor FColor = clBlack;
  int FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
  HPEN FHandle = nullptr;
};

class TBrush : public TGraphicsObject {
public:
  TBrush() = default;
  ~TBrush() override;
  String ClassName() const override { return u"TBrush"; }
  void Assign(TPersistent* Source) override;

  HBRUSH Handle();
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);  // a clear brush becomes solid
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle Value);
  // A pattern bitmap (not owned; nullptr for none). While set it decides the brush.
  TBitmap* Bitmap() const { return FBitmap; }
  void SetBitmap(TBitmap* Value);

protected:
  void Changed() override;

private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
  TBitmap* FBitmap = nullptr;
  HBRUSH FHandle = nullptr;
};

// ---- canvas ----
enum TFillStyle : uint8_t { fsSurface, fsBorder };
enum TCanvasState : uint8_t { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasStates = Set<TCanvasState>;
using TCopyMode = DWORD;
enum TTextFormats : uint8_t {
  tfBottom, tfCalcRect, tfCenter, tfEditControl, tfEndEllipsis, tfPathEllipsis, tfExpandTabs,
  tfExternalLeading, tfLeft, tfModifyString, tfNoClip, tfNoPrefix, tfRight, tfRtlReading,
  tfSingleLine, tfTop, tfVerticalCenter, tfWordBreak
};
using TTextFormat = Set<TTextFormats>;

// Drawing with a pen, a brush and a font on a device context. Every drawing call selects the
// current pen, brush and font; text uses the brush colour as its background (transparent with
// a clear brush).
class TCanvas : public TPersistent {
public:
  TCanvas();
  ~TCanvas() override;
  String ClassName() const override { return u"TCanvas"; }

  // The device context (created through CreateHandle when there is none).
  HDC Handle();
  // Draws on dc from now on (not owned); nullptr detaches.
  void SetHandle(HDC Value);
  bool HandleAllocated() const { return FHandle != nullptr; }

  TPen* Pen() { return &FPen; }
  void SetPen(TPen* Value) { FPen.Assign(Value); }
  TBrush* Brush() { return &FBrush; }
  void SetBrush(TBrush* Value) { FBrush.Assign(Value); }
  TFont* Font() { return &FFont; }
  void SetFont(TFont* Value) { FFont.Assign(Value); }
  TCopyMode CopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }
  TPoint PenPos();
  void SetPenPos(const TPoint& Value) { MoveTo(Value.X, Value.Y); }
  // The DC_ flags (ETO_OPAQUE, ETO_CLIPPED) TextOut and TextRect pass to ExtTextOut.
  int TextFlags() const { return FTextFlags; }
  void SetTextFlags(int Value) { FTextFlags = Value; }
  // The visible part of the canvas in logical coordinates.
  TRect ClipRect();

  void MoveTo(int X, int Y);
  void LineTo(int X, int Y);
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void Rectangle(const TRect& Rect) { Rectangle(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }
  void FillRect(const TRect& Rect);
  void FrameRect(const TRect& Rect);
  void Ellipse(int X1, int Y1, int X2, int Y2);
  void Ellipse(const TRect& Rect) { Ellipse(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }
  void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
  void Polygon(const TPoint* Points, int Count);
  void Polygon(const std::vector<TPoint>& Points) { Polygon(Points.data(), static_cast<int>(Points.size())); }
  void Polyline(const TPoint* Points, int Count);
  void Polyline(const std::vector<TPoint>& Points) { Polyline(Points.data(), static_cast<int>(Points.size())); }
  // Counter-clockwise from the radial through (X3, Y3) to the one through (X4, Y4).
  void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle);
  void DrawFocusRect(const TRect& Rect);

  void TextOut(int X, int Y, const String& Text);
  // Draws the text at (X, Y) clipped to Rect, which is filled with the brush first (unless clear).
  void TextRect(const TRect& Rect, int X, int Y, const String& Text);
  // Draws the text in Rect with DrawText's layout; tfCalcRect only measures (Rect grows to fit).
  void TextRect(TRect& Rect, String& Text, const TTextFormat& TextFormat);
  TSize TextExtent(const String& Text);
  int TextWidth(const String& Text) { return TextExtent(Text).cx; }
  // A line's height is its font's whatever its characters: the text is not laid out for it.
  int TextHeight(const String&) { return TextExtent(String()).cy; }

  void Draw(int X, int Y, TGraphic* Graphic);
  void StretchDraw(const TRect& Rect, TGraphic* Graphic);
  // Copies Source's Source rectangle into Dest with CopyMode.
  void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);
  // Copies the bitmap's Source rectangle into Dest, the pixels of Color replaced by the brush colour.
  void BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color);

  // Pixels[X, Y]: -1 (as a colour) outside the canvas.
  TColor Pixels(int X, int Y);
  void SetPixels(int X, int Y, TColor Value);

  void Lock();
  bool TryLock();
  void Unlock();
  int LockCount() const { return FLockCount; }
  // Deselects the pen, brush and font, so that they are selected anew on the next drawing.
  void Refresh();

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

protected:
  // Called when the handle is needed and there is none; subclasses create their DC here.
  virtual void CreateHandle() {}
  // Selects pen, brush and font and sets the text colours before drawing.
  void RequiredState(const TCanvasStates& ReqState);
  virtual void Changing();
  virtual void Changed();
  // Detaches and deletes nothing; subclasses owning their DC delete it after calling this.
  void DeselectHandles();

private:
  HDC FHandle = nullptr;
  TCanvasStates FState;
  TFont FFont;
  TPen FPen;
  TBrush FBrush;
  TCopyMode FCopyMode = SRCCOPY;
  int FTextFlags = 0;
  std::recursive_mutex FLock;
  int FLockCount = 0;
};

// ---- graphics ----
RTL_EXCEPTION(EInvalidGraphic, Exception);
RTL_EXCEPTION(EInvalidGraphicOperation, Exception);

// Largest picture decoded: 64 megapixels (8192 x 8192, 256 MiB as 32-bit pixels). A file that
// declares more is refused with EInvalidGraphic before any decoding, since its header alone
// would make the decoder take that memory and time.
constexpr int64_t MaxPicturePixels = int64_t(8192) * 8192;
// Largest picture file or stream read: the largest picture's pixels stored uncompressed, and
// room for its headers and colour tables.
constexpr int64_t MaxPictureFileSize = MaxPicturePixels * 4 + 1024 * 1024;

class TGraphic : public TPersistent {
public:
  String ClassName() const override { return u"TGraphic"; }

  virtual bool Empty() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetWidth(int Value) = 0;
  virtual void SetHeight(int Value) = 0;
  virtual bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool Value);
  bool Modified() const { return FModified; }
  void SetModified(bool Value);

  // Draws the graphic stretched onto Rect of the canvas.
  virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;

  // Only regular files of at most MaxPictureFileSize bytes are read: a missing or unreadable
  // file, a FIFO, a device or a larger file raises EFOpenError; saving raises EFCreateError.
  // Content that cannot be decoded raises EInvalidGraphic and leaves the graphic unchanged.
  virtual void LoadFromFile(const String& FileName);
  virtual void SaveToFile(const String& FileName);
  virtual void LoadFromStream(TStream* Stream) = 0;
  virtual void SaveToStream(TStream* Stream) = 0;

  TNotifyEvent OnChange;

protected:
  virtual void Changed();

private:
  bool FTransparent = false;
  bool FModified = false;
};

using TGraphicClass = std::function<std::unique_ptr<TGraphic>()>;

enum TPixelFormat : uint8_t { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode : uint8_t { tmAuto, tmFixed };

// A bitmap in memory (32 bits per pixel whatever PixelFormat says); BMP files on disk.
class TBitmap : public TGraphic {
public:
  TBitmap();
  TBitmap(int AWidth, int AHeight);
  ~TBitmap() override;
  String ClassName() const override { return u"TBitmap"; }
  void Assign(TPersistent* Source) override;

  bool Empty() const override;
  int Width() const override;
  int Height() const override;
  void SetWidth(int Value) override { SetSize(Value, Height()); }
  void SetHeight(int Value) override { SetSize(Width(), Value); }
  // Keeps the pixels that stay inside; new pixels are white.
  void SetSize(int AWidth, int AHeight);

  TCanvas* Canvas();
  // The GDI bitmap. The canvas lets go of it, so it can be selected into another DC.
  HBITMAP Handle();
  bool Monochrome() const { return FMonochrome; }
  void SetMonochrome(bool Value);
  TPixelFormat PixelFormat() const { return FPixelFormat; }
  void SetPixelFormat(TPixelFormat Value);
  // With tmAuto the transparent colour is the bottom-left pixel's.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor Value);
  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode Value);
  // A row of 32-bit pixels (0xAARRGGBB in memory order B, G, R, A).
  void* ScanLine(int Row);

  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;

protected:
  void Changed() override;

private:
  friend struct TBitmapAccess;
  void ReleaseCanvas();
  HBITMAP FImage = nullptr;  // owned; always a bitmap object
  // The size asked for while one side is still 0 (no image yet), so that setting the
  // width and then the height gives a bitmap of both.
  int FEmptyWidth = 0;
  int FEmptyHeight = 0;
  std::unique_ptr<TCanvas> FCanvas;
  bool FMonochrome = false;
  TPixelFormat FPixelFormat = pfDevice;
  TColor FTransparentColor = clDefault;
  TTransparentMode FTransparentMode = tmAuto;
};

// A bitmap read from and written to PNG files; a translucent picture is laid over white.
class TPngImage : public TBitmap {
public:
  String ClassName() const override { return u"TPngImage"; }
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
};

// An icon: an image with transparency, read from and written to .ico files.
class TIcon : public TGraphic {
public:
  TIcon();
  ~TIcon() override;
  String ClassName() const override { return u"TIcon"; }
  void Assign(TPersistent* Source) override;

  bool Empty() const override;
  int Width() const override;
  int Height() const override;
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;
  bool Transparent() const override { return true; }
  HICON Handle() const { return FHandle; }

  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;

private:
  friend struct TBitmapAccess;
  HICON FHandle = nullptr;  // owned
  int FWidth = 0;
  int FHeight = 0;
};

// Holds one graphic of any registered kind.
class TPicture : public TPersistent {
public:
  TPicture();
  ~TPicture() override;
  String ClassName() const override { return u"TPicture"; }
  // Copies a picture or a graphic (nullptr clears).
  void Assign(TPersistent* Source) override;

  TGraphic* Graphic() const { return FGraphic.get(); }
  // Holds a copy of Value (nullptr clears).
  void SetGraphic(TGraphic* Value);
  // The graphic as a bitmap: a graphic of another kind is replaced by an empty bitmap.
  TBitmap* Bitmap();
  void SetBitmap(TBitmap* Value) { SetGraphic(Value); }
  TIcon* Icon();
  void SetIcon(TIcon* Value) { SetGraphic(Value); }
  int Width() const { return FGraphic ? FGraphic->Width() : 0; }
  int Height() const { return FGraphic ? FGraphic->Height() : 0; }

  // The kind of graphic comes from the file extension; an unknown one raises EInvalidGraphic.
  void LoadFromFile(const String& FileName);
  // Raises EInvalidGraphicOperation when the picture is empty.
  void SaveToFile(const String& FileName);

  // Registers a graphic kind for a file extension (without the dot, any case).
  static void RegisterFileFormat(const String& Extension, const String& Description, TGraphicClass Factory);
  static void UnregisterFileFormat(const String& Extension);
  // "All (*.bmp;*.ico;...)|*.bmp;*.ico;...|Bitmaps (*.bmp)|*.bmp|..." for file dialogs.
  static String GraphicFilter();

  TNotifyEvent OnChange;

protected:
  virtual void Changed(TObject* Sender);

private:
  void Attach(std::unique_ptr<TGraphic> G);
  std::unique_ptr<TGraphic> FGraphic;
};

inline TBitmap* AsBitmap(TGraphic* G) { return dynamic_cast<TBitmap*>(G); }

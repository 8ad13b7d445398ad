// Enhanced metafile (EMF) writer and reader.
#include <algorithm>
#include <climits>

#include "platform/ui/MetafileBytes_p.h"

namespace metafile {

namespace {

enum : uint32_t {
  EMR_HEADER = 1, EMR_POLYGON = 3, EMR_POLYLINE = 4, EMR_EOF = 14, EMR_SETPIXELV = 15,
  EMR_SETBKMODE = 18, EMR_SETPOLYFILLMODE = 19, EMR_SETROP2 = 20, EMR_SETTEXTALIGN = 22,
  EMR_SETTEXTCOLOR = 24, EMR_SETBKCOLOR = 25, EMR_MOVETOEX = 27, EMR_INTERSECTCLIPRECT = 30,
  EMR_SAVEDC = 33, EMR_RESTOREDC = 34, EMR_SELECTOBJECT = 37, EMR_CREATEPEN = 38,
  EMR_CREATEBRUSHINDIRECT = 39, EMR_DELETEOBJECT = 40, EMR_ELLIPSE = 42, EMR_RECTANGLE = 43,
  EMR_LINETO = 54, EMR_EXTSELECTCLIPRGN = 75, EMR_STRETCHDIBITS = 81, EMR_EXTCREATEFONTINDIRECTW = 82,
  EMR_EXTTEXTOUTW = 84, EMR_POLYGON16 = 86, EMR_POLYLINE16 = 87, EMR_POLYPOLYGON16 = 91,
  EMR_POLYPOLYGON = 8,
};
constexpr uint32_t EmfSignature = 0x464D4520;  // " EMF"
constexpr uint32_t RGN_COPY = 5;
// The reference device: 96 dots per inch, so logical units are screen pixels.
constexpr int32_t DevicePx[2] = {1920, 1440};
constexpr int32_t DeviceMM[2] = {508, 381};

size_t BeginRecord(ByteWriter& w, uint32_t type) {
  size_t at = w.Size();
  w.U32(type);
  w.U32(0);
  return at;
}
void EndRecord(ByteWriter& w, size_t at) {
  w.PadTo(4);
  w.PatchU32(at + 4, uint32_t(w.Size() - at));
}

void WriteRect(ByteWriter& w, const Box& b) {
  w.I32(b.L);
  w.I32(b.T);
  w.I32(b.R);
  w.I32(b.B);
}

// Inclusive bounds of points, as the polygon records carry them.
Box PointBounds(const std::vector<QPoint>& pts) {
  if (pts.empty()) return Box{0, 0, -1, -1};
  Box b{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (const QPoint& p : pts) {
    b.L = std::min(b.L, p.x());
    b.T = std::min(b.T, p.y());
    b.R = std::max(b.R, p.x());
    b.B = std::max(b.B, p.y());
  }
  return b;
}

bool Fits16(const std::vector<QPoint>& pts) {
  return std::all_of(pts.begin(), pts.end(), [](const QPoint& p) {
    return p.x() >= -32768 && p.x() <= 32767 && p.y() >= -32768 && p.y() <= 32767;
  });
}

void WritePoly(ByteWriter& w, uint32_t type16, uint32_t type32, const std::vector<QPoint>& pts) {
  bool small = Fits16(pts);
  size_t at = BeginRecord(w, small ? type16 : type32);
  WriteRect(w, PointBounds(pts));
  w.U32(uint32_t(pts.size()));
  for (const QPoint& p : pts) {
    if (small) { w.I16(p.x()); w.I16(p.y()); }
    else { w.I32(p.x()); w.I32(p.y()); }
  }
  EndRecord(w, at);
}

void WriteLogFont(ByteWriter& w, const LogFont& f) {
  w.I32(f.Height);
  w.I32(f.Width);
  w.I32(f.Escapement);
  w.I32(f.Orientation);
  w.I32(f.Weight);
  for (uint8_t b : {f.Italic, f.Underline, f.StrikeOut, f.CharSet, f.OutPrecision, f.ClipPrecision, f.Quality,
                    f.PitchAndFamily})
    w.U8(b);
  for (size_t i = 0; i < 32; ++i) w.U16(i < 31 && i < f.FaceName.size() ? f.FaceName[i] : 0);
}

}  // namespace

std::string WriteEmf(const Picture& pic, const std::u16string& description) {
  ByteWriter w;
  uint32_t records = 0;
  uint32_t handles = 1;
  const Box& fr = pic.Frame;
  const int64_t mmW = pic.MMWidth > 0 ? pic.MMWidth : PixelsToHiMetric(int64_t(fr.R) - fr.L);
  const int64_t mmH = pic.MMHeight > 0 ? pic.MMHeight : PixelsToHiMetric(int64_t(fr.B) - fr.T);

  // Header; the byte, record and handle counts are filled in at the end.
  size_t hdr = BeginRecord(w, EMR_HEADER);
  WriteRect(w, Box{fr.L, fr.T, Saturate32(int64_t(fr.R) - 1), Saturate32(int64_t(fr.B) - 1)});
  const int32_t fl = PixelsToHiMetric(fr.L), ft = PixelsToHiMetric(fr.T);
  WriteRect(w, Box{fl, ft, Saturate32(fl + mmW - 1), Saturate32(ft + mmH - 1)});
  w.U32(EmfSignature);
  w.U32(0x10000);
  w.U32(0);  // bytes
  w.U32(0);  // records
  w.U16(0);  // handles
  w.U16(0);
  std::u16string desc = description;
  if (!desc.empty()) desc.append(2, u'\0');
  w.U32(uint32_t(desc.size()));
  w.U32(desc.empty() ? 0 : 108);
  w.U32(0);  // palette entries
  w.I32(DevicePx[0]);
  w.I32(DevicePx[1]);
  w.I32(DeviceMM[0]);
  w.I32(DeviceMM[1]);
  w.U32(0);  // no pixel format
  w.U32(0);
  w.U32(0);  // not OpenGL
  w.U32(uint32_t(DeviceMM[0]) * 1000);
  w.U32(uint32_t(DeviceMM[1]) * 1000);
  for (char16_t c : desc) w.U16(c);
  EndRecord(w, hdr);
  ++records;

  auto simple = [&](uint32_t type, uint32_t value) {
    size_t at = BeginRecord(w, type);
    w.U32(value);
    EndRecord(w, at);
  };

  for (const Op& op : pic.Ops) {
    ++records;
    switch (op.Kind) {
      case OpKind::CreatePen: {
        size_t at = BeginRecord(w, EMR_CREATEPEN);
        w.U32(uint32_t(op.Index));
        w.U32(op.Pen.Style);
        w.I32(op.Pen.Width);
        w.I32(0);
        w.U32(op.Pen.Color);
        EndRecord(w, at);
        handles = std::max(handles, uint32_t(op.Index) + 1);
        break;
      }
      case OpKind::CreateBrush: {
        size_t at = BeginRecord(w, EMR_CREATEBRUSHINDIRECT);
        w.U32(uint32_t(op.Index));
        w.U32(op.Brush.Style);
        w.U32(op.Brush.Color);
        w.U32(op.Brush.Hatch);
        EndRecord(w, at);
        handles = std::max(handles, uint32_t(op.Index) + 1);
        break;
      }
      case OpKind::CreateFont: {
        size_t at = BeginRecord(w, EMR_EXTCREATEFONTINDIRECTW);
        w.U32(uint32_t(op.Index));
        WriteLogFont(w, op.Font);
        EndRecord(w, at);
        handles = std::max(handles, uint32_t(op.Index) + 1);
        break;
      }
      case OpKind::SelectObject: simple(EMR_SELECTOBJECT, uint32_t(op.Index)); break;
      case OpKind::DeleteObject: simple(EMR_DELETEOBJECT, uint32_t(op.Index)); break;
      case OpKind::SetTextColor: simple(EMR_SETTEXTCOLOR, op.Value); break;
      case OpKind::SetBkColor: simple(EMR_SETBKCOLOR, op.Value); break;
      case OpKind::SetBkMode: simple(EMR_SETBKMODE, op.Value); break;
      case OpKind::SetTextAlign: simple(EMR_SETTEXTALIGN, op.Value); break;
      case OpKind::SetRop2: simple(EMR_SETROP2, op.Value); break;
      case OpKind::SetPolyFillMode: simple(EMR_SETPOLYFILLMODE, op.Value); break;
      case OpKind::SaveDC: {
        size_t at = BeginRecord(w, EMR_SAVEDC);
        EndRecord(w, at);
        break;
      }
      case OpKind::RestoreDC: simple(EMR_RESTOREDC, uint32_t(op.Index)); break;
      case OpKind::IntersectClipRect: {
        size_t at = BeginRecord(w, EMR_INTERSECTCLIPRECT);
        WriteRect(w, op.Rect);
        EndRecord(w, at);
        break;
      }
      case OpKind::SetClip: {
        size_t at = BeginRecord(w, EMR_EXTSELECTCLIPRGN);
        if (op.Rects.empty()) {
          w.U32(0);
          w.U32(RGN_COPY);
        } else {
          Box bound = op.Rects.front();
          for (const Box& b : op.Rects) {
            bound.L = std::min(bound.L, b.L);
            bound.T = std::min(bound.T, b.T);
            bound.R = std::max(bound.R, b.R);
            bound.B = std::max(bound.B, b.B);
          }
          w.U32(uint32_t(32 + 16 * op.Rects.size()));
          w.U32(RGN_COPY);
          w.U32(32);
          w.U32(1);  // RDH_RECTANGLES
          w.U32(uint32_t(op.Rects.size()));
          w.U32(uint32_t(16 * op.Rects.size()));
          WriteRect(w, bound);
          for (const Box& b : op.Rects) WriteRect(w, b);
        }
        EndRecord(w, at);
        break;
      }
      case OpKind::MoveTo:
      case OpKind::LineTo: {
        size_t at = BeginRecord(w, op.Kind == OpKind::MoveTo ? EMR_MOVETOEX : EMR_LINETO);
        w.I32(op.Points.at(0).x());
        w.I32(op.Points.at(0).y());
        EndRecord(w, at);
        break;
      }
      case OpKind::Polyline: WritePoly(w, EMR_POLYLINE16, EMR_POLYLINE, op.Points); break;
      case OpKind::Polygon: WritePoly(w, EMR_POLYGON16, EMR_POLYGON, op.Points); break;
      case OpKind::PolyPolygon: {
        bool small = Fits16(op.Points);
        size_t at = BeginRecord(w, small ? EMR_POLYPOLYGON16 : EMR_POLYPOLYGON);
        WriteRect(w, PointBounds(op.Points));
        w.U32(uint32_t(op.Counts.size()));
        w.U32(uint32_t(op.Points.size()));
        for (int32_t c : op.Counts) w.U32(uint32_t(c));
        for (const QPoint& p : op.Points) {
          if (small) { w.I16(p.x()); w.I16(p.y()); }
          else { w.I32(p.x()); w.I32(p.y()); }
        }
        EndRecord(w, at);
        break;
      }
      case OpKind::Rectangle:
      case OpKind::Ellipse: {
        size_t at = BeginRecord(w, op.Kind == OpKind::Rectangle ? EMR_RECTANGLE : EMR_ELLIPSE);
        WriteRect(w, op.Rect);
        EndRecord(w, at);
        break;
      }
      case OpKind::SetPixel: {
        size_t at = BeginRecord(w, EMR_SETPIXELV);
        w.I32(op.Points.at(0).x());
        w.I32(op.Points.at(0).y());
        w.U32(op.Value);
        EndRecord(w, at);
        break;
      }
      case OpKind::TextOut: {
        const QPoint ref = op.Points.at(0);
        int64_t width = 0;
        for (int32_t d : op.Dx) width += d;
        size_t at = BeginRecord(w, EMR_EXTTEXTOUTW);
        WriteRect(w, Box{ref.x(), Saturate32(int64_t(ref.y()) - 1), Saturate32(ref.x() + std::max<int64_t>(width, 1) - 1),
                         ref.y()});
        w.U32(1);  // GM_COMPATIBLE
        w.F32(2540.0f / 96.0f);
        w.F32(2540.0f / 96.0f);
        w.I32(ref.x());
        w.I32(ref.y());
        w.U32(uint32_t(op.Text.size()));
        w.U32(76);  // string right after the fixed part
        w.U32(0);   // options
        WriteRect(w, Box{0, 0, -1, -1});
        size_t offDx = w.Size();
        w.U32(0);
        for (char16_t c : op.Text) w.U16(c);
        w.PadTo(4);
        if (op.Dx.size() == op.Text.size()) {
          w.PatchU32(offDx, uint32_t(w.Size() - at));
          for (int32_t d : op.Dx) w.I32(d);
        }
        EndRecord(w, at);
        break;
      }
      case OpKind::StretchDib: {
        DibParts dib = EncodeDib(op.Image);
        size_t at = BeginRecord(w, EMR_STRETCHDIBITS);
        WriteRect(w, Box{op.Rect.L, op.Rect.T, op.Rect.R - 1, op.Rect.B - 1});
        w.I32(op.Rect.L);
        w.I32(op.Rect.T);
        w.I32(op.Src.L);
        // Source rows count from the bottom of a bottom-up bitmap.
        w.I32(Saturate32(int64_t(op.Image.height()) - op.Src.B));
        w.I32(op.Src.Width());
        w.I32(op.Src.Height());
        w.U32(80);
        w.U32(uint32_t(dib.Header.size()));
        w.U32(uint32_t(80 + dib.Header.size()));
        w.U32(uint32_t(dib.Bits.size()));
        w.U32(0);  // DIB_RGB_COLORS
        w.U32(op.Value ? op.Value : SRCCOPY);
        w.I32(op.Rect.Width());
        w.I32(op.Rect.Height());
        w.Raw(dib.Header);
        w.Raw(dib.Bits);
        EndRecord(w, at);
        break;
      }
    }
  }

  size_t eof = BeginRecord(w, EMR_EOF);
  w.U32(0);
  w.U32(16);
  w.U32(20);
  EndRecord(w, eof);
  ++records;

  w.PatchU32(hdr + 48, uint32_t(w.Size()));
  w.PatchU32(hdr + 52, records);
  w.PatchU16(hdr + 56, uint16_t(std::min<uint32_t>(handles, 0xFFFF)));
  return std::move(w.Data());
}

namespace {

// A rectangle whose coordinates are checked (CheckedCoord).
Box ReadRect(ByteReader& r) {
  Box b;
  b.L = CheckedCoord(r.I32());
  b.T = CheckedCoord(r.I32());
  b.R = CheckedCoord(r.I32());
  b.B = CheckedCoord(r.I32());
  return b;
}

// Bounds the records carry but that are not used: read, not checked.
void SkipRect(ByteReader& r) { r.Skip(16); }

QPoint ReadPoint(ByteReader& r) {
  int32_t x = CheckedCoord(r.I32());
  return QPoint(x, CheckedCoord(r.I32()));
}

std::vector<QPoint> ReadPoints(ByteReader& r, uint32_t n, bool small) {
  r.Need(size_t(n) * (small ? 4 : 8));
  std::vector<QPoint> pts;
  pts.reserve(n);
  for (uint32_t i = 0; i < n; ++i) {
    if (small) {
      int32_t x = r.I16();
      pts.emplace_back(x, r.I16());
    } else {
      pts.push_back(ReadPoint(r));
    }
  }
  return pts;
}

}  // namespace

Picture ReadEmf(const std::string& bytes) {
  if (bytes.size() < 88) throw FormatError{"too short for an enhanced metafile"};
  ByteReader h(bytes, 0, bytes.size());
  if (h.U32() != EMR_HEADER) throw FormatError{"not an enhanced metafile"};
  uint32_t hsize = h.U32();
  Box bounds = ReadRect(h);
  Box frame = ReadRect(h);  // 0.01 mm
  if (h.U32() != EmfSignature) throw FormatError{"not an enhanced metafile"};
  h.U32();
  uint32_t total = h.U32();
  h.U32();
  h.U32();
  h.U32();
  h.U32();
  h.U32();
  int32_t devW = h.I32(), devH = h.I32(), mmW = h.I32(), mmH = h.I32();
  if (hsize < 88 || hsize % 4 || hsize > bytes.size() || total > bytes.size() || total < hsize)
    throw FormatError{"damaged enhanced metafile header"};

  Picture pic;
  pic.MMWidth = frame.R - frame.L + 1;
  pic.MMHeight = frame.B - frame.T + 1;
  if (devW > 0 && devH > 0 && mmW > 0 && mmH > 0) {
    // Logical units are the reference device's pixels (its size in pixels and in mm).
    auto px = [](int64_t v, int64_t dev, int64_t mm) { return CheckedCoord((v * dev + mm * 50) / (mm * 100)); };
    pic.Frame = Box{px(frame.L, devW, mmW), px(frame.T, devH, mmH), px(int64_t(frame.R) + 1, devW, mmW),
                    px(int64_t(frame.B) + 1, devH, mmH)};
  } else {
    pic.Frame = Box{bounds.L, bounds.T, bounds.R + 1, bounds.B + 1};
  }

  size_t pos = hsize;
  bool sawEof = false;
  while (pos < total) {
    if (total - pos < 8) throw FormatError{"truncated record"};
    ByteReader hr(bytes, pos, total);
    uint32_t type = hr.U32();
    uint32_t size = hr.U32();
    if (size < 8 || size % 4 || size > total - pos) throw FormatError{"record size out of range"};
    ByteReader r(bytes, pos + 8, pos + size);
    Op op;
    bool keep = true;
    switch (type) {
      case EMR_EOF: sawEof = true; keep = false; break;
      case EMR_CREATEPEN:
        op.Kind = OpKind::CreatePen;
        op.Index = r.I32();
        op.Pen.Style = r.U32();
        op.Pen.Width = r.I32();
        r.I32();
        op.Pen.Color = r.U32();
        break;
      case EMR_CREATEBRUSHINDIRECT:
        op.Kind = OpKind::CreateBrush;
        op.Index = r.I32();
        op.Brush.Style = r.U32();
        op.Brush.Color = r.U32();
        op.Brush.Hatch = r.U32();
        break;
      case EMR_EXTCREATEFONTINDIRECTW: {
        op.Kind = OpKind::CreateFont;
        op.Index = r.I32();
        LogFont& f = op.Font;
        f.Height = r.I32();
        f.Width = r.I32();
        f.Escapement = r.I32();
        f.Orientation = r.I32();
        f.Weight = r.I32();
        f.Italic = r.U8();
        f.Underline = r.U8();
        f.StrikeOut = r.U8();
        f.CharSet = r.U8();
        f.OutPrecision = r.U8();
        f.ClipPrecision = r.U8();
        f.Quality = r.U8();
        f.PitchAndFamily = r.U8();
        for (int i = 0; i < 32; ++i) {
          char16_t c = r.U16();
          if (!c) break;
          f.FaceName.push_back(c);
        }
        break;
      }
      case EMR_SELECTOBJECT: op.Kind = OpKind::SelectObject; op.Index = r.I32(); break;
      case EMR_DELETEOBJECT: op.Kind = OpKind::DeleteObject; op.Index = r.I32(); break;
      case EMR_SETTEXTCOLOR: op.Kind = OpKind::SetTextColor; op.Value = r.U32(); break;
      case EMR_SETBKCOLOR: op.Kind = OpKind::SetBkColor; op.Value = r.U32(); break;
      case EMR_SETBKMODE: op.Kind = OpKind::SetBkMode; op.Value = r.U32(); break;
      case EMR_SETTEXTALIGN: op.Kind = OpKind::SetTextAlign; op.Value = r.U32(); break;
      case EMR_SETROP2: op.Kind = OpKind::SetRop2; op.Value = r.U32(); break;
      case EMR_SETPOLYFILLMODE: op.Kind = OpKind::SetPolyFillMode; op.Value = r.U32(); break;
      case EMR_SAVEDC: op.Kind = OpKind::SaveDC; break;
      case EMR_RESTOREDC: op.Kind = OpKind::RestoreDC; op.Index = r.I32(); break;
      case EMR_INTERSECTCLIPRECT: op.Kind = OpKind::IntersectClipRect; op.Rect = ReadRect(r); break;
      case EMR_EXTSELECTCLIPRGN: {
        op.Kind = OpKind::SetClip;
        uint32_t cb = r.U32();
        uint32_t mode = r.U32();
        if (mode != RGN_COPY) { keep = false; break; }
        if (cb == 0) break;
        r.U32();
        r.U32();
        uint32_t n = r.U32();
        r.U32();
        SkipRect(r);
        r.Need(size_t(n) * 16);
        for (uint32_t i = 0; i < n; ++i) op.Rects.push_back(ReadRect(r));
        if (op.Rects.empty()) op.Rects.push_back(Box{0, 0, 0, 0});
        break;
      }
      case EMR_MOVETOEX:
      case EMR_LINETO:
        op.Kind = type == EMR_MOVETOEX ? OpKind::MoveTo : OpKind::LineTo;
        op.Points = {ReadPoint(r)};
        break;
      case EMR_POLYLINE16: case EMR_POLYLINE: case EMR_POLYGON16: case EMR_POLYGON: {
        op.Kind = (type == EMR_POLYLINE16 || type == EMR_POLYLINE) ? OpKind::Polyline : OpKind::Polygon;
        SkipRect(r);
        uint32_t n = r.U32();
        op.Points = ReadPoints(r, n, type == EMR_POLYLINE16 || type == EMR_POLYGON16);
        break;
      }
      case EMR_POLYPOLYGON16: case EMR_POLYPOLYGON: {
        op.Kind = OpKind::PolyPolygon;
        SkipRect(r);
        uint32_t polys = r.U32();
        uint32_t n = r.U32();
        r.Need(size_t(polys) * 4);
        uint64_t sum = 0;
        for (uint32_t i = 0; i < polys; ++i) {
          op.Counts.push_back(r.I32());
          sum += uint32_t(op.Counts.back());
        }
        if (sum != n) throw FormatError{"polygon counts do not add up"};
        op.Points = ReadPoints(r, n, type == EMR_POLYPOLYGON16);
        break;
      }
      case EMR_RECTANGLE: op.Kind = OpKind::Rectangle; op.Rect = ReadRect(r); break;
      case EMR_ELLIPSE: op.Kind = OpKind::Ellipse; op.Rect = ReadRect(r); break;
      case EMR_SETPIXELV: {
        op.Kind = OpKind::SetPixel;
        op.Points = {ReadPoint(r)};
        op.Value = r.U32();
        break;
      }
      case EMR_EXTTEXTOUTW: {
        op.Kind = OpKind::TextOut;
        SkipRect(r);
        r.U32();
        r.U32();
        r.U32();
        op.Points = {ReadPoint(r)};
        uint32_t chars = r.U32();
        uint32_t offString = r.U32();
        r.U32();
        SkipRect(r);
        uint32_t offDx = r.U32();
        if (chars > size || offString > size) throw FormatError{"text outside its record"};
        ByteReader s(bytes, pos + offString, pos + size);
        for (uint32_t i = 0; i < chars; ++i) op.Text.push_back(s.U16());
        if (offDx) {
          if (offDx > size) throw FormatError{"text advances outside their record"};
          ByteReader d(bytes, pos + offDx, pos + size);
          for (uint32_t i = 0; i < chars; ++i) op.Dx.push_back(CheckedCoord(d.I32()));
        }
        break;
      }
      case EMR_STRETCHDIBITS: {
        op.Kind = OpKind::StretchDib;
        SkipRect(r);
        int32_t xd = CheckedCoord(r.I32()), yd = CheckedCoord(r.I32()), xs = CheckedCoord(r.I32()),
                ys = CheckedCoord(r.I32()), cxs = CheckedCoord(r.I32()), cys = CheckedCoord(r.I32());
        uint32_t offBmi = r.U32(), cbBmi = r.U32(), offBits = r.U32(), cbBits = r.U32();
        r.U32();
        op.Value = r.U32();
        int32_t cxd = CheckedCoord(r.I32()), cyd = CheckedCoord(r.I32());
        if (offBmi > size || cbBmi > size - offBmi || offBits > size || cbBits > size - offBits)
          throw FormatError{"bitmap outside its record"};
        op.Image = DecodeDib(bytes, pos + offBmi, pos + offBmi + cbBmi, pos + offBits, pos + offBits + cbBits);
        op.Rect = Box{xd, yd, xd + cxd, yd + cyd};
        int32_t top = op.Image.height() - ys - cys;  // rows count from the bottom
        op.Src = Box{xs, top, xs + cxs, top + cys};
        break;
      }
      default: keep = false; break;  // records we do not draw
    }
    if (keep) pic.Ops.push_back(std::move(op));
    pos += size;
    if (sawEof) break;
  }
  if (!sawEof) throw FormatError{"enhanced metafile has no end record"};
  return pic;
}

int SniffFormat(const std::string& bytes) {
  auto u32 = [&](size_t at) {
    return bytes.size() < at + 4 ? 0u
                                 : uint32_t(uint8_t(bytes[at])) | (uint32_t(uint8_t(bytes[at + 1])) << 8) |
                                       (uint32_t(uint8_t(bytes[at + 2])) << 16) | (uint32_t(uint8_t(bytes[at + 3])) << 24);
  };
  if (u32(0) == EMR_HEADER && u32(40) == EmfSignature) return 1;
  if (u32(0) == 0x9AC6CDD7u) return 2;
  // A plain metafile starts with its header: type 1 or 2, header size 9 words, version 0x100 or 0x300.
  if (bytes.size() >= 18 && (u32(0) == 0x00090001u || u32(0) == 0x00090002u) &&
      (uint8_t(bytes[4]) == 0 && (uint8_t(bytes[5]) == 1 || uint8_t(bytes[5]) == 3)))
    return 2;
  return 0;
}

}  // namespace metafile

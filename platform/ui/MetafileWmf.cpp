// Placeable Windows metafile (WMF) writer and reader.
#include <algorithm>
#include <map>

#include "platform/ui/MetafileBytes_p.h"

namespace metafile {

namespace {

enum : uint16_t {
  META_EOF = 0x0000, META_SAVEDC = 0x001E, META_SETBKCOLOR = 0x0201, META_SETBKMODE = 0x0102,
  META_SETMAPMODE = 0x0103, META_SETROP2 = 0x0104, META_SETPOLYFILLMODE = 0x0106,
  META_SETTEXTCOLOR = 0x0209, META_SETWINDOWORG = 0x020B, META_SETWINDOWEXT = 0x020C,
  META_LINETO = 0x0213, META_MOVETO = 0x0214, META_RESTOREDC = 0x0127, META_SELECTOBJECT = 0x012D,
  META_SETTEXTALIGN = 0x012E, META_DELETEOBJECT = 0x01F0, META_CREATEPENINDIRECT = 0x02FA,
  META_CREATEFONTINDIRECT = 0x02FB, META_CREATEBRUSHINDIRECT = 0x02FC, META_POLYGON = 0x0324,
  META_POLYLINE = 0x0325, META_INTERSECTCLIPRECT = 0x0416, META_ELLIPSE = 0x0418,
  META_RECTANGLE = 0x041B, META_SETPIXEL = 0x041F, META_TEXTOUT = 0x0521, META_POLYPOLYGON = 0x0538,
  META_EXTTEXTOUT = 0x0A32, META_STRETCHDIB = 0x0F43,
  // Records that create an object we do not draw but that still takes a slot in the table.
  META_CREATEPALETTE = 0x00F7, META_CREATEPATTERNBRUSH = 0x01F9, META_DIBCREATEPATTERNBRUSH = 0x0142,
  META_CREATEREGION = 0x06FF,
};
constexpr uint32_t PlaceableKey = 0x9AC6CDD7u;
constexpr uint16_t MM_ANISOTROPIC = 8;

class WmfWriter {
public:
  explicit WmfWriter(const Picture& pic) : pic_(pic) {}

  std::string Write() {
    const Box& fr = pic_.Frame;
    // Placeable header: bounding box in logical units at 96 units per inch, then its checksum.
    w_.U32(PlaceableKey);
    w_.U16(0);
    w_.I16(fr.L);
    w_.I16(fr.T);
    w_.I16(fr.R);
    w_.I16(fr.B);
    w_.U16(96);
    w_.U32(0);
    uint16_t sum = 0;
    for (size_t i = 0; i < 20; i += 2) sum ^= uint16_t(uint8_t(w_.Data()[i]) | (uint8_t(w_.Data()[i + 1]) << 8));
    w_.U16(sum);

    header_ = w_.Size();
    w_.U16(1);  // memory metafile
    w_.U16(9);
    w_.U16(0x0300);
    w_.U32(0);  // size in words, patched
    w_.U16(0);  // object count, patched
    w_.U32(0);  // largest record, patched
    w_.U16(0);

    Record(META_SETMAPMODE, {MM_ANISOTROPIC});
    Record(META_SETWINDOWORG, {uint16_t(int16_t(fr.T)), uint16_t(int16_t(fr.L))});
    Record(META_SETWINDOWEXT, {uint16_t(int16_t(fr.Height())), uint16_t(int16_t(fr.Width()))});

    for (const Op& op : pic_.Ops) WriteOp(op);
    if (clipped_) EndClip();
    Record(META_EOF, {});

    size_t words = (w_.Size() - header_) / 2;
    w_.PatchU16(header_ + 6, uint16_t(words));
    w_.PatchU16(header_ + 8, uint16_t(words >> 16));
    w_.PatchU16(header_ + 10, uint16_t(table_.size()));
    w_.PatchU16(header_ + 12, uint16_t(maxRecord_));
    w_.PatchU16(header_ + 14, uint16_t(maxRecord_ >> 16));
    return std::move(w_.Data());
  }

private:
  size_t Begin(uint16_t function) {
    size_t at = w_.Size();
    w_.U32(0);
    w_.U16(function);
    return at;
  }
  void End(size_t at) {
    w_.PadTo(2);
    uint32_t words = uint32_t((w_.Size() - at) / 2);
    w_.PatchU32(at, words);
    maxRecord_ = std::max(maxRecord_, words);
  }
  void Record(uint16_t function, std::initializer_list<uint16_t> params) {
    size_t at = Begin(function);
    for (uint16_t p : params) w_.U16(p);
    End(at);
  }
  void Color(uint16_t function, uint32_t c) {
    size_t at = Begin(function);
    w_.U32(c);
    End(at);
  }
  void BoxRecord(uint16_t function, const Box& b) {
    size_t at = Begin(function);
    w_.I16(b.B);
    w_.I16(b.R);
    w_.I16(b.T);
    w_.I16(b.L);
    End(at);
  }
  void Points(const std::vector<QPoint>& pts) {
    for (const QPoint& p : pts) {
      w_.I16(p.x());
      w_.I16(p.y());
    }
  }

  // The file's object table gives each new object the lowest free slot.
  uint16_t Create(int32_t id) {
    size_t slot = 0;
    while (slot < table_.size() && table_[slot]) ++slot;
    if (slot == table_.size()) table_.push_back(false);
    table_[slot] = true;
    slotOf_[id] = uint16_t(slot);
    return uint16_t(slot);
  }
  void Delete(int32_t id) {
    auto it = slotOf_.find(id);
    if (it == slotOf_.end()) return;
    Record(META_DELETEOBJECT, {it->second});
    table_[it->second] = false;
    slotOf_.erase(it);
  }

  // Clipping is a saved state: restoring it brings back the objects selected when it was saved,
  // so the current ones are selected again and deletions wait until then.
  void EndClip() {
    Record(META_RESTOREDC, {uint16_t(int16_t(-1))});
    clipped_ = false;
    for (const auto& [kind, id] : selected_) {
      auto it = slotOf_.find(id);
      if (it != slotOf_.end()) Record(META_SELECTOBJECT, {it->second});
    }
    for (int32_t id : pendingDelete_) Delete(id);
    pendingDelete_.clear();
  }

  void WriteOp(const Op& op) {
    switch (op.Kind) {
      case OpKind::CreatePen: {
        kind_[op.Index] = 0;
        size_t at = Begin(META_CREATEPENINDIRECT);
        Create(op.Index);
        w_.U16(uint16_t(op.Pen.Style));
        w_.I16(op.Pen.Width);
        w_.I16(0);
        w_.U32(op.Pen.Color);
        End(at);
        break;
      }
      case OpKind::CreateBrush: {
        kind_[op.Index] = 1;
        size_t at = Begin(META_CREATEBRUSHINDIRECT);
        Create(op.Index);
        w_.U16(uint16_t(op.Brush.Style));
        w_.U32(op.Brush.Color);
        w_.U16(uint16_t(op.Brush.Hatch));
        End(at);
        break;
      }
      case OpKind::CreateFont: {
        kind_[op.Index] = 2;
        charset_[op.Index] = op.Font.CharSet;
        const LogFont& f = op.Font;
        size_t at = Begin(META_CREATEFONTINDIRECT);
        Create(op.Index);
        for (int32_t v : {f.Height, f.Width, f.Escapement, f.Orientation, f.Weight}) w_.I16(v);
        for (uint8_t b : {f.Italic, f.Underline, f.StrikeOut, f.CharSet, f.OutPrecision, f.ClipPrecision, f.Quality,
                          f.PitchAndFamily})
          w_.U8(b);
        std::string face = EncodeAnsi(f.FaceName, f.CharSet);
        if (face.size() > 31) {
          // Cut at a character boundary of the code page.
          std::u16string name = f.FaceName;
          while (!name.empty() && EncodeAnsi(name, f.CharSet).size() > 31) name.pop_back();
          face = EncodeAnsi(name, f.CharSet);
        }
        face.resize(32, '\0');
        w_.Raw(face);
        End(at);
        break;
      }
      case OpKind::SelectObject: {
        auto it = slotOf_.find(op.Index);
        if (it == slotOf_.end()) break;  // stock objects have no place in this format
        Record(META_SELECTOBJECT, {it->second});
        selected_[kind_[op.Index]] = op.Index;
        if (kind_[op.Index] == 2) fontCharset_ = charset_[op.Index];
        break;
      }
      case OpKind::DeleteObject:
        if (clipped_) pendingDelete_.push_back(op.Index);
        else Delete(op.Index);
        break;
      case OpKind::SetTextColor: Color(META_SETTEXTCOLOR, op.Value); break;
      case OpKind::SetBkColor: Color(META_SETBKCOLOR, op.Value); break;
      case OpKind::SetBkMode: Record(META_SETBKMODE, {uint16_t(op.Value), 0}); break;
      case OpKind::SetTextAlign: Record(META_SETTEXTALIGN, {uint16_t(op.Value), 0}); break;
      case OpKind::SetRop2: Record(META_SETROP2, {uint16_t(op.Value), 0}); break;
      case OpKind::SetPolyFillMode: Record(META_SETPOLYFILLMODE, {uint16_t(op.Value), 0}); break;
      case OpKind::SaveDC: Record(META_SAVEDC, {}); break;
      case OpKind::RestoreDC: Record(META_RESTOREDC, {uint16_t(int16_t(op.Index))}); break;
      case OpKind::IntersectClipRect: BoxRecord(META_INTERSECTCLIPRECT, op.Rect); break;
      case OpKind::SetClip: {
        if (clipped_) EndClip();
        if (op.Rects.empty()) break;
        Box b = op.Rects.front();
        for (const Box& r : op.Rects) {
          b.L = std::min(b.L, r.L);
          b.T = std::min(b.T, r.T);
          b.R = std::max(b.R, r.R);
          b.B = std::max(b.B, r.B);
        }
        Record(META_SAVEDC, {});
        BoxRecord(META_INTERSECTCLIPRECT, b);
        clipped_ = true;
        break;
      }
      case OpKind::MoveTo:
      case OpKind::LineTo: {
        size_t at = Begin(op.Kind == OpKind::MoveTo ? META_MOVETO : META_LINETO);
        w_.I16(op.Points.at(0).y());
        w_.I16(op.Points.at(0).x());
        End(at);
        break;
      }
      case OpKind::Polyline:
      case OpKind::Polygon: {
        // The point count is 16 bits: long lines go out in pieces that share their end points.
        const auto& pts = op.Points;
        const size_t chunk = 16000;
        if (op.Kind == OpKind::Polygon || pts.size() <= chunk) {
          size_t at = Begin(op.Kind == OpKind::Polyline ? META_POLYLINE : META_POLYGON);
          size_t n = std::min(pts.size(), size_t(32767));
          w_.U16(uint16_t(n));
          Points(std::vector<QPoint>(pts.begin(), pts.begin() + long(n)));
          End(at);
          break;
        }
        for (size_t from = 0; from + 1 < pts.size(); from += chunk - 1) {
          size_t to = std::min(pts.size(), from + chunk);
          size_t at = Begin(META_POLYLINE);
          w_.U16(uint16_t(to - from));
          Points(std::vector<QPoint>(pts.begin() + long(from), pts.begin() + long(to)));
          End(at);
        }
        break;
      }
      case OpKind::PolyPolygon: {
        size_t at = Begin(META_POLYPOLYGON);
        w_.U16(uint16_t(op.Counts.size()));
        for (int32_t c : op.Counts) w_.U16(uint16_t(c));
        Points(op.Points);
        End(at);
        break;
      }
      case OpKind::Rectangle: BoxRecord(META_RECTANGLE, op.Rect); break;
      case OpKind::Ellipse: BoxRecord(META_ELLIPSE, op.Rect); break;
      case OpKind::SetPixel: {
        size_t at = Begin(META_SETPIXEL);
        w_.U32(op.Value);
        w_.I16(op.Points.at(0).y());
        w_.I16(op.Points.at(0).x());
        End(at);
        break;
      }
      case OpKind::TextOut: {
        std::string text = EncodeAnsi(op.Text, fontCharset_);
        if (text.empty()) break;
        text.resize(std::min(text.size(), size_t(32767)));
        size_t at = Begin(META_EXTTEXTOUT);
        w_.I16(op.Points.at(0).y());
        w_.I16(op.Points.at(0).x());
        w_.U16(uint16_t(text.size()));
        w_.U16(0);
        w_.Raw(text);
        End(at);
        break;
      }
      case OpKind::StretchDib: {
        DibParts dib = EncodeDib(op.Image);
        size_t at = Begin(META_STRETCHDIB);
        w_.U32(op.Value ? op.Value : SRCCOPY);
        w_.U16(0);  // DIB_RGB_COLORS
        w_.I16(op.Src.Height());
        w_.I16(op.Src.Width());
        w_.I16(op.Image.height() - op.Src.B);  // rows count from the bottom
        w_.I16(op.Src.L);
        w_.I16(op.Rect.Height());
        w_.I16(op.Rect.Width());
        w_.I16(op.Rect.T);
        w_.I16(op.Rect.L);
        w_.Raw(dib.Header);
        w_.Raw(dib.Bits);
        End(at);
        break;
      }
    }
  }

  const Picture& pic_;
  ByteWriter w_;
  size_t header_ = 0;
  uint32_t maxRecord_ = 0;
  std::vector<bool> table_;
  std::map<int32_t, uint16_t> slotOf_;
  std::map<int32_t, int> kind_;
  std::map<int32_t, uint8_t> charset_;
  std::map<int, int32_t> selected_;
  uint8_t fontCharset_ = DEFAULT_CHARSET;
  bool clipped_ = false;
  std::vector<int32_t> pendingDelete_;
};

}  // namespace

std::string WriteWmf(const Picture& pic) { return WmfWriter(pic).Write(); }

Picture ReadWmf(const std::string& bytes) {
  size_t pos = 0;
  Picture pic;
  bool placeable = false;
  Box bbox;
  uint16_t inch = 96;
  ByteReader h(bytes, 0, bytes.size());
  if (bytes.size() >= 22 && uint8_t(bytes[0]) == 0xD7 && uint8_t(bytes[1]) == 0xCD && uint8_t(bytes[2]) == 0xC6 &&
      uint8_t(bytes[3]) == 0x9A) {
    h.U32();
    h.U16();
    bbox.L = h.I16();
    bbox.T = h.I16();
    bbox.R = h.I16();
    bbox.B = h.I16();
    inch = h.U16();
    h.U32();
    h.U16();
    placeable = true;
    pos = 22;
  }
  if (bytes.size() < pos + 18) throw FormatError{"too short for a metafile"};
  h.Seek(pos);
  uint16_t type = h.U16();
  uint16_t hsize = h.U16();
  uint16_t version = h.U16();
  if ((type != 1 && type != 2) || hsize != 9 || (version != 0x0100 && version != 0x0300))
    throw FormatError{"not a metafile"};
  pos += 18;
  if (inch == 0) inch = 96;

  bool haveOrg = false, haveExt = false;
  Box window;
  std::vector<bool> table;
  std::map<int32_t, uint8_t> charsets;
  uint8_t fontCharset = DEFAULT_CHARSET;
  auto create = [&]() {
    size_t slot = 0;
    while (slot < table.size() && table[slot]) ++slot;
    if (slot == table.size()) table.push_back(false);
    table[slot] = true;
    return int32_t(slot);
  };

  bool sawEof = false;
  while (pos + 6 <= bytes.size()) {
    ByteReader hr(bytes, pos, bytes.size());
    uint32_t words = hr.U32();
    uint16_t fn = hr.U16();
    if (words < 3 || size_t(words) * 2 > bytes.size() - pos) throw FormatError{"record size out of range"};
    size_t end = pos + size_t(words) * 2;
    ByteReader r(bytes, pos + 6, end);
    Op op;
    bool keep = true;
    auto readBox = [&]() {
      Box b;
      b.B = r.I16();
      b.R = r.I16();
      b.T = r.I16();
      b.L = r.I16();
      return b;
    };
    auto readPoints = [&](size_t n) {
      r.Need(n * 4);
      std::vector<QPoint> pts;
      for (size_t i = 0; i < n; ++i) {
        int16_t x = r.I16();
        pts.emplace_back(x, r.I16());
      }
      return pts;
    };
    switch (fn) {
      case META_EOF: sawEof = true; keep = false; break;
      case META_SETWINDOWORG: window.T = r.I16(); window.L = r.I16(); haveOrg = true; keep = false; break;
      case META_SETWINDOWEXT: window.B = r.I16(); window.R = r.I16(); haveExt = true; keep = false; break;
      case META_CREATEPENINDIRECT:
        op.Kind = OpKind::CreatePen;
        op.Index = create();
        op.Pen.Style = r.U16();
        op.Pen.Width = r.I16();
        r.I16();
        op.Pen.Color = r.U32();
        break;
      case META_CREATEBRUSHINDIRECT:
        op.Kind = OpKind::CreateBrush;
        op.Index = create();
        op.Brush.Style = r.U16();
        op.Brush.Color = r.U32();
        op.Brush.Hatch = r.U16();
        break;
      case META_CREATEFONTINDIRECT: {
        op.Kind = OpKind::CreateFont;
        op.Index = create();
        LogFont& f = op.Font;
        f.Height = r.I16();
        f.Width = r.I16();
        f.Escapement = r.I16();
        f.Orientation = r.I16();
        f.Weight = r.I16();
        f.Italic = r.U8();
        f.Underline = r.U8();
        f.StrikeOut = r.U8();
        f.CharSet = r.U8();
        f.OutPrecision = r.U8();
        f.ClipPrecision = r.U8();
        f.Quality = r.U8();
        f.PitchAndFamily = r.U8();
        std::string face;
        while (r.Pos() < end && face.size() < 32) {
          char c = char(r.U8());
          if (!c) break;
          face.push_back(c);
        }
        f.FaceName = DecodeAnsi(face, f.CharSet);
        charsets[op.Index] = f.CharSet;
        break;
      }
      case META_CREATEPALETTE: case META_CREATEPATTERNBRUSH: case META_DIBCREATEPATTERNBRUSH:
      case META_CREATEREGION:
        // Keep the table's numbering; the object draws as an empty brush.
        op.Kind = OpKind::CreateBrush;
        op.Index = create();
        op.Brush.Style = BS_NULL;
        break;
      case META_SELECTOBJECT: {
        op.Kind = OpKind::SelectObject;
        op.Index = r.U16();
        auto it = charsets.find(op.Index);
        if (it != charsets.end()) fontCharset = it->second;
        break;
      }
      case META_DELETEOBJECT: {
        op.Kind = OpKind::DeleteObject;
        op.Index = r.U16();
        if (size_t(op.Index) < table.size()) table[size_t(op.Index)] = false;
        charsets.erase(op.Index);
        break;
      }
      case META_SETTEXTCOLOR: op.Kind = OpKind::SetTextColor; op.Value = r.U32(); break;
      case META_SETBKCOLOR: op.Kind = OpKind::SetBkColor; op.Value = r.U32(); break;
      case META_SETBKMODE: op.Kind = OpKind::SetBkMode; op.Value = r.U16(); break;
      case META_SETTEXTALIGN: op.Kind = OpKind::SetTextAlign; op.Value = r.U16(); break;
      case META_SETROP2: op.Kind = OpKind::SetRop2; op.Value = r.U16(); break;
      case META_SETPOLYFILLMODE: op.Kind = OpKind::SetPolyFillMode; op.Value = r.U16(); break;
      case META_SAVEDC: op.Kind = OpKind::SaveDC; break;
      case META_RESTOREDC: op.Kind = OpKind::RestoreDC; op.Index = r.I16(); break;
      case META_INTERSECTCLIPRECT: op.Kind = OpKind::IntersectClipRect; op.Rect = readBox(); break;
      case META_MOVETO:
      case META_LINETO: {
        op.Kind = fn == META_MOVETO ? OpKind::MoveTo : OpKind::LineTo;
        int16_t y = r.I16();
        op.Points = {QPoint(r.I16(), y)};
        break;
      }
      case META_POLYLINE:
      case META_POLYGON: {
        op.Kind = fn == META_POLYLINE ? OpKind::Polyline : OpKind::Polygon;
        op.Points = readPoints(r.U16());
        break;
      }
      case META_POLYPOLYGON: {
        op.Kind = OpKind::PolyPolygon;
        uint16_t polys = r.U16();
        size_t total = 0;
        for (uint16_t i = 0; i < polys; ++i) {
          op.Counts.push_back(r.U16());
          total += size_t(op.Counts.back());
        }
        op.Points = readPoints(total);
        break;
      }
      case META_RECTANGLE: op.Kind = OpKind::Rectangle; op.Rect = readBox(); break;
      case META_ELLIPSE: op.Kind = OpKind::Ellipse; op.Rect = readBox(); break;
      case META_SETPIXEL: {
        op.Kind = OpKind::SetPixel;
        op.Value = r.U32();
        int16_t y = r.I16();
        op.Points = {QPoint(r.I16(), y)};
        break;
      }
      case META_EXTTEXTOUT: {
        op.Kind = OpKind::TextOut;
        int16_t y = r.I16();
        int16_t x = r.I16();
        op.Points = {QPoint(x, y)};
        uint16_t len = r.U16();
        uint16_t opts = r.U16();
        if (opts & 0x0006) r.Skip(8);  // ETO_OPAQUE / ETO_CLIPPED rectangle
        r.Need(len);
        std::string text(bytes, r.Pos(), len);
        op.Text = DecodeAnsi(text, fontCharset);
        break;
      }
      case META_TEXTOUT: {
        op.Kind = OpKind::TextOut;
        uint16_t len = r.U16();
        r.Need(len);
        std::string text(bytes, r.Pos(), len);
        r.Skip(len + (len & 1));
        int16_t y = r.I16();
        op.Points = {QPoint(r.I16(), y)};
        op.Text = DecodeAnsi(text, fontCharset);
        break;
      }
      case META_STRETCHDIB: {
        op.Kind = OpKind::StretchDib;
        op.Value = r.U32();
        r.U16();
        int16_t sh = r.I16(), sw = r.I16(), sy = r.I16(), sx = r.I16();
        int16_t dh = r.I16(), dw = r.I16(), dy = r.I16(), dx = r.I16();
        // The bits follow the header and its colour table.
        {
          ByteReader b(bytes, r.Pos(), end);
          uint32_t hs = b.U32();
          b.Skip(10);
          uint16_t bpp = b.U16();
          uint32_t comp = b.U32();
          b.Skip(12);
          uint32_t used = b.U32();
          size_t table = bpp <= 8 ? size_t(used ? used : (1u << bpp)) * 4 : (comp == 3 ? 12 : 0);
          op.Image = DecodeDib(bytes, r.Pos(), end, r.Pos() + hs + table, end);
        }
        op.Rect = Box{dx, dy, dx + dw, dy + dh};
        int32_t top = op.Image.height() - sy - sh;
        op.Src = Box{sx, top, sx + sw, top + sh};
        break;
      }
      default: keep = false; break;
    }
    if (keep) pic.Ops.push_back(std::move(op));
    pos = end;
    if (sawEof) break;
  }
  if (!sawEof) throw FormatError{"metafile has no end record"};

  if (haveOrg && haveExt && window.R != 0 && window.B != 0)
    pic.Frame = Box{window.L, window.T, window.L + window.R, window.T + window.B};
  else if (placeable)
    pic.Frame = bbox;
  else
    throw FormatError{"metafile gives no size"};
  if (placeable) {
    pic.MMWidth = int32_t(int64_t(bbox.Width()) * 2540 / inch);
    pic.MMHeight = int32_t(int64_t(bbox.Height()) * 2540 / inch);
  } else {
    pic.MMWidth = pic.Frame.Width() * 2540 / 96;
    pic.MMHeight = pic.Frame.Height() * 2540 / 96;
  }
  return pic;
}

}  // namespace metafile

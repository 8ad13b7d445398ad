#pragma once
// The chart library: a chart control with a three-line title, left and bottom axes, a gradient
// background, an optional three-dimensional look, bar and area series with per-point colours,
// zoom by dragging, point clicks, drawing events, and export to bitmap, metafile, JPEG,
// clipboard and printer. Everything is drawn with the class library's canvas, so the same code
// paints the window, a bitmap, a metafile and a printed page.

#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"

class TChart;
class TChartSeries;

// A point colour that means "the series colour".
constexpr TColor clTeeColor = clDefault;

// A pen that can be hidden.
class TChartPen : public TPen {
public:
  String ClassName() const override { return u"TChartPen"; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);

private:
  bool FVisible = true;
};

class TChartTitle : public TPersistent {
public:
  explicit TChartTitle(TChart* AChart);
  ~TChartTitle() override;
  String ClassName() const override { return u"TChartTitle"; }
  // One line of title per string, centred above the plot.
  TStrings* Text() const { return FText.get(); }
  TFont* Font() const { return FFont.get(); }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);

private:
  TChart* FChart;
  std::unique_ptr<TStringList> FText;
  std::unique_ptr<TFont> FFont;
  bool FVisible = true;
};

class TChartAxisTitle : public TPersistent {
public:
  explicit TChartAxisTitle(TChart* AChart);
  ~TChartAxisTitle() override;
  String ClassName() const override { return u"TChartAxisTitle"; }
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  TFont* Font() const { return FFont.get(); }

private:
  TChart* FChart;
  String FCaption;
  std::unique_ptr<TFont> FFont;
};

enum TChartAxisKind : uint8_t { axLeft, axBottom, axRight };

class TChartAxis : public TPersistent {
public:
  TChartAxis(TChart* AChart, TChartAxisKind Kind);
  ~TChartAxis() override;
  String ClassName() const override { return u"TChartAxis"; }

  bool Horizontal() const { return FKind == axBottom; }
  // With Automatic on, the range follows the values of the series; setting Minimum or
  // Maximum leaves it on (the class library's behaviour), so charts switch it off first.
  bool Automatic() const { return FAutomatic; }
  void SetAutomatic(bool Value);
  double Minimum() const;
  double Maximum() const;
  void SetMinimum(double Value);
  void SetMaximum(double Value);
  void SetMinMax(double AMin, double AMax);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  TChartAxisTitle* Title() const { return FTitle.get(); }
  // Minor ticks between two labels.
  int MinorTickCount() const { return FMinorTickCount; }
  void SetMinorTickCount(int Value);
  // Distance between labels; 0 chooses a round step that keeps the labels apart.
  double Increment() const { return FIncrement; }
  void SetIncrement(double Value);
  bool Labels() const { return FLabels; }
  void SetLabels(bool Value);
  TFont* LabelsFont() const { return FLabelsFont.get(); }
  TChartPen* Grid() const { return FGrid.get(); }

  // Value <-> pixel on the chart's last layout: the minimum lands on the first pixel of the plot
  // (left or bottom row), the maximum on the last.
  int CalcPosValue(double Value) const;
  double CalcPosPoint(int Position) const;
  int CalcXPosValue(double Value) const { return CalcPosValue(Value); }
  int CalcYPosValue(double Value) const { return CalcPosValue(Value); }
  // First and last pixel of the axis on the plot.
  int IStartPos() const;
  int IEndPos() const;

private:
  friend class TChart;
  void Changed();
  void Range(double& lo, double& hi) const;
  TChart* FChart;
  TChartAxisKind FKind;
  bool FAutomatic = true;
  double FMinimum = 0, FMaximum = 0;
  bool FVisible = true;
  std::unique_ptr<TChartAxisTitle> FTitle;
  int FMinorTickCount = 3;
  double FIncrement = 0;
  bool FLabels = true;
  std::unique_ptr<TFont> FLabelsFont;
  std::unique_ptr<TChartPen> FGrid;
};

class TChartLegend : public TPersistent {
public:
  explicit TChartLegend(TChart* AChart) : FChart(AChart) {}
  String ClassName() const override { return u"TChartLegend"; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);

private:
  TChart* FChart;
  bool FVisible = true;
};

// The background: a vertical blend from StartColor at the top to EndColor at the bottom.
class TChartGradient : public TPersistent {
public:
  explicit TChartGradient(TChart* AChart) : FChart(AChart) {}
  String ClassName() const override { return u"TChartGradient"; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  TColor StartColor() const { return FStartColor; }
  void SetStartColor(TColor Value);
  TColor EndColor() const { return FEndColor; }
  void SetEndColor(TColor Value);

private:
  TChart* FChart;
  bool FVisible = true;
  TColor FStartColor = clWhite;
  TColor FEndColor = clWhite;
};

// Value labels drawn above the points.
class TSeriesMarks : public TPersistent {
public:
  explicit TSeriesMarks(TChartSeries* ASeries) : FSeries(ASeries) {}
  String ClassName() const override { return u"TSeriesMarks"; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);

private:
  TChartSeries* FSeries;
  bool FVisible = true;
};

using TSeriesClickEvent =
    std::function<void(TChartSeries* Sender, int ValueIndex, TMouseButton Button, TShiftState Shift, int X, int Y)>;

struct TChartLayout;

// Base of the series: points (x, y, colour) drawn on the chart's left and bottom axes.
class TChartSeries : public TComponent {
public:
  explicit TChartSeries(TComponent* AOwner);
  ~TChartSeries() override;
  String ClassName() const override { return u"TChartSeries"; }

  TChart* ParentChart() const { return FChart; }
  // Adds the series to the chart (drawn after the series already there), or removes it.
  void SetParentChart(TChart* Value);
  const String& Title() const { return FTitle; }
  void SetTitle(const String& Value);
  bool Active() const { return FActive; }
  void SetActive(bool Value);
  TColor SeriesColor() const { return FColor; }
  void SetSeriesColor(TColor Value);
  TSeriesMarks* Marks() const { return FMarks.get(); }

  int Count() const { return static_cast<int>(FX.size()); }
  void Clear();
  // Appends a point; Color clTeeColor draws it in the series colour. Returns its index.
  int AddXY(double X, double Y, const String& Label = String(), TColor Color = clTeeColor);
  int Add(double Y, const String& Label = String(), TColor Color = clTeeColor);
  void Delete(int ValueIndex);
  // Indexed point values; an index outside 0..Count-1 raises EListError.
  double XValue(int ValueIndex) const;
  void SetXValue(int ValueIndex, double Value);
  double YValue(int ValueIndex) const;
  void SetYValue(int ValueIndex, double Value);
  TColor ValueColor(int ValueIndex) const;
  void SetValueColor(int ValueIndex, TColor Value);

  // Pixel positions on the chart's last layout.
  int CalcXPos(int ValueIndex) const;
  int CalcYPos(int ValueIndex) const;
  int CalcXPosValue(double Value) const;
  int CalcYPosValue(double Value) const;
  double XScreenToValue(int ScreenPos) const;
  double YScreenToValue(int ScreenPos) const;
  // The point under (X, Y) in client coordinates, or -1.
  virtual int Clicked(int X, int Y) const = 0;

  void Repaint();

  TSeriesClickEvent OnClick;

protected:
  friend class TChart;
  friend class TChartAxis;
  void CheckIndex(int ValueIndex) const;
  void Changed();
  // Draws the points on the canvas with the layout of the current drawing.
  virtual void DrawValues(TCanvas* Canvas, const TChartLayout& L) = 0;
  void DrawMarks(TCanvas* Canvas, const TChartLayout& L);
  // Indices of the points whose x lies in [lo, hi], widened by one on each side.
  void VisibleRange(double lo, double hi, int& first, int& last) const;

  TChart* FChart = nullptr;
  String FTitle;
  bool FActive = true;
  TColor FColor = clRed;
  std::unique_ptr<TSeriesMarks> FMarks;
  std::vector<double> FX, FY;
  std::vector<TColor> FColors;
  bool FSortedX = true;
};

class TBarSeries : public TChartSeries {
public:
  explicit TBarSeries(TComponent* AOwner);
  ~TBarSeries() override;
  String ClassName() const override { return u"TBarSeries"; }
  // Bar width as a percentage of the distance between neighbouring points.
  int BarWidthPercent() const { return FBarWidthPercent; }
  void SetBarWidthPercent(int Value);
  // With UseYOrigin off, bars rise from the bottom of the plot; on, from YOrigin.
  bool UseYOrigin() const { return FUseYOrigin; }
  void SetUseYOrigin(bool Value);
  double YOrigin() const { return FYOrigin; }
  void SetYOrigin(double Value);
  TChartPen* BarPen() const { return FBarPen.get(); }
  int Clicked(int X, int Y) const override;

protected:
  void DrawValues(TCanvas* Canvas, const TChartLayout& L) override;

private:
  // The bar's front rectangle on the last layout (empty when it has no height).
  TRect BarRect(int ValueIndex, const TChartLayout& L) const;
  int FBarWidthPercent = 70;
  bool FUseYOrigin = true;
  double FYOrigin = 0;
  std::unique_ptr<TChartPen> FBarPen;
};

enum TSeriesPointerStyle : uint8_t { psRectangle, psCircle };

class TSeriesPointer : public TPersistent {
public:
  explicit TSeriesPointer(TChartSeries* ASeries);
  ~TSeriesPointer() override;
  String ClassName() const override { return u"TSeriesPointer"; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  TSeriesPointerStyle Style() const { return FStyle; }
  void SetStyle(TSeriesPointerStyle Value);
  // Marker size in pixels (width and height of its box, centred on the point).
  int HorizSize() const { return FHorizSize; }
  void SetHorizSize(int Value);
  int VertSize() const { return FVertSize; }
  void SetVertSize(int Value);
  TBrush* Brush() const { return FBrush.get(); }
  // Outline; hidden by default so that small markers show their fill.
  TChartPen* Pen() const { return FPen.get(); }

private:
  TChartSeries* FSeries;
  bool FVisible = true;
  TSeriesPointerStyle FStyle = psRectangle;
  int FHorizSize = 4, FVertSize = 4;
  std::unique_ptr<TBrush> FBrush;
  std::unique_ptr<TChartPen> FPen;
};

// Points joined by a line with the area below filled down to the bottom of the plot; each
// stretch between two points takes the colour of the point it ends at.
class TAreaSeries : public TChartSeries {
public:
  explicit TAreaSeries(TComponent* AOwner);
  ~TAreaSeries() override;
  String ClassName() const override { return u"TAreaSeries"; }
  TSeriesPointer* Pointer() const { return FPointer.get(); }
  // Vertical lines from each point down to the bottom of the plot.
  TChartPen* AreaLinesPen() const { return FAreaLinesPen.get(); }
  int Clicked(int X, int Y) const override;

protected:
  void DrawValues(TCanvas* Canvas, const TChartLayout& L) override;

private:
  std::unique_ptr<TSeriesPointer> FPointer;
  std::unique_ptr<TChartPen> FAreaLinesPen;
};

// What one drawing computed: the plot rectangle, the axis ranges and the 3-D depth.
struct TChartLayout {
  TRect Bounds;      // the whole chart
  TRect ChartRect;   // the plot (front plane)
  double XMin = 0, XMax = 1, YMin = 0, YMax = 1;
  int Depth = 0;     // 3-D offset in pixels (0 when flat)
  int XPos(double v) const;
  int YPos(double v) const;
  double XValue(int px) const;
  double YValue(int py) const;
};

class TChart : public TCustomControl {
public:
  explicit TChart(TComponent* AOwner);
  ~TChart() override;
  String ClassName() const override { return u"TChart"; }

  TChartTitle* Title() const { return FTitle.get(); }
  TChartAxis* LeftAxis() const { return FLeftAxis.get(); }
  TChartAxis* BottomAxis() const { return FBottomAxis.get(); }
  TChartAxis* RightAxis() const { return FRightAxis.get(); }
  TChartLegend* Legend() const { return FLegend.get(); }
  TChartGradient* Gradient() const { return FGradient.get(); }
  bool View3D() const { return FView3D; }
  void SetView3D(bool Value);
  // Depth of the 3-D look as a percentage of the plot size.
  int Chart3DPercent() const { return FChart3DPercent; }
  void SetChart3DPercent(int Value);

  int SeriesCount() const { return static_cast<int>(FSeries.size()); }
  TChartSeries* Series(int Index) const;
  void AddSeries(TChartSeries* ASeries) { ASeries->SetParentChart(this); }
  void RemoveSeries(TChartSeries* ASeries) { ASeries->SetParentChart(nullptr); }

  // The last drawing's layout (plot rectangle, 3-D depth) with the axes' current ranges.
  TChartLayout CurrentLayout() const;
  // The plot rectangle of the last drawing (or of the control's size before any).
  TRect ChartRect() const;
  // The canvas being drawn on: inside OnAfterDraw the drawing's own canvas (window, bitmap,
  // metafile or printer); otherwise the window's canvas, for drawing over the chart at once.
  // What is drawn on the window's canvas shows once the current message is handled and stays
  // until the chart next repaints.
  TCanvas* Canvas();

  // Value <-> pixel on the bottom (X) and left (Y) axes.
  int CalcXPosValue(double Value) const;
  int CalcYPosValue(double Value) const;
  double XScreenToValue(int X) const;
  double YScreenToValue(int Y) const;

  // Zooming: both axes shrink around their centre by Percent (125 zooms in, 75 out).
  void ZoomPercent(double Percent);
  // Zooms both axes to a client rectangle.
  void ZoomRect(const TRect& Rect);
  // Gives the axes back the ranges they had before the first zoom.
  void UndoZoom();
  bool Zoomed() const { return FZoomed; }
  bool AllowZoom() const { return FAllowZoom; }
  void SetAllowZoom(bool Value) { FAllowZoom = Value; }

  // Draws the whole chart onto any canvas inside Rect.
  void Draw(TCanvas* ACanvas, const TRect& Rect);

  // Pictures of the chart at the control's size.
  void SaveToBitmapFile(const String& FileName);
  void SaveToMetafile(const String& FileName);
  void SaveToMetafileEnh(const String& FileName);
  // Renders to a bitmap and encodes it (the clipboard is not touched).
  void SaveToJPEGFile(const String& FileName, int Quality = 90);
  void CopyToClipboardBitmap();
  void CopyToClipboardMetafile(bool Enhanced);
  // Prints on the current printer, scaled to fit the page with its proportions kept.
  void Print();

  // Marks the layout stale and repaints soon (the parts and series call this).
  void Changed();

  TNotifyEvent OnAfterDraw;
  TNotifyEvent OnZoom;
  TNotifyEvent OnUndoZoom;

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Resize() override;
  // The window canvas goes back before the window paints: one painter per window image.
  void WMPaint(TWMPaint& Message) override;
  void Dispatch(TMessage& Message) override;

private:
  friend class TChartSeries;
  friend class TChartAxis;
  class TWindowCanvas;
  void ComputeLayout(TCanvas* ACanvas, const TRect& Bounds, TChartLayout& L);
  void AxisSetByUser(TChartAxis* Axis);
  void ApplyZoom(double x0, double x1, double y0, double y1);
  void DrawBackground(TCanvas* C, const TChartLayout& L);
  void DrawWalls(TCanvas* C, const TChartLayout& L);
  // The distance between two labels (and grid lines) of an axis over Range.
  double LabelStep(const TChartAxis* Axis, double Range, int MaxLabels) const;
  void DrawAxis(TCanvas* C, const TChartLayout& L, const TChartAxis* Axis);
  void DrawTitle(TCanvas* C, const TChartLayout& L);
  void DrawLegend(TCanvas* C, const TChartLayout& L);
  void SaveZoomState();
  void DrawDragFrame();
  void ReleaseWindowCanvas();
  void RenderMetafile(class TMetafile& M);

  std::unique_ptr<TChartTitle> FTitle;
  std::unique_ptr<TChartAxis> FLeftAxis, FBottomAxis, FRightAxis;
  std::unique_ptr<TChartLegend> FLegend;
  std::unique_ptr<TChartGradient> FGradient;
  std::vector<TChartSeries*> FSeries;
  bool FView3D = true;
  int FChart3DPercent = 15;
  mutable TChartLayout FLayout;
  mutable bool FLayoutValid = false;
  TCanvas* FDrawCanvas = nullptr;
  std::unique_ptr<TWindowCanvas> FWindowCanvas;
  std::unique_ptr<TBitmap> FGradientStrip;
  TColor FStripStart = 0, FStripEnd = 0;
  // Zoom state.
  bool FAllowZoom = true;
  bool FZoomed = false;
  struct AxisState {
    bool Automatic;
    double Min, Max;
  };
  AxisState FSavedX{}, FSavedY{};
  bool FDragging = false;
  bool FDragShown = false;
  TPoint FDragStart, FDragEnd;
};

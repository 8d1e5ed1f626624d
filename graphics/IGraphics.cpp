// The graphics core: controls, parameter flow into the editor, surfaces and event routing.

#include "graphics/IGraphics.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "drawing/LICE_CachedFont.h"
#include "drawing/LICE_MemBitmap.h"
#include "drawing/LICE_Raster.h"
#include "drawing/LICE_SysBitmap.h"
#include "framework/IPlugBase.h"
#include "graphics/FontCache.h"
#include "graphics/IBitmapControl.h"
#include "graphics/ImageCache.h"
#include "graphics/PaintedScales.h"

namespace tavo {

IGraphics::IGraphics(IPlugBase* plug, int width, int height, int fps)
    : plug_(plug), width_(width), height_(height), fps_(fps > 0 ? fps : kDefaultFps) {}

IGraphics::~IGraphics() {
  keyCatcher_.reset();
  controls_.Clear();
  surface_.reset();
  scratch_.reset();
}

std::unique_lock<std::recursive_mutex> IGraphics::LockControlList() {
  // The audio thread moves the needle's control while it holds the processing lock, so the
  // list changes under the same lock: a block sees every control or none, never a list that is
  // half cleared or being reallocated.
  if (!plug_) return {};
  return std::unique_lock<std::recursive_mutex>(plug_->lock);
}

int IGraphics::AttachControl(std::unique_ptr<IControl> control) {
  const auto guard = LockControlList();
  return controls_.Add(std::move(control));
}

void IGraphics::SetParameterFromPlug(int paramIdx, double value, bool isNormalized) {
  if (!isNormalized) {
    const IParameter* param = plug_ ? plug_->GetParam(paramIdx) : nullptr;
    if (!param) return;
    value = param->ToNormalized(value);
  }
  for (IControl* control : controls_) {
    if (control->ParamIdx() == paramIdx) control->SetValueFromPlug(value);
    const int aux = control->AuxEntryFor(paramIdx);
    if (aux >= 0) control->SetAuxParamValueFromPlug(aux, value);
  }
}

void IGraphics::SetControlFromPlug(int controlIdx, double normalized) {
  if (IControl* control = controls_.Get(controlIdx)) control->SetValueFromPlug(normalized);
}

void IGraphics::PromptUserInput(IControl* control, const IBounds& rect) {
  if (!control || !plug_) return;
  const IParameter* param = plug_->GetParam(control->ParamIdx());
  if (!param) return;
  char current[IParameter::kTextSize];
  const bool offersMenu = param->Kind() == ParamKind::Enum ||
                          (param->Kind() == ParamKind::Bool && param->GetDisplayTextCount() > 0);
  if (offersMenu) {
    param->FormatValue(param->Value(), false, current, sizeof current, true);
    IPopupMenu menu;
    for (int i = 0; i < param->GetDisplayTextCount(); ++i) {
      const char* text = param->GetDisplayTextAt(i);
      menu.items.emplace_back(text, std::string_view(text) == current ? IPopupMenu::kChecked : 0);
    }
    const IPopupMenu* chosen = PopupMenuForControl(control, menu, rect);
    if (chosen == &menu && menu.chosenIndex >= 0 &&
        menu.chosenIndex < param->GetDisplayTextCount()) {
      control->SetValueFromUserInput(param->ToNormalized(menu.chosenIndex));
    }
    return;
  }
  param->FormatValue(param->Value(), false, current, sizeof current, false);
  TextEntryForControl(control, current, rect);
}

void IGraphics::SetFromStringAfterPrompt(IControl* control, const char* text) {
  if (!control || !text || !plug_) return;
  const IParameter* param = plug_->GetParam(control->ParamIdx());
  if (!param) {
    control->OnTextEntry(text);
    return;
  }
  double plain = 0.0;
  if (!param->PlainFromText(text, &plain)) return;
  control->SetValueFromUserInput(param->ToNormalized(plain));
}

void IGraphics::PrepareSurfaces() {
  surface_ = std::make_unique<LICE_SysBitmap>(SurfaceWidth(), SurfaceHeight());
  scratch_ = std::make_unique<LICE_MemBitmap>();
}

void IGraphics::SetScale(float scale) {
  if (!(scale == scale)) scale = 1.0f;
  scale = std::clamp(scale, kMinEditorScale, kMaxEditorScale);
  if (scale == scale_) return;
  scale_ = scale;
  if (surface_) PrepareSurfaces();
  SetAllControlsDirty();
  ScaleChanged();
}

int IGraphics::SurfaceWidth() const {
  return static_cast<int>(std::lround(width_ * scale_));
}

int IGraphics::SurfaceHeight() const {
  return static_cast<int>(std::lround(height_ * scale_));
}

IBounds IGraphics::ToSurface(const IBounds& r) const {
  if (r.Empty() || scale_ == 1.0f) return r;
  auto at = [this](int32_t v) { return static_cast<int32_t>(std::lround(v * scale_)); };
  return {at(r.L), at(r.T), at(r.R), at(r.B)};
}

int IGraphics::ToLogical(int devicePixel) const {
  if (scale_ == 1.0f) return devicePixel;
  return static_cast<int>(std::floor(devicePixel / scale_));
}

bool IGraphics::IsDirty(IBounds& r) {
  bool dirty = false;
  for (IControl* control : controls_) {
    if (control->IsDirty()) {
      r = r.Union(control->Rect());
      dirty = true;
    }
  }
  return dirty;
}

void IGraphics::SetAllControlsDirty() {
  for (IControl* control : controls_)
    control->SetDirty(false);
}

void IGraphics::SetStrictDrawing(bool strict) {
  strictDrawing_ = strict;
  SetAllControlsDirty();
}

void IGraphics::HideControlsOf(int paramIdx, bool hide) {
  for (IControl* control : controls_) {
    if (control->ParamIdx() == paramIdx) control->Hide(hide);
  }
}

void IGraphics::GrayOutControlsOf(int paramIdx, bool gray) {
  for (IControl* control : controls_) {
    if (control->ParamIdx() == paramIdx) control->GrayOut(gray);
  }
}

void IGraphics::OnIdle() {
  for (IControl* control : controls_)
    control->OnIdle();
}

int IGraphics::ControlIndexAt(int x, int y, bool forMouseOver) {
  if (captureIdx_ >= 0) return captureIdx_;
  for (int i = NControls() - 1; i >= 0; --i) {
    IControl* control = controls_.Get(i);
    if (control->IsHidden()) continue;
    if (control->IsGrayed() && !(forMouseOver && control->MouseOverWhenGrayed())) continue;
    if (control->IsHit(x, y)) return i;
  }
  return -1;
}

void IGraphics::ReleaseMouseCapture() {
  captureIdx_ = -1;
}

void IGraphics::OnMouseDown(int x, int y, const MouseMods& mods) {
  ReleaseMouseCapture();
  const int idx = ControlIndexAt(x, y);
  if (idx < 0) return;
  IControl* control = controls_.Get(idx);
  captureIdx_ = idx;
  lastX_ = x;
  lastY_ = y;
  const int paramIdx = control->ParamIdx();
  if (plug_ && plug_->ApiKind() == kApiVST3 && mods.R && paramIdx >= 0) {
    ReleaseMouseCapture();
    plug_->OnHostContextMenu(paramIdx, x, y);
    return;
  }
  control->OnMouseDown(x, y, mods);
  if (paramIdx >= 0 && plug_) plug_->BeginHostEdit(paramIdx);
}

void IGraphics::OnMouseUp(int x, int y, const MouseMods& mods) {
  const int idx = ControlIndexAt(x, y);
  ReleaseMouseCapture();
  lastX_ = lastY_ = -1;
  IControl* control = controls_.Get(idx);
  if (!control) return;
  control->OnMouseUp(x, y, mods);
  if (control->ParamIdx() >= 0 && plug_) plug_->EndHostEdit(control->ParamIdx());
}

void IGraphics::OnMouseDrag(int x, int y, const MouseMods& mods) {
  IControl* control = controls_.Get(captureIdx_);
  if (!control) return;
  if (x == lastX_ && y == lastY_) return;
  control->OnMouseDrag(x, y, x - lastX_, y - lastY_, mods);
  lastX_ = x;
  lastY_ = y;
}

bool IGraphics::OnMouseDblClick(int x, int y, const MouseMods& mods) {
  ReleaseMouseCapture();
  const int idx = ControlIndexAt(x, y);
  IControl* control = controls_.Get(idx);
  if (!control) return false;
  if (!control->DblAsSingleClick()) {
    control->OnMouseDblClick(x, y, mods);
    return false;
  }
  captureIdx_ = idx;
  lastX_ = x;
  lastY_ = y;
  control->OnMouseDown(x, y, mods);
  return true;
}

void IGraphics::OnMouseWheel(int x, int y, const MouseMods& mods, int delta) {
  if (IControl* control = controls_.Get(ControlIndexAt(x, y))) {
    control->OnMouseWheel(x, y, mods, delta);
  }
}

bool IGraphics::OnMouseOver(int x, int y, const MouseMods& mods) {
  if (!handleMouseOver_) return false;
  const int idx = ControlIndexAt(x, y, true);
  if (IControl* control = controls_.Get(idx)) {
    lastX_ = x;
    lastY_ = y;
    control->OnMouseOver(x, y, mods);
    if (mouseOverIdx_ >= 0 && mouseOverIdx_ != idx) {
      if (IControl* previous = controls_.Get(mouseOverIdx_)) previous->OnMouseOut();
    }
    mouseOverIdx_ = idx;
  }
  return handleMouseOver_;
}

void IGraphics::OnMouseOut() {
  for (IControl* control : controls_)
    control->OnMouseOut();
  mouseOverIdx_ = -1;
}

bool IGraphics::OnKeyDown(int x, int y, int key) {
  const int idx = ControlIndexAt(x, y);
  if (idx >= 1) return controls_.Get(idx)->OnKeyDown(x, y, key);
  return keyCatcher_ ? keyCatcher_->OnKeyDown(x, y, key) : false;
}

int IGraphics::NoteAutomationParamAt(int x, int y) {
  const int idx = ControlIndexAt(x, y);
  automationParam_ = idx > 0 ? controls_.Get(idx)->ParamIdx() : -1;
  return automationParam_;
}

int IGraphics::TakeAutomationParam() {
  const int param = automationParam_;
  automationParam_ = -1;
  return param;
}

} // namespace tavo

// ---- Images, drawing and redrawing ----

namespace tavo {

namespace {

int BlitModeFor(const BlendSpec* blend) {
  switch (blend ? blend->method : kBlendSourceAlpha) {
  case kBlendCopy:
    return LICE_BLIT_MODE_COPY;
  case kBlendAdd:
    return LICE_BLIT_MODE_ADD | LICE_BLIT_USE_ALPHA;
  case kBlendColorDodge:
    return LICE_BLIT_MODE_DODGE | LICE_BLIT_USE_ALPHA;
  default:
    return LICE_BLIT_MODE_COPY | LICE_BLIT_USE_ALPHA;
  }
}

float WeightOf(const BlendSpec* blend) {
  return blend ? blend->weight : 1.0f;
}

} // namespace

void IGraphics::AttachBackground(int id, const char* name) {
  const IImage image = LoadImage(id, name, 1, false);
  controls_.Insert(0, std::make_unique<IBitmapControl>(plug_, 0, 0, -1, image, kBlendCopy));
}

bool IGraphics::NameEndsInPng(const char* name) {
  if (!name) return false;
  for (const char* p = name + std::strlen(name); p > name; --p) {
    if (*p != '.') continue;
    const char* ext = p + 1;
    if (std::strlen(ext) != 3) return false;
    for (int i = 0; i < 3; ++i)
      if (std::tolower(static_cast<unsigned char>(ext[i])) != "png"[i]) return false;
    return true;
  }
  return false;
}

IImage IGraphics::LoadImage(int id, const char* name, int nFrames, bool framesAreHorizontal) {
  IImage image;
  image.bitmap = ImageCache::FindOrLoad(id, [&] { return LoadPlatformBitmap(id, name); });
  if (image.bitmap) {
    image.W = image.bitmap->Width();
    image.H = image.bitmap->Height();
  }
  image.N = std::max(nFrames, 1);
  image.framesAreHorizontal = framesAreHorizontal;
  image.resourceId = id;
  return image;
}

void IGraphics::Resize(int width, int height) {
  width_ = width;
  height_ = height;
  ReleaseMouseCapture();
  mouseOverIdx_ = -1;
  {
    const auto guard = LockControlList();
    controls_.Clear();
  }
  surface_.reset();
  scratch_.reset();
  PrepareSurfaces();
  if (plug_) plug_->ResizeEditor(width, height);
}

namespace {

// Where frame f (1-based) of a film strip starts, in editor pixels.
struct FrameOrigin {
  int x = 0, y = 0;
  FrameOrigin(const IImage& image, int frame) {
    if (image.N < 2 || frame < 2) return;
    // A frame past the end would read below the strip: the last frame stands for it.
    const int f = std::min(frame, image.N);
    const int extent = image.framesAreHorizontal ? image.W : image.H;
    const int offset = static_cast<int>(static_cast<double>(extent) * (f - 1) / image.N + 0.5);
    (image.framesAreHorizontal ? x : y) = offset;
  }
};

} // namespace

bool IGraphics::DrawBitmapFrame(const IImage& image, const IBounds& dest, int frame,
                                const BlendSpec* blend) {
  const FrameOrigin origin(image, frame);
  return DrawBitmapRegion(image, dest, origin.x, origin.y, blend);
}

IBounds IGraphics::SeeThroughPart(const IImage& image, const IBounds& dest, int frame,
                                  const BlendSpec& blend) {
  const bool copy = blend.method == kBlendCopy;
  if (blend.weight != 1.0f || !(copy || blend.method == kBlendSourceAlpha)) return dest;
  const ScaledSource source = image.bitmap ? SourceFor(image) : ScaledSource{};
  if (!source.bitmap || source.scale != scale_) return dest;
  // The device pixels the frame is drawn on and the source pixels they take, one for one.
  const IBounds target = ToSurface(dest);
  const FrameOrigin origin(image, frame);
  const int srcL = static_cast<int>(std::lround(origin.x * source.scale));
  const int srcT = static_cast<int>(std::lround(origin.y * source.scale));
  LICE_Rect translucent;
  if (!TranslucentBounds(source.bitmap, {srcL, srcT, srcL + target.W(), srcT + target.H()},
                         &translucent))
    return dest; // part of dest gets no pixel of the picture at all
  if (copy || translucent.right == 0) return {};
  // Back to editor pixels, rounded outwards so that the part still holds every device pixel.
  const auto down = [this](int device) {
    return static_cast<int32_t>(std::floor(static_cast<float>(device) / scale_));
  };
  const auto up = [this](int device) {
    return static_cast<int32_t>(std::ceil(static_cast<float>(device) / scale_));
  };
  const IBounds part{
      down(target.L + translucent.left - srcL), down(target.T + translucent.top - srcT),
      up(target.L + translucent.right - srcL), up(target.T + translucent.bottom - srcT)};
  return part.Intersection(dest);
}

IGraphics::ScaledSource IGraphics::SourceFor(const IImage& image) {
  const PaintedScale& set = PaintedScaleFor(scale_);
  if (set.idOffset == 0 || image.resourceId <= 0) return {image.bitmap, 1.0f};
  const int id = image.resourceId + set.idOffset;
  // The identifier picks the resource; the name only has to say PNG.
  LICE_IBitmap* bitmap =
      ImageCache::FindOrLoad(id, [&] { return LoadPlatformBitmap(id, "painted.png"); });
  // A module that carries only the 1× set still shows its editor, enlarged.
  if (!bitmap) return {image.bitmap, 1.0f};
  return {bitmap, set.scale};
}

void IGraphics::DrawScaledRegion(const IImage& image, const IBounds& dest, int sx, int sy,
                                 const BlendSpec* blend) {
  const IBounds target = ToSurface(dest);
  const IBounds clipped = target.Intersection(ToSurface(drawClip_));
  if (clipped.W() <= 0 || clipped.H() <= 0 || target.W() <= 0 || target.H() <= 0) return;
  const ScaledSource source = SourceFor(image);
  if (!source.bitmap) return;
  const int srcL = static_cast<int>(std::lround(sx * source.scale));
  const int srcT = static_cast<int>(std::lround(sy * source.scale));
  if (source.scale == scale_) {
    // Painted for this scale: pixel for pixel, as at 1.
    BlitBitmapRect(surface_.get(), source.bitmap, clipped.L, clipped.T, srcL + clipped.L - target.L,
                   srcT + clipped.T - target.T, clipped.W(), clipped.H(), WeightOf(blend),
                   BlitModeFor(blend));
    return;
  }
  // Between painted scales: the larger set, reduced with the filtered blit.
  const float perX = dest.W() * source.scale / target.W();
  const float perY = dest.H() * source.scale / target.H();
  BlitBitmapScaled(surface_.get(), source.bitmap, clipped.L, clipped.T, clipped.W(), clipped.H(),
                   srcL + (clipped.L - target.L) * perX, srcT + (clipped.T - target.T) * perY,
                   clipped.W() * perX, clipped.H() * perY, WeightOf(blend),
                   BlitModeFor(blend) | LICE_BLIT_FILTER_BILINEAR);
}

bool IGraphics::DrawBitmapRegion(const IImage& image, const IBounds& dest, int sx, int sy,
                                 const BlendSpec* blend) {
  if (!surface_ || !image.bitmap) return true;
  if (scale_ != 1.0f) {
    DrawScaledRegion(image, dest, sx, sy, blend);
    return true;
  }
  const IBounds clipped = dest.Intersection(drawClip_);
  if (clipped.W() <= 0 || clipped.H() <= 0) return true;
  BlitBitmapRect(surface_.get(), image.bitmap, clipped.L, clipped.T, sx + clipped.L - dest.L,
                 sy + clipped.T - dest.T, clipped.W(), clipped.H(), WeightOf(blend),
                 BlitModeFor(blend));
  return true;
}

bool IGraphics::FillRect(const IColorRGBA& colour, const IBounds& rect, const BlendSpec* blend) {
  if (!surface_) return true;
  const IBounds r = ToSurface(rect);
  FillRectangle(surface_.get(), r.L, r.T, r.W(), r.H(), colour.Packed(), WeightOf(blend),
                BlitModeFor(blend));
  return true;
}

bool IGraphics::DrawLine(const IColorRGBA& colour, float x1, float y1, float x2, float y2,
                         const BlendSpec* blend, bool antialias) {
  if (!surface_) return true;
  const float k = scale_;
  ::DrawLine(surface_.get(), static_cast<int>(x1 * k), static_cast<int>(y1 * k),
             static_cast<int>(x2 * k), static_cast<int>(y2 * k), colour.Packed(), WeightOf(blend),
             BlitModeFor(blend), antialias);
  return true;
}

bool IGraphics::DrawRadialLine(const IColorRGBA& colour, float cx, float cy, float angle,
                               float rInner, float rOuter, const BlendSpec* blend, bool antialias) {
  const float s = std::sin(angle), c = std::cos(angle);
  return DrawLine(colour, cx + s * rInner, cy - c * rInner, cx + s * rOuter, cy - c * rOuter, blend,
                  antialias);
}

bool IGraphics::DrawVerticalLine(const IColorRGBA& colour, int x, int y1, int y2) {
  if (!surface_) return true;
  const IBounds r = ToSurface({x, y1, x, y2});
  ::DrawLine(surface_.get(), r.L, r.T, r.R, r.B, colour.Packed(), 1.0f, LICE_BLIT_MODE_COPY, false);
  return true;
}

bool IGraphics::DrawHorizontalLine(const IColorRGBA& colour, int y, int x1, int x2) {
  if (!surface_) return true;
  const IBounds r = ToSurface({x1, y, x2, y});
  ::DrawLine(surface_.get(), r.L, r.T, r.R, r.B, colour.Packed(), 1.0f, LICE_BLIT_MODE_COPY, false);
  return true;
}

bool IGraphics::DrawRectOutline(const IColorRGBA& colour, const IBounds& r) {
  DrawHorizontalLine(colour, r.T, r.L, r.R);
  DrawHorizontalLine(colour, r.B, r.L, r.R);
  DrawVerticalLine(colour, r.L, r.T, r.B);
  DrawVerticalLine(colour, r.R, r.T, r.B);
  return true;
}

bool IGraphics::DrawText(const ITextStyle& style, const char* text, IBounds& rect, bool measure) {
  if (!text || !*text) return true;
  if (scale_ != 1.0f) {
    // The same text in a font scale times the size, laid out in device pixels and measured
    // back in editor pixels.
    ITextStyle scaled = style;
    scaled.size = static_cast<int32_t>(std::lround(style.size * scale_));
    scaled.font = nullptr;
    const float k = scale_;
    scale_ = 1.0f;
    IBounds device{static_cast<int32_t>(std::lround(rect.L * k)),
                   static_cast<int32_t>(std::lround(rect.T * k)),
                   static_cast<int32_t>(std::lround(rect.R * k)),
                   static_cast<int32_t>(std::lround(rect.B * k))};
    const bool ok = DrawText(scaled, text, device, measure);
    scale_ = k;
    if (ok && measure) {
      rect = {static_cast<int32_t>(std::floor(device.L / k)),
              static_cast<int32_t>(std::floor(device.T / k)),
              static_cast<int32_t>(std::ceil(device.R / k)),
              static_cast<int32_t>(std::ceil(device.B / k))};
    }
    return ok;
  }
  LICE_CachedFont* font = FontCache::FontFor(style);
  if (!font) return false;
  font->SetTextColour(style.color.Packed());
  int align = 0;
  if (style.align == ITextStyle::kCenter)
    align = LICE_DT_CENTER;
  else if (style.align == ITextStyle::kFar)
    align = LICE_DT_RIGHT;
  // Translucent text goes through the glyph cache, weighted by the colour's alpha.
  const int alphaFlag = style.color.A < 255 ? LICE_DT_USEFGALPHA : 0;

  if (measure) {
    LICE_Rect r{rect.L, rect.T, rect.R, rect.B};
    font->RenderText(nullptr, text, -1, &r, LICE_DT_CALCRECT | LICE_DT_NOCLIP | alphaFlag);
    const int w = r.right - r.left, h = r.bottom - r.top;
    rect.B = rect.T + h;
    if (style.align == ITextStyle::kNear) {
      rect.R = rect.L + w;
    } else if (style.align == ITextStyle::kFar) {
      rect.L = rect.R - w;
    } else {
      rect.L = (rect.L + rect.R) / 2 - w / 2;
      rect.R = rect.L + w;
    }
    return true;
  }
  if (!surface_) return true;
  LICE_Rect r{rect.L, rect.T, rect.R, rect.B};
  font->RenderText(surface_.get(), text, -1, &r, LICE_DT_NOCLIP | align | alphaFlag);
  return true;
}

const std::vector<IBounds>& IGraphics::UncoveredParts(const IBounds& area) {
  // From the top down: a shown control that spans what is left of the area leaves, for those
  // under it, only the part one sees through it.
  uncovered_.resize(static_cast<size_t>(NControls()));
  IBounds open = area;
  for (int i = NControls() - 1; i >= 0; --i) {
    uncovered_[static_cast<size_t>(i)] = open;
    IControl* control = controls_.Get(i);
    if (open.W() > 0 && open.H() > 0 && !control->IsHidden() && control->Rect().Contains(open))
      open = open.Intersection(control->SeeThrough(this));
  }
  return uncovered_;
}

// Every control is still asked to draw as the strategies below say, but clipped to the part of
// the area that nothing drawn after it covers: the meter face under the front panel is drawn only
// inside the panel's window, not copied across the whole surface to be painted over.
bool IGraphics::Draw(const IBounds& rect) {
  const int n = NControls();
  if (n == 0) return true;
  if (strictDrawing_) {
    // Everything that meets the update rectangle is drawn, clipped to it.
    const std::vector<IBounds>& uncovered = UncoveredParts(rect);
    for (int i = 0; i < n; ++i) {
      IControl* control = controls_.Get(i);
      drawClip_ = uncovered[static_cast<size_t>(i)];
      if (!control->IsHidden() && rect.Intersects(control->Rect())) control->Draw(this);
      control->SetClean();
    }
  } else if (IControl* background = controls_.Get(0); background->IsDirty()) {
    // A dirty background repaints the whole stack over it.
    const std::vector<IBounds>& uncovered = UncoveredParts(background->Rect());
    for (int i = 0; i < n; ++i) {
      IControl* control = controls_.Get(i);
      if (i != 0 && control->IsHidden()) continue;
      drawClip_ = uncovered[static_cast<size_t>(i)];
      control->Draw(this);
      control->SetClean();
    }
  } else {
    // Each dirty control repaints only its own rectangle, with whatever lies under and over it.
    for (int i = 1; i < n; ++i) {
      IControl* dirty = controls_.Get(i);
      if (!dirty->IsDirty()) continue;
      const IBounds area = dirty->Rect();
      const std::vector<IBounds>& uncovered = UncoveredParts(area);
      for (int j = 0; j < n; ++j) {
        IControl* control = controls_.Get(j);
        if (control->IsHidden()) continue;
        if (j == i || control->Rect().Intersects(area)) {
          drawClip_ = uncovered[static_cast<size_t>(j)];
          control->Draw(this);
        }
      }
      dirty->SetClean();
    }
  }
  return DrawScreen(rect);
}

IGraphics* GraphicsOf(const IPlugBase* plug) {
  return plug ? dynamic_cast<IGraphics*>(plug->GetGUI()) : nullptr;
}

} // namespace tavo

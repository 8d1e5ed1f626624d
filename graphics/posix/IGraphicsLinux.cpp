#include "graphics/posix/IGraphicsLinux.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "drawing/LICE_Png.h"
#include "drawing/LICE_Raster.h"
#include "drawing/LICE_SysBitmap.h"
#include "framework/IPlugBase.h"
#include "graphics/TextEntryFilter.h"

namespace tavo {

namespace {

constexpr size_t kPathSize = 4096;

// Keeps the text up to and including the last '/'; empty when there is none or nothing follows.
void SetFolderOf(const char* path, GrowableText* out) {
  const char* slash = std::strrchr(path, '/');
  if (!slash || slash[1] == '\0') {
    out->Set("");
    return;
  }
  out->Set(path, static_cast<size_t>(slash - path) + 1);
}

bool IsDirectory(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

IGraphicsLinux::IGraphicsLinux(IPlugBase* plug, int width, int height, int fps)
    : IGraphics(plug, width, height, fps) {}

IGraphicsLinux::~IGraphicsLinux() {
  CloseWindow();
}

bool IGraphicsLinux::DrawScreen(const IBounds& rect) {
  if (!window_ || !surface_) return false;
  const IBounds device = ToSurface(rect);
  const int l = std::max(device.L, 0), t = std::max(device.T, 0);
  const int r = std::min(device.R, SurfaceWidth()), b = std::min(device.B, SurfaceHeight());
  if (r <= l || b <= t) return true;
  BlitBitmapRect(&window_->frame, surface_.get(), l, t, l, t, r - l, b - t, 1.0f,
                 LICE_BLIT_MODE_COPY);
  return true;
}

void IGraphicsLinux::Resize(int width, int height) {
  if (width == width_ && height == height_) return;
  IGraphics::Resize(width, height);
  ScaleChanged();
}

void IGraphicsLinux::ScaleChanged() {
  if (!window_) return;
  window_->frame.Resize(SurfaceWidth(), SurfaceHeight());
  FillRectangle(&window_->frame, 0, 0, SurfaceWidth(), SurfaceHeight(), 0, 1.0f,
                LICE_BLIT_MODE_COPY);
}

int IGraphicsLinux::ShowMessageBox(const char* text, const char* caption, int type) {
  return responder_ ? responder_->OnMessageBox(text ? text : "", caption ? caption : "", type) : 0;
}

IPopupMenu* IGraphicsLinux::PopupMenuForControl(IControl*, IPopupMenu& menu, const IBounds& rect) {
  ReleaseMouseCapture();
  mouseOverIdx_ = -1;
  if (!responder_) return nullptr;
  return menu.Choose(responder_->OnPopupMenu(menu, rect));
}

void IGraphicsLinux::TextEntryForControl(IControl* control, const char* text, const IBounds& rect) {
  // One entry at a time; a responder that prompts again from inside its answer is refused.
  if (!control || entryOpen_ || !responder_) return;
  entryOpen_ = true;
  GrowableText typed;
  const int maxLength = std::max(control->TextEntryLength(), 0);
  const bool confirmed = responder_->OnTextEntry(text ? text : "", rect, maxLength, &typed);
  entryOpen_ = false;
  if (!confirmed) return;

  const IParameter* param = plug_ ? plug_->GetParam(control->ParamIdx()) : nullptr;
  std::string accepted;
  for (const char* c = typed.Get(); *c && static_cast<int>(accepted.size()) < maxLength; ++c) {
    if (TextEntryAccepts(param, *c)) accepted.push_back(*c);
  }
  SetFromStringAfterPrompt(control, accepted.c_str());
}

void IGraphicsLinux::HostFolder(GrowableText* out) {
  if (!out) return;
  char path[kPathSize];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) {
    out->Set("");
    return;
  }
  path[n] = '\0';
  SetFolderOf(path, out);
}

void IGraphicsLinux::ModuleFolder(GrowableText* out) {
  if (!out) return;
  char path[kPathSize];
  if (platform::ModuleFilePath(module_, path, sizeof path) == 0) {
    out->Set("");
    return;
  }
  SetFolderOf(path, out);
}

void IGraphicsLinux::DesktopFolder(GrowableText* out) {
  if (!out) return;
  const char* home = std::getenv("HOME");
  if (!home || !*home) {
    out->Set("");
    return;
  }
  const std::string desktop = std::string(home) + "/Desktop";
  out->Set(IsDirectory(desktop) ? desktop.c_str() : home);
}

bool IGraphicsLinux::PromptForFile(GrowableText* fileName, int action, GrowableText* folder,
                                   const char* extensions) {
  if (!fileName) return false;
  if (!window_) {
    fileName->Set("");
    return false;
  }
  if (!responder_) return false;
  GrowableText start;
  if (folder && folder->Length() > 0)
    start.Set(folder->Get());
  else
    DesktopFolder(&start);
  GrowableText chosen(fileName->Get());
  if (!responder_->OnPromptForFile(&chosen, action, start.Get(), extensions ? extensions : ""))
    return false;
  fileName->Set(chosen.Get());
  // A path without a folder part leaves the folder as it was.
  if (folder && std::strchr(chosen.Get(), '/')) SetFolderOf(chosen.Get(), folder);
  return true;
}

bool IGraphicsLinux::PromptForColour(IColorRGBA* colour, const char* prompt) {
  if (!colour || !window_ || !responder_) return false;
  return responder_->OnPromptForColour(colour, prompt ? prompt : "");
}

bool IGraphicsLinux::OpenURL(const char* url, const char* windowTitle, const char* confirmText,
                             const char* errorText) {
  if (confirmText && ShowMessageBox(confirmText, windowTitle, kMessageYesNo) != kAnswerYes) {
    return false;
  }
  if (url && responder_ && responder_->OnOpenURL(url, windowTitle ? windowTitle : "")) {
    return true;
  }
  if (errorText) ShowMessageBox(errorText, windowTitle, kMessageOk);
  return false;
}

void* IGraphicsLinux::OpenWindow(void* parent) {
  CloseWindow();
  window_ = std::make_unique<OffscreenWindow>();
  window_->parent = parent;
  ScaleChanged();
  SetAllControlsDirty();
  return window_.get();
}

void IGraphicsLinux::CloseWindow() {
  window_.reset();
}

LICE_IBitmap* IGraphicsLinux::LoadPlatformBitmap(int id, const char* name) {
  // The name only tells the format; the identifier picks the resource.
  if (!NameEndsInPng(name)) return nullptr;
  return LoadPngFromResource(module_, id, nullptr);
}

bool IGraphicsLinux::OnTimerTick() {
  if (!window_) return false;
  IBounds area;
  if (!IsDirty(area)) return false;
  Draw(area);
  return true;
}

bool IGraphicsLinux::SavePresentedFrame(const char* path) const {
  return window_ && path && WritePngToFile(path, window_->frame);
}

} // namespace tavo

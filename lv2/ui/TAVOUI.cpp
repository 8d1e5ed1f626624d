#include "lv2/ui/TAVOUI.h"

#include <lv2/atom/atom.h>
#include <lv2/options/options.h>

#include <cstring>
#include <memory>
#include <new>

#include "graphics/IGraphics.h"
#include "graphics/posix/X11EditorWindow.h"
#include "lv2/HostFeatures.h"
#include "lv2/PortLayout.h"
#include "lv2/TAVOLV2.h"

namespace tavo {

namespace {

const void* FindFeature(const LV2_Feature* const* features, const char* uri) {
  for (const LV2_Feature* const* f = features; f && *f; ++f) {
    if ((*f)->URI && std::strcmp((*f)->URI, uri) == 0) return (*f)->data;
  }
  return nullptr;
}

// One open editor: the parameters' instance, its editor's X window, and the host's functions.
class TAVOUI final : public IPlugLV2::HostEditSink {
public:
  TAVOUI(LV2UI_Write_Function write, LV2UI_Controller controller, const LV2UI_Touch* touch)
      : write_(write), controller_(controller), touch_(touch) {}

  // [UI thread · allocates] False when the plug-in is not ours or no X display can be opened.
  bool Open(const char* pluginURI, const LV2_Feature* const* features) {
    const int channels = std::strcmp(pluginURI, lv2::kMonoURI) == 0     ? 1
                         : std::strcmp(pluginURI, lv2::kStereoURI) == 0 ? 2
                                                                        : 0;
    if (channels == 0) return false;
    plug_ = MakeTAVO<IPlugLV2>();
    plug_->GiveBackDriftSeed(); // it never renders: the instances that do keep their seeds
    if (!plug_->Configure(channels, 44100.0, features)) return false;
    plug_->SetEnableParam(TAVOParams::kBypass);
    auto* editor = dynamic_cast<IGraphicsLinux*>(GraphicsOf(plug_.get()));
    if (!editor) return false;
    // The host's display scale: the editor draws with the artwork painted for it.
    editor->SetScale(plug_->Host().scaleFactor);
    const auto parent = reinterpret_cast<uintptr_t>(FindFeature(features, LV2_UI__parent));
    window_ = X11EditorWindow::Open(*editor, parent);
    if (!window_) return false;
    plug_->SetHostEditSink(this);
    resize_ = static_cast<const LV2UI_Resize*>(FindFeature(features, LV2_UI__resize));
    if (resize_ && !resize_->ui_resize) resize_ = nullptr;
    if (resize_)
      resize_->ui_resize(resize_->handle, editor->SurfaceWidth(), editor->SurfaceHeight());
    if (const LV2_URID_Map* map = plug_->Host().map) {
      scaleKey_ = map->map(map->handle, LV2_UI__scaleFactor);
      atomFloat_ = map->map(map->handle, LV2_ATOM__Float);
    }
    return true;
  }

  // [UI thread] Options from the host after opening: a new display scale redraws the editor at
  // it, the window takes the new size at the next idle call and the host is asked to follow.
  // Every other option is refused as unknown.
  uint32_t SetOptions(const LV2_Options_Option* options) {
    uint32_t result = LV2_OPTIONS_SUCCESS;
    for (const LV2_Options_Option* o = options; o && o->key != 0; ++o) {
      if (o->key != scaleKey_ || scaleKey_ == 0) {
        result |= LV2_OPTIONS_ERR_BAD_KEY;
        continue;
      }
      const float scale = lv2::HostFeatures::ScaleFactorOf(*o, scaleKey_, atomFloat_);
      auto* editor = dynamic_cast<IGraphicsLinux*>(GraphicsOf(plug_.get()));
      if (scale <= 0.0f || !editor) {
        result |= LV2_OPTIONS_ERR_BAD_VALUE;
        continue;
      }
      editor->SetScale(scale);
      if (resize_)
        resize_->ui_resize(resize_->handle, editor->SurfaceWidth(), editor->SurfaceHeight());
    }
    return result;
  }

  unsigned long WindowId() const { return window_->WindowId(); }

  // [UI thread] A port's value from the host: parameters and needle follow, nothing is echoed.
  void PortEvent(uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
    if (format != 0 || size != sizeof(float) || !buffer) return;
    float value = 0.0f;
    std::memcpy(&value, buffer, sizeof value);
    if (port == plug_->Layout().Level()) {
      if (IGraphics* graphics = GraphicsOf(plug_.get()))
        graphics->SetControlFromPlug(plug_->MeterControl(), value);
      return;
    }
    plug_->TakePortValue(port, value);
  }

  int Idle() { return window_->Idle() ? 0 : 1; }

  void Gesture(uint32_t port, bool begin) override {
    if (touch_ && touch_->touch) touch_->touch(touch_->handle, port, begin);
  }
  void WritePort(uint32_t port, float value) override {
    if (write_) write_(controller_, port, sizeof value, 0, &value);
  }

  ~TAVOUI() override {
    window_.reset(); // the window shows the editor the instance owns
    plug_.reset();
  }

private:
  LV2UI_Write_Function write_;
  LV2UI_Controller controller_;
  const LV2UI_Touch* touch_;
  const LV2UI_Resize* resize_ = nullptr;
  LV2_URID scaleKey_ = 0;
  LV2_URID atomFloat_ = 0;
  std::unique_ptr<TAVOLV2> plug_;
  std::unique_ptr<X11EditorWindow> window_;
};

// [UI thread · may block]
LV2UI_Handle Instantiate(const LV2UI_Descriptor*, const char* pluginURI, const char*,
                         LV2UI_Write_Function write, LV2UI_Controller controller,
                         LV2UI_Widget* widget, const LV2_Feature* const* features) {
  if (!pluginURI || !widget) return nullptr;
  try {
    auto ui = std::make_unique<TAVOUI>(
        write, controller, static_cast<const LV2UI_Touch*>(FindFeature(features, LV2_UI__touch)));
    if (!ui->Open(pluginURI, features)) return nullptr;
    *widget = reinterpret_cast<LV2UI_Widget>(static_cast<uintptr_t>(ui->WindowId()));
    return ui.release(); // the host hands it back to Cleanup
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void Cleanup(LV2UI_Handle handle) {
  delete static_cast<TAVOUI*>(handle);
}

void PortEvent(LV2UI_Handle handle, uint32_t port, uint32_t size, uint32_t format,
               const void* buffer) {
  static_cast<TAVOUI*>(handle)->PortEvent(port, size, format, buffer);
}

int Idle(LV2UI_Handle handle) {
  return static_cast<TAVOUI*>(handle)->Idle();
}

const LV2UI_Idle_Interface kIdleInterface{Idle};

// The UI reports no option: the host knows the scale it set.
uint32_t GetOptions(LV2_Handle, LV2_Options_Option*) {
  return LV2_OPTIONS_ERR_UNKNOWN;
}

uint32_t SetOptions(LV2_Handle handle, const LV2_Options_Option* options) {
  return static_cast<TAVOUI*>(handle)->SetOptions(options);
}

const LV2_Options_Interface kOptionsInterface{GetOptions, SetOptions};

const void* ExtensionData(const char* uri) {
  if (uri && std::strcmp(uri, LV2_UI__idleInterface) == 0) return &kIdleInterface;
  if (uri && std::strcmp(uri, LV2_OPTIONS__interface) == 0) return &kOptionsInterface;
  return nullptr;
}

const LV2UI_Descriptor kDescriptor{lv2::kUIURI, Instantiate, Cleanup, PortEvent, ExtensionData};

} // namespace

const LV2UI_Descriptor* TAVOLV2UIDescriptor(uint32_t index) {
  return index == 0 ? &kDescriptor : nullptr;
}

} // namespace tavo

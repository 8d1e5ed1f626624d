#include "rtas/IPlugCustomUI.h"

#include <cerrno>
#include <system_error>

#include "graphics/IGraphics.h"
#include "hostlib/CHostEngine.h"
#include "rtas/IPlugRTAS.h"
#include "rtas/ProcessInterface.h"

namespace tavo {

IPlugCustomUI::IPlugCustomUI(ProcessInterface& owner)
    : owner_(owner), moduleInstance_(owner.GetModuleInstance()), plug_(owner.GetPlug()),
      editor_(owner.GetEditor()) {
  editorhost::RegisterLocalWindowClass(moduleInstance_);
  // The editor asks the host which keys are held (its alternate modifier and the automation
  // click); the query reaches the host's extension library each time, so it never goes stale.
  if (editor_) {
    editor_->SetHostKeyMapQuery([] {
      HostKeyMap map;
      CHostEngine::Get().GetKeyMap(map.bytes.data());
      return map;
    });
  }
}

IPlugCustomUI::~IPlugCustomUI() {
  plug_ = nullptr;
  editor_ = nullptr;
  parentWindow_ = nullptr;
}

bool IPlugCustomUI::OpenEditor(void* parent, int16_t, int16_t) {
  parentWindow_ = parent;
  if (!parent) return false;

  editorhost::ClientRect client;
  if (!editorhost::ParentClientRect(parent, &client)) client = {};
  const int32_t width = editorRect_.right - editorRect_.left;
  const int32_t height = editorRect_.bottom - editorRect_.top;
  freeHeight_ = client.bottom - client.top - height;
  parentWidth_ = client.right - client.left;

  // Centred across the host's area (a parent one pixel wider still starts at the same x) and
  // resting on its bottom edge, where the host leaves room for the editor.
  const int32_t x = width == parentWidth_ ? editorRect_.left : (parentWidth_ - width) / 2;
  const int32_t y = client.bottom - height;
  if (childWindow_) CloseEditor();
  childWindow_ = editorhost::CreateChildWindow(parent, x, y, width, client.top + height);
  if (!childWindow_) {
    parentWindow_ = nullptr;
    moduleInstance_ = nullptr;
    throw std::system_error(ENOMEM, std::generic_category(), "editor child window");
  }

  const intptr_t previous = owner_.EnterResourceContext();
  if (editor_) {
    editor_->OpenWindow(childWindow_->Handle());
    editorhost::EditorWindowOpened(*childWindow_, *editor_);
    if (plug_) plug_->OnEditorOpened();
  }
  owner_.LeaveResourceContext(previous);
  return true;
}

bool IPlugCustomUI::CloseEditor() {
  if (!childWindow_) return false;
  // The host forgets the window's port before the window goes.
  editorhost::EditorWindowClosing(*childWindow_);
  if (editor_) editor_->CloseWindow();
  return editorhost::DestroyChildWindow(std::move(childWindow_));
}

void IPlugCustomUI::RedrawAll(int32_t, int32_t, int32_t, int32_t) {
  if (editor_) editor_->SetAllControlsDirty();
}

void IPlugCustomUI::GetEditorRect(int16_t* top, int16_t* left, int16_t* bottom, int16_t* right) {
  const int32_t width = editor_ ? editor_->Width() : 0;
  const int32_t height = editor_ ? editor_->Height() : 0;
  editorRect_ = {0, 0, width, height};
  if (top) *top = 0;
  if (left) *left = 0;
  if (bottom) *bottom = static_cast<int16_t>(height);
  if (right) *right = static_cast<int16_t>(width);
}

} // namespace tavo

#pragma once
// Who answers the editor's questions to the user where there is no window system: menus, text
// entry, message boxes, links, file and colour choices. Tests and the command-line host install
// one; without a responder every question is answered "cancelled".

#include "base/GrowableBuffer.h"
#include "graphics/GraphicsTypes.h"
#include "graphics/IPopupMenu.h"

namespace tavo {

class IEditorResponder {
public:
  virtual ~IEditorResponder() = default;

  // [editor thread · may block] The identifier of the item chosen in the menu tree shown over
  // rect (numbered across the tree as IPopupMenu.h says; in a flat menu, its index), or -1.
  virtual int OnPopupMenu(const IPopupMenu& /*menu*/, const IBounds& /*rect*/) { return -1; }
  // [editor thread · may block] A text entry over rect, starting from text and taking at most
  // maxLength characters. True with the confirmed text in out; false when cancelled.
  virtual bool OnTextEntry(const char* /*text*/, const IBounds& /*rect*/, int /*maxLength*/,
                           GrowableText* /*out*/) {
    return false;
  }
  // [editor thread · may block] The button pressed (the type's answer codes), 0 for none.
  virtual int OnMessageBox(const char* /*text*/, const char* /*caption*/, int /*type*/) {
    return 0;
  }
  // [editor thread · may block] True when the link was opened.
  virtual bool OnOpenURL(const char* /*url*/, const char* /*windowTitle*/) { return false; }
  // [editor thread · may block] True with the chosen full path in path; the dialog starts from
  // path and folder.
  virtual bool OnPromptForFile(GrowableText* /*path*/, int /*action*/, const char* /*folder*/,
                               const char* /*extensions*/) {
    return false;
  }
  // [editor thread · may block] True with the chosen colour written back.
  virtual bool OnPromptForColour(IColorRGBA* /*colour*/, const char* /*prompt*/) { return false; }
};

} // namespace tavo

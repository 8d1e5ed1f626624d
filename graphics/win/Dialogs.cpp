// The file and colour dialogs, owned by the editor window.

#include <windows.h>

#include <commdlg.h>

#include <cstdlib>
#include <cstring>

#include "graphics/FileDialogFilter.h"
#include "graphics/win/IGraphicsWin.h"

namespace tavo {

namespace {

constexpr size_t kDialogTextSize = 255;
constexpr size_t kFolderSize = 256;

// Copies at most kDialogTextSize characters, always terminated.
void CopyCut(char* to, const char* from) {
  const size_t n = from ? strnlen(from, kDialogTextSize) : 0;
  if (n) std::memcpy(to, from, n);
  to[n] = '\0';
}

UINT_PTR CALLBACK ColourDialogHook(HWND dialog, UINT msg, WPARAM, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    const auto* choose = reinterpret_cast<const CHOOSECOLORA*>(lParam);
    const auto* prompt = reinterpret_cast<const char*>(choose->lCustData);
    if (prompt && *prompt) SetWindowTextA(dialog, prompt);
  }
  return 0;
}

} // namespace

bool IGraphicsWin::PromptForFile(GrowableText* fileName, int action, GrowableText* folder,
                                 const char* extensions) {
  if (!fileName) return false;
  if (!window_) {
    fileName->Set("");
    return false;
  }

  char file[kDialogTextSize + 1];
  char start[kDialogTextSize + 1];
  CopyCut(file, fileName->Get());
  GrowableText desktop;
  if (!folder || folder->Length() == 0) DesktopFolder(&desktop);
  CopyCut(start, folder && folder->Length() > 0 ? folder->Get() : desktop.Get());

  const FileDialogFilter filter = BuildFileDialogFilter(extensions);
  const std::string filterList = filter.DialogFilterList();

  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = window_;
  dialog.lpstrFilter = filterList.empty() ? nullptr : filterList.c_str();
  dialog.lpstrFile = file;
  dialog.nMaxFile = static_cast<DWORD>(kDialogTextSize);
  dialog.lpstrInitialDir = start;
  dialog.lpstrDefExt = filter.defaultExtension.empty() ? nullptr : filter.defaultExtension.c_str();
  BOOL chosen = FALSE;
  if (action == kFileSave) {
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    chosen = GetSaveFileNameA(&dialog);
  } else {
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    chosen = GetOpenFileNameA(&dialog);
  }
  if (!chosen) return false;

  if (folder) {
    char drive[_MAX_DRIVE] = {}, directory[_MAX_DIR] = {};
    if (_splitpath_s(file, drive, sizeof drive, directory, sizeof directory, nullptr, 0, nullptr,
                     0) == 0) {
      char joined[kFolderSize + 1] = {};
      std::snprintf(joined, sizeof joined, "%s%s", drive, directory);
      folder->Set(joined, strnlen(joined, kFolderSize));
    }
  }
  fileName->Set(file);
  return true;
}

bool IGraphicsWin::PromptForColour(IColorRGBA* colour, const char* prompt) {
  if (!colour || !window_) return false;
  if (!customColours_) customColours_ = std::make_unique<std::array<COLORREF, 16>>();
  CHOOSECOLORA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = window_;
  dialog.rgbResult = RGB(colour->R, colour->G, colour->B);
  dialog.lpCustColors = customColours_->data();
  dialog.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ENABLEHOOK | CC_SOLIDCOLOR | CC_ANYCOLOR;
  dialog.lCustData = reinterpret_cast<LPARAM>(prompt);
  dialog.lpfnHook = &ColourDialogHook;
  if (!ChooseColorA(&dialog)) return false;
  colour->R = GetRValue(dialog.rgbResult);
  colour->G = GetGValue(dialog.rgbResult);
  colour->B = GetBValue(dialog.rgbResult);
  return true;
}

} // namespace tavo

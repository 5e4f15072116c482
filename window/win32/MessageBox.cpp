#include "window/win32/MessageBox.h"

#include "window/Design.h"
#include "window/win32/Text.h"
#include "window/win32/Win32Error.h"

namespace window::win32 {

void showMessageBox(HWND owner, const std::string& text) {
    const UINT modality = owner ? MB_APPLMODAL : MB_TASKMODAL;
    if (MessageBoxW(owner, widen(text).c_str(), widen(kApplicationTitle).c_str(),
                    MB_OK | modality | MB_SETFOREGROUND) == 0) {
        throwLastError("Cannot show the message \"" + text + "\"");
    }
}

}  // namespace window::win32

#include "shell/modMain.h"

namespace quibbix::modMain {

void DragWindow(Form& window) {
    window.ReleaseCapture();
    window.SendMessageA(WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

}  // namespace quibbix::modMain

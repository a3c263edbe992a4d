#pragma once

namespace talmiro::qt {

// Qt's own texts (the message box's OK, the input boxes' context menu) in Chinese whatever the
// system's locale. Loaded the first time one of them is about to show, not at start-up, which
// shows none of them; a call after the first does nothing.
void useChineseToolkitTexts();

}  // namespace talmiro::qt

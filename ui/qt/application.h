#pragma once

namespace talmiro::qt {

// Everything the application needs once it exists and before the window is made: its name and
// desktop entry, and the Chinese faces standing in for the Windows ones. The window sets its own
// font; the help box keeps the desktop's, as a standard message box does.
void configureApplication();

}  // namespace talmiro::qt

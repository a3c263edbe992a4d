#pragma once

namespace talmiro::qt {

// Everything the application needs once it exists and before the window is made: its name and
// desktop entry, the Chinese faces standing in for the Windows ones, and what screen readers get
// for an input box. The window sets its own font; the help box keeps the desktop's, as a
// standard message box does.
void configureApplication();

}  // namespace talmiro::qt

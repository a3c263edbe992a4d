#pragma once

class QApplication;

namespace talmiro::qt {

// Everything the application needs before the window is made: its name and desktop entry, the
// Chinese faces standing in for the Windows ones, and Qt's own Chinese texts for standard
// buttons whatever the system's locale. The window sets its own font; the help box keeps the
// desktop's, as a standard message box does.
void configureApplication(QApplication& application);

}  // namespace talmiro::qt

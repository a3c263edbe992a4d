#pragma once

class QApplication;

namespace talmiro::qt {

// Everything the application needs before the window is made: its name and version, the
// Chinese faces standing in for the Windows ones, the window font for every widget and message
// box, and Qt's own Chinese texts for standard buttons whatever the system's locale.
void configureApplication(QApplication& application);

}  // namespace talmiro::qt

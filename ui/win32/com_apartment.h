#pragma once

namespace talmiro::win32 {

// COM on the UI thread, started once, by whichever needs it first: the shell, some of whose
// handlers are COM objects, and screen readers, whose objects reach them through COM. As
// ShellExecute asks: single-threaded, without OLE1 DDE. False where it could not be started.
bool startCom();

}  // namespace talmiro::win32

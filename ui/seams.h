#pragma once

#include <cstdint>
#include <string_view>

namespace talmiro {

// Where the handlers touch the platform besides the text boxes. Each toolkit implements these;
// tests stand in for them, failures included. Any operation but announce may throw.

using NativeHandle = std::uintptr_t;

class OwnerWindow {
  public:
    virtual ~OwnerWindow() = default;
    virtual NativeHandle nativeHandle() const = 0;
};

class MessageDialog {
  public:
    virtual ~MessageDialog() = default;
    // Modal, one OK button, no icon; returns once the user has closed it.
    virtual void show(std::u16string_view title, std::u16string_view text) = 0;
};

class Shell {
  public:
    virtual ~Shell() = default;
    // Asks the desktop to open the item with its registered handler; does not wait for it.
    virtual void open(NativeHandle owner, std::string_view verb, std::string_view item) = 0;
};

class Announcer {
  public:
    virtual ~Announcer() = default;
    // Has a running screen reader speak the text without moving the focus. Best effort: a
    // reader that cannot be reached is no error, so this never throws.
    virtual void announce(std::u16string_view text) noexcept = 0;
};

}  // namespace talmiro

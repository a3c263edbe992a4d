#pragma once

#include <string_view>

#include "ui/seams.h"
#include "ui/text_field.h"

namespace talmiro {

inline constexpr std::u16string_view runtimeErrorTitle = u"Talmiro";
inline constexpr std::u16string_view runtimeErrorPrefix = u"运行时错误：";

// The window's behaviour, free of any toolkit: the four click handlers, run through dispatch()
// so that an error escaping one is reported to the user instead of ending the program.
class MainForm {
  public:
    MainForm(TextField& text1, TextField& text2, const OwnerWindow& window, MessageDialog& messages,
             Shell& shell, Announcer& announcer)
        : Text1(text1),
          Text2(text2),
          window_(window),
          messages_(messages),
          shell_(shell),
          announcer_(announcer) {}

    using Handler = void (MainForm::*)();
    void dispatch(Handler handler);

    // The click handler of the push button with this control name; nullptr for any other name.
    static Handler buttonHandler(std::string_view name);

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Text1_Click();

  private:
    void ShellOpen(std::string_view item);
    void reportRuntimeError(std::string_view description);

    TextField& Text1;
    TextField& Text2;
    const OwnerWindow& window_;
    MessageDialog& messages_;
    Shell& shell_;
    Announcer& announcer_;
};

}  // namespace talmiro

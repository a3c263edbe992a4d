#include "ui/win32/accessible_object.h"

#include <oleacc.h>
#include <servprov.h>

#include <string>

#include "ui/win32/com_apartment.h"
#include "ui/win32/first_line_paste.h"
#include "ui/win32/system_function.h"

namespace talmiro::win32 {
namespace {

// Loaded the first time anything asks a box for its accessible object (a screen reader, but also
// Magnifier, the touch keyboard or the text services), never at start-up.
struct Accessibility {
    decltype(&CreateStdAccessibleObject) createStandard =
        systemFunction<decltype(&CreateStdAccessibleObject)>(L"oleacc.dll",
                                                             "CreateStdAccessibleObject");
    decltype(&LresultFromObject) lresultFromObject =
        systemFunction<decltype(&LresultFromObject)>(L"oleacc.dll", "LresultFromObject");
    decltype(&SysAllocStringLen) allocString =
        systemFunction<decltype(&SysAllocStringLen)>(L"oleaut32.dll", "SysAllocStringLen");
    bool comStarted = startCom();

    bool available() const {
        return createStandard && lresultFromObject && allocString && comStarted;
    }
};

const Accessibility& accessibility() {
    static const Accessibility loaded;
    return loaded;
}

bool isSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// Everything from the standard object but the control's own name, description and, where one is
// given, role. Its other interfaces are answered here too, so that no path leads a screen reader
// back to the standard object and its name, and COM's identity rules hold: the same IUnknown from
// every interface.
//
// No service of the standard object is passed on. It answers IIS_IsOleaccProxy, by which UI
// Automation tells oleacc's own proxy from a program's object and, for a proxy, goes to its
// built-in edit-box provider, which names the box after the label before it.
class NamedAccessible final : public IAccessible,
                              public IOleWindow,
                              public IEnumVARIANT,
                              public IServiceProvider {
  public:
    // Takes over a reference to `standard` and to `children` (nullptr: the object has none).
    NamedAccessible(HWND control, IAccessible* standard, IEnumVARIANT* children,
                    std::u16string_view name, std::u16string_view description, LONG role)
        : control_(control),
          standard_(standard),
          children_(children),
          name_(name),
          description_(description),
          role_(role) {}
    NamedAccessible(const NamedAccessible&) = delete;
    NamedAccessible& operator=(const NamedAccessible&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
        } else if (id == __uuidof(IOleWindow)) {
            *object = static_cast<IOleWindow*>(this);
        } else if (id == __uuidof(IEnumVARIANT) && children_ != nullptr) {
            *object = static_cast<IEnumVARIANT*>(this);
        } else if (id == __uuidof(IServiceProvider)) {
            *object = static_cast<IServiceProvider*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            delete this;
        }
        return left;
    }

    // Late binding would reach the standard object's name: screen readers call the methods.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) {
            return E_INVALIDARG;
        }
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // The box's window, as WindowFromAccessibleObject asks it of the object.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        if (window == nullptr) {
            return E_INVALIDARG;
        }
        *window = control_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* children, ULONG* fetched) override {
        return children_->Next(count, children, fetched);
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override { return children_->Skip(count); }
    HRESULT STDMETHODCALLTYPE Reset() override { return children_->Reset(); }
    // The copy's children are walked on their own, but it is still this box's object.
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override {
        if (copy == nullptr) {
            return E_POINTER;
        }
        *copy = nullptr;
        IEnumVARIANT* children = nullptr;
        if (const HRESULT cloned = children_->Clone(&children); FAILED(cloned)) {
            return cloned;
        }
        standard_->AddRef();
        *copy = make(control_, standard_, children, name_, description_, role_);
        return *copy == nullptr ? E_OUTOFMEMORY : S_OK;
    }

    // This object, asked for as a service; any other service is refused.
    HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID id, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (service == __uuidof(IAccessible)) {
            return QueryInterface(id, object);
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }

    // Takes over the references as the constructor does, and gives them back if it fails.
    static NamedAccessible* make(HWND control, IAccessible* standard, IEnumVARIANT* children,
                                 std::u16string_view name, std::u16string_view description,
                                 LONG role) noexcept {
        try {
            return new NamedAccessible(control, standard, children, name, description, role);
        } catch (...) {
            if (children != nullptr) {
                children->Release();
            }
            standard->Release();
            return nullptr;
        }
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return isSelf(child) ? copy(name_, name) : standard_->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        return isSelf(child) && !description_.empty()
                   ? copy(description_, description)
                   : standard_->get_accDescription(child, description);
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return standard_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        return standard_->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return standard_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!isSelf(child) || role_ == 0) {
            return standard_->get_accRole(child, role);
        }
        if (role == nullptr) {
            return E_POINTER;
        }
        role->vt = VT_I4;
        role->lVal = role_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return standard_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focused) override {
        return standard_->get_accFocus(focused);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selected) override {
        return standard_->get_accSelection(selected);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return standard_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG how, VARIANT child) override {
        return standard_->accSelect(how, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT* hit) override {
        return standard_->accHitTest(left, top, hit);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return standard_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return standard_->put_accName(child, name);
    }
    // A box's new value, from dictation or a braille keyboard, keeps to the paste rule and one
    // undo takes it back.
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        wchar_t kind[8] = {};
        GetClassNameW(control_, kind, 8);
        if (!isSelf(child) || lstrcmpiW(kind, L"Edit") != 0) {
            return standard_->put_accValue(child, value);
        }
        SendMessageW(control_, EM_SETSEL, 0, -1);
        replaceSelectionWithFirstLine(control_, value == nullptr
                                                    ? std::u16string_view()
                                                    : reinterpret_cast<const char16_t*>(value));
        return S_OK;
    }

  private:
    ~NamedAccessible() {
        if (children_ != nullptr) {
            children_->Release();
        }
        standard_->Release();
    }

    static HRESULT copy(std::u16string_view text, BSTR* out) {
        if (out == nullptr) {
            return E_POINTER;
        }
        *out = accessibility().allocString(reinterpret_cast<const OLECHAR*>(text.data()),
                                           static_cast<UINT>(text.size()));
        return *out == nullptr ? E_OUTOFMEMORY : S_OK;
    }

    HWND control_;
    IAccessible* standard_;
    IEnumVARIANT* children_;
    std::u16string name_;
    std::u16string description_;
    LONG role_;
    LONG references_ = 1;
};

}  // namespace

LRESULT namedAccessibleObject(HWND control, LONG object, WPARAM flags, std::u16string_view name,
                              std::u16string_view description, LONG role) {
    const Accessibility& loaded = accessibility();
    IAccessible* standard = nullptr;
    if (!loaded.available() || FAILED(loaded.createStandard(control, object, __uuidof(IAccessible),
                                                            reinterpret_cast<void**>(&standard)))) {
        return 0;
    }
    IEnumVARIANT* children = nullptr;
    standard->QueryInterface(__uuidof(IEnumVARIANT), reinterpret_cast<void**>(&children));
    NamedAccessible* named =
        NamedAccessible::make(control, standard, children, name, description, role);
    if (named == nullptr) {
        return 0;
    }
    const LRESULT result =
        loaded.lresultFromObject(__uuidof(IAccessible), flags, static_cast<IAccessible*>(named));
    named->Release();
    return result < 0 ? 0 : result;
}

}  // namespace talmiro::win32

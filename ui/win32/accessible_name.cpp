#include "ui/win32/accessible_name.h"

#include <oleacc.h>
#include <servprov.h>

#include <string>

#include "ui/win32/com_apartment.h"
#include "ui/win32/system_function.h"

namespace talmiro::win32 {
namespace {

// Loaded when a screen reader first asks, so that start-up pays nothing for accessibility.
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
// given, role. Its other
// interfaces are answered here too, so that no path leads a screen reader back to the standard
// object and its name, and COM's identity rules hold: the same IUnknown from every interface.
class NamedAccessible final : public IAccessible,
                              public IOleWindow,
                              public IEnumVARIANT,
                              public IServiceProvider {
  public:
    NamedAccessible(HWND control, IAccessible* standard, std::u16string_view name,
                    std::u16string_view description, LONG role)
        : control_(control),
          standard_(standard),
          name_(name),
          description_(description),
          role_(role) {
        standard_->QueryInterface(__uuidof(IEnumVARIANT), reinterpret_cast<void**>(&children_));
        standard_->QueryInterface(__uuidof(IServiceProvider), reinterpret_cast<void**>(&services_));
    }
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
        } else if (id == __uuidof(IServiceProvider) && services_ != nullptr) {
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
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override { return children_->Clone(copy); }

    // A service that is this object itself is answered by this object, never the standard one.
    HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID id, void** object) override {
        if (service == __uuidof(IAccessible) || id == __uuidof(IAccessible) ||
            id == __uuidof(IUnknown) || id == __uuidof(IDispatch)) {
            return QueryInterface(id, object);
        }
        return services_->QueryService(service, id, object);
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
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return standard_->put_accValue(child, value);
    }

  private:
    ~NamedAccessible() {
        if (services_ != nullptr) {
            services_->Release();
        }
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
    IEnumVARIANT* children_ = nullptr;
    IServiceProvider* services_ = nullptr;
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
    NamedAccessible* named = nullptr;
    try {
        named = new NamedAccessible(control, standard, name, description, role);
    } catch (...) {
        standard->Release();
        return 0;
    }
    const LRESULT result =
        loaded.lresultFromObject(__uuidof(IAccessible), flags, static_cast<IAccessible*>(named));
    named->Release();
    return result < 0 ? 0 : result;
}

}  // namespace talmiro::win32

#include "platform/Accessibility.h"

#include <initguid.h>  // the interface ids below, defined here
#include <oleacc.h>

#include <new>

#include "platform/WinSystem.h"

namespace platform {
namespace {

// What the program uses of oleacc, oleaut32 and ole32, looked up once, each from the system
// folder (oleacc is no known system library).
struct AccessibilityLibraries {
  HRESULT(WINAPI* createStdAccessibleObject)(HWND, LONG, REFIID, void**) = nullptr;
  LRESULT(WINAPI* lresultFromObject)(REFIID, WPARAM, LPUNKNOWN) = nullptr;
  BSTR(WINAPI* sysAllocString)(const OLECHAR*) = nullptr;

  static const AccessibilityLibraries& Get() {
    static const AccessibilityLibraries loaded = Load();
    return loaded;
  }

 private:
  static AccessibilityLibraries Load() {
    AccessibilityLibraries found;
    HMODULE oleacc = LoadSystemLibrary(L"oleacc.dll");
    HMODULE oleaut = LoadSystemLibrary(L"oleaut32.dll");
    HMODULE ole = LoadSystemLibrary(L"ole32.dll");
    if (!oleacc || !oleaut || !ole) return found;
    // The object goes to the screen reader through COM: the thread joins COM's single-threaded
    // apartment, as a window's thread does. Never left again: the program ends with it.
    using CoInitializeExFn = HRESULT(WINAPI*)(void*, DWORD);
    if (auto init = reinterpret_cast<CoInitializeExFn>(
            reinterpret_cast<void*>(::GetProcAddress(ole, "CoInitializeEx"))))
      init(nullptr, COINIT_APARTMENTTHREADED);
    auto get = [](HMODULE module, const char* name) {
      return reinterpret_cast<void*>(::GetProcAddress(module, name));
    };
    found.createStdAccessibleObject = reinterpret_cast<decltype(createStdAccessibleObject)>(
        get(oleacc, "CreateStdAccessibleObject"));
    found.lresultFromObject =
        reinterpret_cast<decltype(lresultFromObject)>(get(oleacc, "LresultFromObject"));
    found.sysAllocString =
        reinterpret_cast<decltype(sysAllocString)>(get(oleaut, "SysAllocString"));
    return found;
  }
};

// Windows' own object for a control, with another name; every other question goes to it.
class NamedAccessible final : public IAccessible {
 public:
  NamedAccessible(IAccessible* standard, std::wstring name)
      : standard_(standard), name_(std::move(name)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (!object) return E_POINTER;
    if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDispatch) ||
        IsEqualIID(id, IID_IAccessible)) {
      *object = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    return standard_->QueryInterface(id, object);  // its list of children, its window
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (child.vt != VT_I4 || child.lVal != CHILDID_SELF) return standard_->get_accName(child, name);
    if (!name) return E_POINTER;
    *name = AccessibilityLibraries::Get().sysAllocString(name_.c_str());
    return *name ? S_OK : E_OUTOFMEMORY;
  }

  // Everything else is Windows' answer.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    return standard_->GetTypeInfoCount(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return standard_->GetTypeInfo(index, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    return standard_->GetIDsOfNames(id, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argument) override {
    return standard_->Invoke(member, id, locale, flags, params, result, exception, argument);
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return standard_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    return standard_->get_accChildCount(count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    return standard_->get_accChild(child, object);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return standard_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return standard_->get_accDescription(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    return standard_->get_accRole(child, role);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return standard_->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return standard_->get_accHelp(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
    return standard_->get_accKeyboardShortcut(child, keys);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
    return standard_->get_accFocus(child);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return standard_->get_accSelection(children);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return standard_->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    return standard_->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) override {
    return standard_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override {
    return standard_->accHitTest(left, top, child);
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
  ~NamedAccessible() { standard_->Release(); }

  IAccessible* standard_;
  std::wstring name_;
  ULONG references_ = 1;
};

}  // namespace

LRESULT AnswerGetObject(HWND control, WPARAM wParam, LPARAM lParam, const std::wstring& name,
                        LRESULT(WINAPI* pass)(HWND, UINT, WPARAM, LPARAM)) {
  if (static_cast<LONG>(lParam) != OBJID_CLIENT || name.empty())
    return pass(control, WM_GETOBJECT, wParam, lParam);
  const AccessibilityLibraries& libraries = AccessibilityLibraries::Get();
  if (!libraries.createStdAccessibleObject || !libraries.lresultFromObject ||
      !libraries.sysAllocString)
    return pass(control, WM_GETOBJECT, wParam, lParam);
  IAccessible* standard = nullptr;
  if (FAILED(libraries.createStdAccessibleObject(control, OBJID_CLIENT, IID_IAccessible,
                                                 reinterpret_cast<void**>(&standard))) ||
      !standard)
    return pass(control, WM_GETOBJECT, wParam, lParam);
  auto* named = new (std::nothrow) NamedAccessible(standard, name);
  if (!named) {
    standard->Release();
    return pass(control, WM_GETOBJECT, wParam, lParam);
  }
  // LresultFromObject holds its own reference until the screen reader takes the object.
  const LRESULT result = libraries.lresultFromObject(IID_IAccessible, wParam, named);
  named->Release();
  return result;
}

}  // namespace platform

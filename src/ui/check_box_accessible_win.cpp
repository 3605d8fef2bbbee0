#include "ui/check_box_accessible_win.h"

#include <ole2.h>
#include <oleacc.h>

namespace {
// Spelt out: the program links no library of interface identifiers.
const IID kAccessibleId = {0x618736e0, 0x3c3d, 0x11cf,
                           {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// The system's description of the button, passed through but for the role
// and the state of the button itself. It asks the window for the checked
// state each time, so a window gone meanwhile reads as unchecked.
class CheckBoxAccessible final : public IAccessible {
public:
    CheckBoxAccessible(IAccessible* standard, HWND window) : standard_(standard), window_(window) {}

    // What the system's description answers as itself, this answers as
    // itself too; its other interfaces are the system's.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        HRESULT result = standard_->QueryInterface(id, object);
        if (SUCCEEDED(result) && *object == standard_) {
            standard_->Release();
            *object = this;
            AddRef();
        }
        return result;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            standard_->Release();
            delete this;
        }
        return left;
    }

    // Readers call the methods directly, as the system's own description
    // answers too.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // A button has no children.
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!IsSelf(child)) return E_INVALIDARG;
        role->vt = VT_I4;
        role->lVal = ROLE_SYSTEM_CHECKBUTTON;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        HRESULT result = standard_->get_accState(child, state);
        if (SUCCEEDED(result) && IsSelf(child) && state->vt == VT_I4 &&
            SendMessageA(window_, BM_GETCHECK, 0, 0) == BST_CHECKED) {
            state->lVal |= STATE_SYSTEM_CHECKED;
        }
        return result;
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
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return standard_->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return standard_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return standard_->get_accHelp(child, help);
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
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
        return standard_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return standard_->accDoDefaultAction(child);
    }
    // Nor does the system's description: help files, or names and values
    // set from outside.
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR*, VARIANT, LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    IAccessible* standard_;
    HWND window_;
    LONG references_ = 1;
};

using CreateStandardObject = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
using ResultFromObject = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using StartCom = HRESULT(WINAPI*)(LPVOID);

template <class Function>
Function Export(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Loaded once; Windows 95 counts a module's users in 16 bits.
HMODULE Library(const char* name) {
    HMODULE module = GetModuleHandleA(name);
    return module ? module : LoadLibraryA(name);
}
}  // namespace

// The library is looked for only when a reader asks. The description
// crosses to the reader's process through COM, which this thread then
// needs.
LRESULT DescribeCheckBox(HWND window, WPARAM wParam, LONG objectId) {
    if (objectId != OBJID_CLIENT) return 0;
    HMODULE library = Library("OLEACC.DLL");
    if (!library) return 0;
    auto createStandard = Export<CreateStandardObject>(library, "CreateStdAccessibleObject");
    auto resultFromObject = Export<ResultFromObject>(library, "LresultFromObject");
    HMODULE com = Library("OLE32.DLL");
    auto startCom = com ? Export<StartCom>(com, "CoInitialize") : nullptr;
    if (!createStandard || !resultFromObject || !startCom) return 0;
    startCom(nullptr);  // counted: a second call changes nothing
    IAccessible* standard = nullptr;
    if (FAILED(createStandard(window, OBJID_CLIENT, kAccessibleId,
                              reinterpret_cast<void**>(&standard)))) {
        return 0;
    }
    auto* described = new CheckBoxAccessible(standard, window);
    LRESULT result = resultFromObject(kAccessibleId, wParam, described);
    described->Release();
    return result;
}

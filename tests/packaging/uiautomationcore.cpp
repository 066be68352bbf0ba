// A stand-in for Windows' UIAutomationCore.dll, for the smoke run under Wine, whose own has no
// UI Automation client: it exports the six functions that Qt's Windows platform plugin looks
// up, says that a client is listening, and writes one line for each call that hands it an
// element, as a screen reader would get it:
//   <function> TAB <event or property id, the notification's text, or the lParam asked with>
//   TAB <the element's Name> TAB <its ControlType id>
// into the file that the environment variable KALVET_UIA_LOG names (a Windows path, UTF-8).
// Qt loads it only from the system folder, so a test puts it into a prefix's system32 (64-bit)
// or syswow64 (32-bit) and sets the DLL override uiautomationcore=n.

#include <windows.h>

#include <oleauto.h>
#include <uiautomationcore.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

// UI Automation's ids for the two properties read here.
constexpr PROPERTYID kControlTypeProperty = 30003;
constexpr PROPERTYID kNameProperty = 30005;

std::string utf8(const wchar_t* text, int length) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    // One record a line, its fields apart.
    for (char& c : out) {
        if (c == '\t' || c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return out;
}

std::string utf8(BSTR text) {
    return text ? utf8(text, static_cast<int>(SysStringLen(text))) : std::string();
}

// The element's Name and ControlType, read through the interface a screen reader reads.
std::string describe(IRawElementProviderSimple* element) {
    if (!element) {
        return "(none)\t(none)";
    }
    VARIANT name;
    VariantInit(&name);
    VARIANT type;
    VariantInit(&type);
    element->GetPropertyValue(kNameProperty, &name);
    element->GetPropertyValue(kControlTypeProperty, &type);
    std::string out = (name.vt == VT_BSTR ? utf8(name.bstrVal) : std::string()) + '\t' +
                      (type.vt == VT_I4 ? std::to_string(type.lVal) : std::string("?"));
    VariantClear(&name);
    VariantClear(&type);
    return out;
}

void record(const char* function, const std::string& detail, IRawElementProviderSimple* element) {
    const wchar_t* path = _wgetenv(L"KALVET_UIA_LOG");
    if (!path || !*path) {
        return;
    }
    const std::string line = std::string(function) + '\t' + detail + '\t' + describe(element);
    // Opened for each line, so that the file is whole however the program ends.
    if (FILE* log = _wfopen(path, L"ab")) {
        std::fprintf(log, "%s\n", line.c_str());
        std::fclose(log);
    }
}

}  // namespace

// The exports, by their undecorated names: the 32-bit build maps them onto the stdcall
// symbols in uiautomationcore.def, whose byte counts check these signatures.
extern "C" {

BOOL WINAPI UiaClientsAreListening() {
    return TRUE;
}

LRESULT WINAPI UiaReturnRawElementProvider(HWND, WPARAM, LPARAM lParam,
                                           IRawElementProviderSimple* element) {
    record("UiaReturnRawElementProvider", std::to_string(static_cast<long long>(lParam)), element);
    return 0;
}

HRESULT WINAPI UiaHostProviderFromHwnd(HWND, IRawElementProviderSimple** provider) {
    if (provider) {
        *provider = nullptr;
    }
    return S_OK;
}

HRESULT WINAPI UiaRaiseAutomationEvent(IRawElementProviderSimple* element, EVENTID id) {
    record("UiaRaiseAutomationEvent", std::to_string(id), element);
    return S_OK;
}

HRESULT WINAPI UiaRaiseAutomationPropertyChangedEvent(IRawElementProviderSimple* element,
                                                      PROPERTYID id, VARIANT, VARIANT) {
    record("UiaRaiseAutomationPropertyChangedEvent", std::to_string(id), element);
    return S_OK;
}

// The kind and processing are enums of four bytes.
HRESULT WINAPI UiaRaiseNotificationEvent(IRawElementProviderSimple* element, int, int,
                                         BSTR displayString, BSTR) {
    record("UiaRaiseNotificationEvent", utf8(displayString), element);
    return S_OK;
}

}  // extern "C"

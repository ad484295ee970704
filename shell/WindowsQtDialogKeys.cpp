#include "shell/WindowsQtDialogKeys.h"

#include <algorithm>

#include <windows.h>

namespace {

const wchar_t Project[] = L"Software\\QtProject";
const wchar_t Defaults[] = L"Software\\QtProject\\OrganizationDefaults";
const wchar_t Dialog[] = L"Software\\QtProject\\OrganizationDefaults\\FileDialog";

bool Exists(const wchar_t* key)
{
    HKEY handle = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(handle);
    return true;
}

}  // namespace

WindowsQtDialogKeys::WindowsQtDialogKeys()
    : hadProject_(Exists(Project)), hadDefaults_(Exists(Defaults)), hadDialog_(Exists(Dialog)), values_(DialogValues())
{
}

WindowsQtDialogKeys::~WindowsQtDialogKeys()
{
    if (!hadProject_ || !hadDefaults_ || !hadDialog_) {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, !hadProject_ ? Project : !hadDefaults_ ? Defaults : Dialog);
        return;
    }
    const std::vector<Value> now = DialogValues();
    if (now == values_)
        return;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, Dialog, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    for (const Value& value : now)
        if (std::none_of(values_.begin(), values_.end(), [&](const Value& old) { return old.name == value.name; }))
            ::RegDeleteValueW(key, value.name.c_str());
    for (const Value& value : values_)
        if (std::find(now.begin(), now.end(), value) == now.end())
            ::RegSetValueExW(key, value.name.c_str(), 0, value.type, value.data.data(),
                             static_cast<DWORD>(value.data.size()));
    ::RegCloseKey(key);
}

std::vector<WindowsQtDialogKeys::Value> WindowsQtDialogKeys::DialogValues()
{
    std::vector<Value> values;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, Dialog, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return values;
    DWORD count = 0, longestName = 0, longestData = 0;
    if (::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName,
                           &longestData, nullptr, nullptr) == ERROR_SUCCESS) {
        for (DWORD index = 0; index < count; ++index) {
            std::wstring name(longestName + 1, L'\0');
            std::vector<unsigned char> data(longestData);
            DWORD nameLength = longestName + 1, dataSize = longestData, type = 0;
            if (::RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &dataSize) !=
                ERROR_SUCCESS)
                continue;
            name.resize(nameLength);
            data.resize(dataSize);
            values.push_back({name, type, data});
        }
    }
    ::RegCloseKey(key);
    return values;
}

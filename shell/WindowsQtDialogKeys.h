#pragma once

#include <string>
#include <vector>

// Qt's file dialog on Windows reads and writes its history, last folder and
// view in the registry, in HKEY_CURRENT_USER under
// Software\QtProject\OrganizationDefaults\FileDialog, when it is made and
// destroyed, and Qt's registry settings make every key they open. Made before
// such a dialog and destroyed after it, this puts the values of FileDialog
// back as they were and removes the keys that were not there, so that the
// program leaves the registry as it found it.
class WindowsQtDialogKeys {
public:
    WindowsQtDialogKeys();
    ~WindowsQtDialogKeys();
    WindowsQtDialogKeys(const WindowsQtDialogKeys&) = delete;
    WindowsQtDialogKeys& operator=(const WindowsQtDialogKeys&) = delete;

private:
    struct Value {
        std::wstring name;
        unsigned long type;
        std::vector<unsigned char> data;
        bool operator==(const Value&) const = default;
    };
    static std::vector<Value> DialogValues();

    bool hadProject_;
    bool hadDefaults_;
    bool hadDialog_;
    std::vector<Value> values_;
};

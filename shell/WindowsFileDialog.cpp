#include "shell/WindowsFileDialog.h"

#include "shell/FileDialogFilter.h"
#include "shell/FileDialogFolder.h"

#include <QDir>
#include <QString>
#include <QWidget>

#include <objbase.h>
#include <shobjidl.h>
#include <windows.h>

namespace {

// A COM interface pointer, released when it goes.
template <class Interface>
class ComPointer {
public:
    ComPointer() = default;
    ~ComPointer()
    {
        if (pointer_)
            pointer_->Release();
    }
    ComPointer(const ComPointer&) = delete;
    ComPointer& operator=(const ComPointer&) = delete;
    Interface* operator->() const { return pointer_; }
    Interface* Get() const { return pointer_; }
    Interface** Out() { return &pointer_; }
    void** OutVoid() { return reinterpret_cast<void**>(&pointer_); }

private:
    Interface* pointer_ = nullptr;
};

// COM for this thread while a dialog is up (Qt has usually set it up already;
// then this only counts up and down).
class ComApartment {
public:
    ComApartment() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComApartment()
    {
        if (SUCCEEDED(result_))
            ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT result_;
};

std::wstring Wide(const QString& text) { return text.toStdWString(); }

void StartIn(IFileDialog& dialog, const QString& folder)
{
    ComPointer<IShellItem> item;
    const std::wstring name = Wide(QDir::toNativeSeparators(folder));
    if (SUCCEEDED(::SHCreateItemFromParsingName(name.c_str(), nullptr, IID_IShellItem, item.OutVoid())))
        dialog.SetFolder(item.Get());
}

}  // namespace

SystemFileDialog::Result WindowsFileDialog::Choose(bool save)
{
    const ComApartment apartment;
    ComPointer<IFileDialog> dialog;
    const HRESULT created = ::CoCreateInstance(save ? CLSID_FileSaveDialog : CLSID_FileOpenDialog, nullptr,
                                               CLSCTX_INPROC_SERVER, IID_IFileDialog, dialog.OutVoid());
    if (FAILED(created))
        return {std::nullopt, created};

    FILEOPENDIALOGOPTIONS options = 0;
    dialog->GetOptions(&options);
    // Files only, in folders that exist; the process's current folder stays.
    options |= FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST | FOS_NOCHANGEDIR;
    options |= save ? FOS_OVERWRITEPROMPT | FOS_NOREADONLYRETURN : FOS_FILEMUSTEXIST;
    dialog->SetOptions(options);
    const std::wstring filterName = Wide(QString::fromLatin1(FileDialogFilter::Name));
    const std::wstring filterPattern = Wide(QString::fromLatin1(FileDialogFilter::Pattern));
    const COMDLG_FILTERSPEC filter[] = {{filterName.c_str(), filterPattern.c_str()}};
    dialog->SetFileTypes(1, filter);
    dialog->SetFileTypeIndex(1);
    const std::wstring extension = Wide(QString::fromLatin1(FileDialogFilter::Extension));
    dialog->SetDefaultExtension(extension.c_str());
    StartIn(*dialog.Get(), FileDialogFolder());

    // Modal to the frame, as every dialog of the program.
    const HWND owner = parent_ ? reinterpret_cast<HWND>(parent_->window()->winId()) : nullptr;
    const HRESULT shown = dialog->Show(owner);
    if (shown == HRESULT_FROM_WIN32(ERROR_CANCELLED))
        return {};
    if (shown != S_OK)
        return {std::nullopt, shown != S_FALSE ? shown : E_FAIL};
    ComPointer<IShellItem> chosen;
    if (const HRESULT got = dialog->GetResult(chosen.Out()); FAILED(got))
        return {std::nullopt, got};
    PWSTR path = nullptr;
    if (const HRESULT named = chosen->GetDisplayName(SIGDN_FILESYSPATH, &path); FAILED(named) || path == nullptr)
        return {std::nullopt, FAILED(named) ? named : E_FAIL};
    const QString result = QString::fromWCharArray(path);
    ::CoTaskMemFree(path);
    return {result.toStdString(), 0};
}

// Prints the window class and the title of each visible top-level window on
// the desktop, one "class<TAB>title" line each in UTF-8, so that a script
// driving the program under wine can tell the system's own dialogs (class
// "#32770") from Qt's windows (scripts/windows/wine_window.py).
#include <windows.h>

#include <string>

namespace {

std::string Utf8(const wchar_t* text)
{
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(size > 0 ? static_cast<std::size_t>(size) : 1u, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), size, nullptr, nullptr);
    bytes.pop_back();
    return bytes;
}

BOOL CALLBACK PrintWindow(HWND window, LPARAM)
{
    if (!::IsWindowVisible(window))
        return TRUE;
    wchar_t className[256] = {};
    wchar_t title[512] = {};
    ::GetClassNameW(window, className, 256);
    ::GetWindowTextW(window, title, 512);
    const std::string line = Utf8(className) + "\t" + Utf8(title) + "\n";
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    return TRUE;
}

}  // namespace

int main()
{
    return ::EnumWindows(PrintWindow, 0) ? 0 : 1;
}

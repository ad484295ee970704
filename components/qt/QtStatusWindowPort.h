#pragma once

#include "components/StatusWindowPort.h"

class QWidget;
class QtStatusWindow;

// The status window port over Qt widgets. A handle is the address of a
// widget; handles that name no live widget are refused.
class QtStatusWindowPort : public StatusWindowPort {
public:
    static WindowHandle HandleOf(QWidget* widget);
    static QWidget* WidgetOf(WindowHandle handle);
    static QtStatusWindow* StatusWindowOf(WindowHandle handle);

    WindowHandle CreateStatusWindow(std::uint32_t style, WindowHandle parent) override;
    void SetParent(WindowHandle status, WindowHandle parent) override;
    int SetMinHeight(WindowHandle status, int height) override;
    void SetBackColor(WindowHandle status, ColorWord rgb) override;
    bool SetParts(WindowHandle status, const std::vector<int>& rightEdges) override;
    bool SetText(WindowHandle status, std::uint32_t partAndFlags, const std::string& text) override;
    std::uint32_t GetTextLength(WindowHandle status, int part) override;
    std::string GetText(WindowHandle status, int part, std::size_t bufferSize) override;
    bool GetWindowRect(WindowHandle window, ScreenRect& rect) override;
    bool MoveWindow(WindowHandle status, int x, int y, int width, int height, bool repaint) override;
    void DestroyWindow(WindowHandle status) override;
};

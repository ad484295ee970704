#include "components/qt/QtStatusWindowPort.h"

#include "base/Cp932.h"
#include "base/qt/QtColors.h"
#include "components/StatusBarStyles.h"
#include "components/qt/QtStatusWindow.h"

#include <QApplication>
#include <QWidget>

WindowHandle QtStatusWindowPort::HandleOf(QWidget* widget)
{
    return reinterpret_cast<WindowHandle>(widget);
}

QWidget* QtStatusWindowPort::WidgetOf(WindowHandle handle)
{
    if (handle == 0)
        return nullptr;
    for (QWidget* widget : QApplication::allWidgets())
        if (HandleOf(widget) == handle)
            return widget;
    return nullptr;
}

QtStatusWindow* QtStatusWindowPort::StatusWindowOf(WindowHandle handle)
{
    return qobject_cast<QtStatusWindow*>(WidgetOf(handle));
}

WindowHandle QtStatusWindowPort::CreateStatusWindow(std::uint32_t style, WindowHandle parent)
{
    QWidget* parentWidget = WidgetOf(parent);
    if (parentWidget == nullptr)
        return 0;
    auto* window = new QtStatusWindow(parentWidget, style);
    window->setVisible(true);
    return HandleOf(window);
}

void QtStatusWindowPort::SetParent(WindowHandle status, WindowHandle parent)
{
    QtStatusWindow* window = StatusWindowOf(status);
    QWidget* parentWidget = WidgetOf(parent);
    if (window == nullptr || parentWidget == nullptr || window->parentWidget() == parentWidget)
        return;
    window->setParent(parentWidget);
    window->Refit();
    window->setVisible(true);
}

int QtStatusWindowPort::SetMinHeight(WindowHandle status, int height)
{
    QtStatusWindow* window = StatusWindowOf(status);
    return window != nullptr && window->SetMinHeight(height) ? 0 : 1;
}

void QtStatusWindowPort::SetBackColor(WindowHandle status, ColorWord rgb)
{
    if (QtStatusWindow* window = StatusWindowOf(status))
        window->SetBackColor(ToQColor(rgb));
}

bool QtStatusWindowPort::SetParts(WindowHandle status, const std::vector<int>& rightEdges)
{
    QtStatusWindow* window = StatusWindowOf(status);
    return window != nullptr && window->SetParts(rightEdges);
}

bool QtStatusWindowPort::SetText(WindowHandle status, std::uint32_t partAndFlags, const std::string& text)
{
    QtStatusWindow* window = StatusWindowOf(status);
    const int part = static_cast<int>(partAndFlags & 0xFFu);
    return window != nullptr && window->SetText(part, partAndFlags & StatusBarStyles::DrawFlagsMask, text);
}

std::uint32_t QtStatusWindowPort::GetTextLength(WindowHandle status, int part)
{
    QtStatusWindow* window = StatusWindowOf(status);
    return window != nullptr ? window->TextLength(part) : 0u;
}

std::string QtStatusWindowPort::GetText(WindowHandle status, int part, std::size_t bufferSize)
{
    QtStatusWindow* window = StatusWindowOf(status);
    if (window == nullptr || bufferSize == 0)
        return std::string();
    return Cp932::Prefix(window->Text(part), bufferSize - 1);
}

bool QtStatusWindowPort::GetWindowRect(WindowHandle handle, ScreenRect& rect)
{
    QWidget* widget = WidgetOf(handle);
    if (widget == nullptr)
        return false;
    const QRect area = widget->isWindow() ? widget->frameGeometry()
                                          : QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
    rect = {area.left(), area.top(), area.left() + area.width(), area.top() + area.height()};
    return true;
}

bool QtStatusWindowPort::MoveWindow(WindowHandle status, int, int, int, int, bool)
{
    QtStatusWindow* window = StatusWindowOf(status);
    if (window == nullptr)
        return false;
    window->Refit();
    return true;
}

void QtStatusWindowPort::DestroyWindow(WindowHandle status)
{
    delete StatusWindowOf(status);
}

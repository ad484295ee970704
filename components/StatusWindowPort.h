#pragma once

#include "base/ColorWord.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// An opaque window handle; 0 names no window.
using WindowHandle = std::uintptr_t;

// A window rectangle in screen pixels.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The status window the status bar component drives. Texts cross this port
// as UTF-8 holding only what the ANSI code page CP932 holds; lengths and
// buffer sizes count that code page's bytes.
class StatusWindowPort {
public:
    virtual ~StatusWindowPort() = default;

    // Makes a status window on the parent with the given style bits; 0 on failure.
    virtual WindowHandle CreateStatusWindow(std::uint32_t style, WindowHandle parent) = 0;
    virtual void SetParent(WindowHandle status, WindowHandle parent) = 0;
    // Non-zero when the window refuses the minimum height.
    virtual int SetMinHeight(WindowHandle status, int height) = 0;
    virtual void SetBackColor(WindowHandle status, ColorWord rgb) = 0;
    // The parts' right edges in pixels, left to right; false when refused.
    virtual bool SetParts(WindowHandle status, const std::vector<int>& rightEdges) = 0;
    // wParam-style argument: part index OR drawing flags; false when refused.
    virtual bool SetText(WindowHandle status, std::uint32_t partAndFlags, const std::string& text) = 0;
    // Low 16 bits: the text's length in bytes; high 16 bits: the part's drawing type.
    virtual std::uint32_t GetTextLength(WindowHandle status, int part) = 0;
    // The part's text, cut to whole characters of at most bufferSize - 1 bytes.
    virtual std::string GetText(WindowHandle status, int part, std::size_t bufferSize) = 0;
    // Any window's rectangle (the parent's included); false when there is none.
    virtual bool GetWindowRect(WindowHandle window, ScreenRect& rect) = 0;
    // Moves the status window, which then re-fits itself along its parent's edge.
    virtual bool MoveWindow(WindowHandle status, int x, int y, int width, int height, bool repaint) = 0;
    virtual void DestroyWindow(WindowHandle status) = 0;
};

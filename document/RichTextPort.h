#pragma once

#include "document/ColorWord.h"

#include <string>

// What the owner-map colouring needs of a rich text box and its progress bar.
// Positions and lengths count UTF-16 characters from 0.
class RichTextPort {
public:
    virtual ~RichTextPort() = default;

    virtual std::u16string Text() const = 0;
    virtual int Length() const = 0;
    // The first occurrence of token starting at or after start, or -1.
    virtual int Find(const std::u16string& token, int start) = 0;
    virtual void Select(int start, int length) = 0;
    virtual void SetSelectionColor(ColorWord color) = 0;

    virtual void SetProgressMaximum(int maximum) = 0;
    virtual void AddProgress(int amount) = 0;
    virtual void ShowProgress() = 0;
    virtual void HideProgress() = 0;
};

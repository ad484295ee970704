#pragma once

#include "base/ColorWord.h"

#include <string>
#include <vector>

// What the owner-map colouring needs of a rich text box and its progress bar.
// Positions and lengths count UTF-16 characters from 0.
class RichTextPort {
public:
    struct ColorRun {
        int start = 0;
        int length = 0;
        ColorWord color;
    };

    virtual ~RichTextPort() = default;

    virtual std::u16string Text() const = 0;
    virtual int Length() const = 0;
    // The first occurrence of token starting at or after start, or -1.
    virtual int Find(const std::u16string& token, int start) = 0;
    virtual void Select(int start, int length) = 0;
    virtual void SetSelectionColor(ColorWord color) = 0;
    // Colours the runs in their order, a later run over an earlier one; a box
    // that can lay its text out once for all of them does so. The spaces
    // after a run show no colour, so a box may give them the run's.
    virtual void SetRunColors(const std::vector<ColorRun>& runs)
    {
        for (const ColorRun& run : runs) {
            Select(run.start, run.length);
            SetSelectionColor(run.color);
        }
    }

    virtual void SetProgressMaximum(int maximum) = 0;
    virtual void AddProgress(int amount) = 0;
    virtual void ShowProgress() = 0;
    virtual void HideProgress() = 0;
};

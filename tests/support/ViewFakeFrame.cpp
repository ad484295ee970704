#include "ViewFakeFrame.h"

void ViewFakeFrame::SetMapSizeLabels(int width, int height)
{
    label1 = "X:" + std::to_string(width);
    label2 = "Y:" + std::to_string(height);
}

#include "shell/LockCheckBox.h"

LockCheckBox::LockCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent)
{
    connect(this, &QCheckBox::stateChanged, this, [this] { emit LockBoxChanged(); });
}

int LockCheckBox::Value() const
{
    switch (checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}

void LockCheckBox::SetValue(int value)
{
    switch (value) {
    case 0:
        setCheckState(Qt::Unchecked);
        break;
    case 1:
        setCheckState(Qt::Checked);
        break;
    case 2:
        setCheckState(Qt::PartiallyChecked);
        break;
    default:
        break;  // the box keeps its state
    }
}

void LockCheckBox::nextCheckState()
{
    setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

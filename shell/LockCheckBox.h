#pragma once

#include "document/LockBoxPort.h"

#include <QCheckBox>

// Check1, the lock of the invisible sectors. Its value is the document's lock
// switch: 0 off, 1 on, 2 undetermined (only a file can set that). A click
// turns it on or off; every change of state runs the lock.
class LockCheckBox : public QCheckBox, public LockBoxPort {
    Q_OBJECT
public:
    explicit LockCheckBox(const QString& text, QWidget* parent = nullptr);

    int Value() const override;
    void SetValue(int value) override;

signals:
    void LockBoxChanged();

protected:
    void nextCheckState() override;
};

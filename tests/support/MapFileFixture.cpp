#include "support/MapFileFixture.h"

#include "document/MapModule.h"

#include <QtTest>

bool MapFileFixture::Start()
{
    Install();
    dir = std::make_unique<QTemporaryDir>();
    return dir->isValid();
}

void MapFileFixture::StartMap(int width, int height)
{
    ShowMap(width, height, [](int s) { return (s * 5 + 3) % 7; });
}

QList<int> MapFileFixture::Grid()
{
    QList<int> grid;
    for (int s = 0; s < OwnerGridArray::Capacity; ++s)
        grid << MapModule::OwnerGrid.At(s);
    return grid;
}

void MapFileFixture::VerifyMessage(const std::string& text) const
{
    QCOMPARE(messages->Count(), 1);
    const FakeMessageBox::Call& call = messages->Calls()[0];
    QCOMPARE(call.text, text);
    QCOMPARE(call.title, std::string("中止"));
    QCOMPARE(call.buttons, MessageButtons::Ok);
    QCOMPARE(call.icon, MessageIcon::Error);
    QCOMPARE(call.defaultButton, MessageAnswer::Ok);
}

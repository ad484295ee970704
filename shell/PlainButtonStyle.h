#pragma once

#include <QProxyStyle>

// The application's style with plain text buttons: the standard buttons of
// message boxes and dialogs carry no icons.
class PlainButtonStyle : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};

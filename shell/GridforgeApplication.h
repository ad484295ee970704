#pragma once

#include <QApplication>

// The application object: its title, Qt's own texts in Japanese, plain text
// buttons, no settings of Qt's own, and the window fonts mapped to an
// installed Japanese gothic.
class GridforgeApplication : public QApplication {
    Q_OBJECT
public:
    GridforgeApplication(int& argc, char** argv);
};

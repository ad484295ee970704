#pragma once

#include <QApplication>

// The application object: its title, Qt's own texts in Japanese, and the
// window fonts mapped to an installed Japanese gothic.
class GridforgeApplication : public QApplication {
    Q_OBJECT
public:
    GridforgeApplication(int& argc, char** argv);
};

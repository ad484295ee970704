#include "shell/GridforgeApplication.h"
#include "shell/frmMDI.h"

int main(int argc, char* argv[])
{
    GridforgeApplication app(argc, argv);
    frmMDI frame;
    frame.Load();
    frame.show();
    return app.exec();
}

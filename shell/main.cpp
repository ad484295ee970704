#include "components/MemoryReuse.h"
#include "shell/GridforgeApplication.h"
#include "shell/frmMDI.h"

int main(int argc, char* argv[])
{
    KeepLargeBlocksForReuse();
    GridforgeApplication app(argc, argv);
    frmMDI frame;
    frame.Load();
    frame.show();
    return app.exec();
}

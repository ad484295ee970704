// The program's pictures are compiled into this library (see CMakeLists.txt).
namespace Gridforge {
int ResourceAnchor() { return 0; }
}

#!/usr/bin/env bash
# Prints the folder of a complete Qt for Windows: $GRIDFORGE_QT_WINDOWS,
# ../shared/qt-windows beside the repository, or the cache folder that
# scripts/windows/build-qt.sh fills. Exits 1 when there is none.
root=$(cd "$(dirname "$0")/../.." && pwd)
for dir in "${GRIDFORGE_QT_WINDOWS:-}" "$root/../shared/qt-windows" "$HOME/.cache/gridforge/qt-windows"; do
  if [ -n "$dir" ] && [ -f "$dir/bin/Qt6Core.dll" ] && [ -f "$dir/lib/cmake/Qt6/Qt6Config.cmake" ]; then
    (cd "$dir" && pwd)
    exit 0
  fi
done
exit 1

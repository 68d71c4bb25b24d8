#!/usr/bin/env bash
# Cross-builds Varnix for 64-bit Windows with Debian's MinGW-w64 against the Qt for MinGW kept in
# the shared folder beside the repository (VARNIX_WINDOWS_QT_ARCHIVE names another archive):
# Varnix.exe, every test executable and the tools the tests use, warnings as errors.
# The Qt archive is unpacked into the build folder, never into the source tree.
# VARNIX_WINDOWS_TESTS=OFF builds only the program and its tools (for the portable zip).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
dir=${VARNIX_WINDOWS_BUILD_DIR:-build-windows}
shared=$(cd "$root/.." && pwd)/shared/windows
archive=${VARNIX_WINDOWS_QT_ARCHIVE:-$shared/qt6-mingw-x86_64.tar.xz}
toolchain=${VARNIX_WINDOWS_TOOLCHAIN:-$shared/mingw-w64-x86_64.cmake}
for f in "$archive" "$toolchain"; do
    if [ ! -f "$f" ]; then
        echo "build-windows: $f is missing (the shared Windows Qt and its toolchain file)" >&2
        exit 1
    fi
done
if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
    echo "build-windows: the MinGW-w64 compiler is missing; run scripts/install-deps.sh --windows" >&2
    exit 1
fi

mkdir -p "$dir"
qt=$root/$dir/qt6-mingw-x86_64
stamp=$root/$dir/qt6-mingw-x86_64.unpacked
# Unpack once per archive; a changed archive is unpacked again.
if [ ! -f "$stamp" ] || [ "$archive" -nt "$stamp" ] || [ "$(cat "$stamp")" != "$archive" ]; then
    rm -rf "$qt"
    tar -C "$dir" -xJf "$archive"
    echo "$archive" >"$stamp"
fi

# The toolkit's own translations (its dialogs' buttons) are data, the same on every platform:
# Debian's, of the same Qt version.
if [ ! -d "$qt/translations" ]; then
    mkdir -p "$qt/translations"
    cp /usr/share/qt6/translations/qtbase_*.qm "$qt/translations/"
fi

tests=${VARNIX_WINDOWS_TESTS:-ON}
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$toolchain" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$root/scripts/wine-run.sh;$root/$dir" \
    -DVARNIX_TESTS="$tests" >/dev/null
cmake --build "$dir" -j"$(nproc)"

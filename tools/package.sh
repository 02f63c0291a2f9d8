#!/usr/bin/env bash
# Builds the Debian package of the program and the libraries in build/package with CPack, as a
# distribution builds it: installed under /usr, without an RPATH, stripped. Then checks the
# desktop entry, the AppStream metadata and the package itself, failing on any error.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
qrt_install_deps dpkg-dev desktop-file-utils appstream lintian
echo "==> Building the package tree (Release, /usr, no RPATH) in build/package"
cmake -S . -B build/package -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
      -DCMAKE_SKIP_INSTALL_RPATH=ON -DBUILD_TESTING=OFF -DQRT_BUILD_EXAMPLES=OFF \
      -DQRT_DESIGNER_PLUGIN=OFF > /dev/null
cmake --build build/package -j"$(nproc)" --target qrt-datamanager qrt_packaging_docs
echo "==> Making the package with CPack"
rm -f build/package/*.deb
(cd build/package && cpack -G DEB > /dev/null)
deb=$(ls build/package/qrt-datamanager_*.deb)
echo "==> Checking the desktop entry, the AppStream metadata and $deb"
desktop-file-validate packaging/org.qrt.DataManager.desktop
appstreamcli validate --no-net packaging/org.qrt.DataManager.metainfo.xml
# Errors fail the run; warnings are shown.
lintian --fail-on error "$deb"
echo "==> $deb"

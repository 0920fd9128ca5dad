#!/usr/bin/env bash
# Builds the Debian package dist/ddstarn-usb_<version>_<arch>.deb from the main build tree and
# checks it with lintian, desktop-file-validate and appstreamcli.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
# The package installs below /usr; the multiarch library folder follows from that prefix.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build build -j "$(nproc)"
rm -rf dist
cpack --config build/CPackConfig.cmake -B dist >/dev/null
rm -rf dist/_CPack_Packages
deb=$(ls dist/*.deb)
echo "== $deb"
dpkg-deb --field "$deb"
echo "== lintian"
lintian --info "$deb" || true
echo "== desktop-file-validate"
desktop-file-validate package/org.example.DDSTarnUSB.desktop && echo "no complaints"
echo "== appstreamcli validate --no-net"
appstreamcli validate --no-net package/org.example.DDSTarnUSB.metainfo.xml

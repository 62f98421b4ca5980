#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need.
# Only packages that are missing are installed, so a second run is quick.
set -euo pipefail
PKGS=(
  build-essential cmake pkg-config git
  qtbase5-dev qttools5-dev qttools5-dev-tools qtmultimedia5-dev libqt5multimedia5-plugins
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  libqcustomplot-dev
  libopencv-core-dev libopencv-imgproc-dev libopencv-imgcodecs-dev libopencv-videoio-dev
  libtesseract-dev tesseract-ocr-eng
  libfftw3-dev
  libquazip1-qt5-dev zlib1g-dev libpugixml-dev
  libbenchmark-dev
  fonts-noto-cjk qttranslations5-l10n
  ffmpeg
  python3-openpyxl python3-pil
  libreoffice-calc-nogui poppler-utils
  xvfb xauth imagemagick x11-utils
)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
